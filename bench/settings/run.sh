#!/usr/bin/env bash
# Settings-file load/save benchmark, native and under Wine: prints a Markdown table.
# Usage: bench/settings/run.sh [runs]   (expects the host and win64 builds of tools/run-tests.sh
# or builds them itself in build/bench-host and build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
host_build=$root/build/bench-host
cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release -DLODESTAY_SANITIZE=OFF >/dev/null
cmake --build "$host_build" -j2 --target lodestay_settings_bench >/dev/null
win_build=${LODESTAY_WIN_BUILD:-$root/build/win64}
if [ ! -f "$win_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$win_build" -j2 --target lodestay_settings_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "| where | executants | load ms | save ms | raw read ms | load / raw | peak memory KiB |"
echo "|---|---:|---:|---:|---:|---:|---:|"
for n in 1000 10000 100000; do
    "$host_build/bench/settings/lodestay_settings_bench" "$n" "$runs" "$work" |
        awk -F'\t' '{printf "| native | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6}'
done
for n in 1000 10000 100000; do
    "$root/tools/wine-run.sh" --no-desktop "$win_build/bench/settings/lodestay_settings_bench.exe" "$n" "$runs" \
        "Z:${work//\//\\}" | tr -d '\r' |
        awk -F'\t' '{printf "| Wine | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6}'
done
