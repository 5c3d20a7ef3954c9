#!/usr/bin/env bash
# Main-window benchmark under Wine, printed as a Markdown table of medians over the runs.
# Usage: bench/ui/run.sh [runs] [rows]   (uses build/win64, or LODESTAY_WIN_BUILD)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
rows=${2:-1000}
win_build=${LODESTAY_WIN_BUILD:-$root/build/win64}
if [ ! -f "$win_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$win_build" -j2 --target lodestay_window_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
example="Z:${root//\//\\}\\examples\\Example.ini"
"$root/tools/wine-run.sh" "$win_build/bench/ui/lodestay_window_bench.exe" "$rows" "$runs" "$example" |
    tr -d '\r' >"$work/times.tsv"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "Medians of $runs runs (ms):"
echo
echo "| What | ms |"
echo "|---|---|"
echo "| RefillList, $rows rows with icons | $(cut -f2 "$work/times.tsv" | median) |"
echo "| lodestay.exe -p Example.ini, start to main window shown | $(cut -f3 "$work/times.tsv" | median) |"
echo "| notepad.exe, start to window shown | $(cut -f4 "$work/times.tsv" | median) |"
