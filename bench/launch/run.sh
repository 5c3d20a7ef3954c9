#!/usr/bin/env bash
# Launcher benchmarks under Wine, each printed as a Markdown table of medians over the runs:
# 1. overhead: lodestay.exe -e over 10 test-application entries with position and size,
#    against the same 10 programs started one after the other and waited for (their own time
#    to become ready), and against "cmd /c start";
# 2. creation to placed: each program launched through the engine with a position and size,
#    from process creation until its window is placed, split with the program's own stamps.
# Usage: bench/launch/run.sh [runs] [entries]   (uses build/win64, or LODESTAY_WIN_BUILD)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
entries=${2:-10}
win_build=${LODESTAY_WIN_BUILD:-$root/build/win64}
if [ ! -f "$win_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$win_build" -j2 --target lodestay_launch_bench lodestay_placement_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_launch_bench.exe" "$entries" "$runs" \
    "Z:${work//\//\\}" | tr -d '\r' >"$work/times.tsv"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
lodestay=$(cut -f2 "$work/times.tsv" | median)
direct=$(cut -f3 "$work/times.tsv" | median)
start=$(cut -f4 "$work/times.tsv" | median)
echo "Medians of $runs runs, $entries programs each (ms):"
echo
echo "| way | all $entries ready | per program | beyond the programs' own start, per program |"
echo "|---|---:|---:|---:|"
awk -v n="$entries" -v l="$lodestay" -v d="$direct" -v s="$start" 'BEGIN {
    printf "| lodestay.exe -e, placed | %.0f | %.0f | %+.0f |\n", l, l / n, (l - d) / n
    printf "| one after the other, waited for (baseline) | %.0f | %.0f | 0 |\n", d, d / n
    printf "| cmd /c start | %.0f | %.0f | %+.0f |\n", s, s / n, (s - d) / n
}'

"$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_placement_bench.exe" "$entries" "$runs" \
    "Z:${work//\//\\}" | tr -d '\r' >"$work/placed.tsv"
echo
echo "From process creation to the window placed, medians of $runs runs x $entries programs (ms):"
echo
echo "| program | creation to placed | creation to its main | main to ready | ready to placed | placed |"
echo "|---|---:|---:|---:|---:|---:|"
for name in $(cut -f1 "$work/placed.tsv" | awk '!seen[$0]++'); do
    awk -F'\t' -v n="$name" '$1 == n' "$work/placed.tsv" >"$work/case.tsv"
    total=$(cut -f2 "$work/case.tsv" | median)
    to_main=$(cut -f3 "$work/case.tsv" | median)
    to_ready=$(cut -f4 "$work/case.tsv" | median)
    to_placed=$(cut -f5 "$work/case.tsv" | median)
    placed=$(awk -F'\t' '{ok += $6} END {printf "%d/%d", ok, NR}' "$work/case.tsv")
    printf '| %s | %.0f | %.0f | %.0f | %.0f | %s |\n' "$name" "$total" "$to_main" "$to_ready" "$to_placed" "$placed"
done
