#!/usr/bin/env bash
# Launcher benchmarks under Wine, each printed as a Markdown table of medians over the runs:
# 1. overhead: lodestay.exe -e over 10 test-application entries with position and size,
#    against the same 10 programs started one after the other and waited for (their own time
#    to become ready), and against "cmd /c start";
# 2. creation to placed: each program launched through the engine with a position and size,
#    from process creation until its window is placed, split with the program's own stamps.
# With LODESTAY_BENCH_BEFORE set to a folder holding an earlier build's lodestay.exe and
# lodestay_placement_bench.exe, that build is measured in the same runs, beside this one.
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
winpath() { echo "Z:${1//\//\\}"; }
# LODESTAY_BENCH_BEFORE: a folder with the lodestay.exe and lodestay_placement_bench.exe of an
# earlier build, measured in the same runs for a before/after comparison.
before=${LODESTAY_BENCH_BEFORE:-}
"$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_launch_bench.exe" "$entries" "$runs" \
    "$(winpath "$work")" ${before:+"$(winpath "$before")\\lodestay.exe"} | tr -d '\r' >"$work/times.tsv"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
column() { cut -f"$1" "$work/times.tsv" | median; }
# Median over the runs of a per-run expression of the columns ($2 lodestay, $3 baseline, ...).
per_run() { awk -F'\t' "{print $1}" "$work/times.tsv" | median; }
lodestay=$(column 2)
direct=$(column 3)
start=$(column 4)
echo "Medians of $runs runs, $entries programs each (ms); the ratio is the median of each run's own ratio:"
echo
echo "| way | all $entries ready | per program | beyond the programs' own start, per program | over the baseline |"
echo "|---|---:|---:|---:|---:|"
awk -v n="$entries" -v l="$lodestay" -v d="$direct" -v r="$(per_run '100 * ($2 / $3 - 1)')" 'BEGIN {
    printf "| lodestay.exe -e, placed | %.0f | %.0f | %+.0f | %+.1f %% |\n", l, l / n, (l - d) / n, r
}'
if [ -n "$before" ]; then
    awk -v n="$entries" -v l="$(column 5)" -v d="$direct" -v r="$(per_run '100 * ($5 / $3 - 1)')" 'BEGIN {
        printf "| lodestay.exe -e, placed (earlier build) | %.0f | %.0f | %+.0f | %+.1f %% |\n", l, l / n, (l - d) / n, r
    }'
fi
awk -v n="$entries" -v d="$direct" -v s="$start" -v r="$(per_run '100 * ($4 / $3 - 1)')" 'BEGIN {
    printf "| one after the other, waited for (baseline) | %.0f | %.0f | 0 | 0 |\n", d, d / n
    printf "| cmd /c start | %.0f | %.0f | %+.0f | %+.1f %% |\n", s, s / n, (s - d) / n, r
}'
echo
echo "Where lodestay.exe's share goes, by the programs' own stamps (medians of each run's figures, ms):"
echo
echo "| stretch | lodestay.exe -e | baseline | launcher's share |"
echo "|---|---:|---:|---:|"
awk -v n="$entries" -v a="$(column 6)" -v b="$(column 7)" -v s="$(per_run '$6 - $7')" 'BEGIN {
    printf "| start to the first program'"'"'s main | %.0f | %.0f | %+.0f |\n", a, b, s }'
awk -v n="$entries" -v a="$(column 8)" -v b="$(column 9)" -v s="$(per_run '$8 - $9')" 'BEGIN {
    printf "| first main to the last ready (%d programs) | %.0f | %.0f | %+.0f (%+.1f per program) |\n", n, a, b, s, s / (n - 1) }'
awk -v a="$(column 10)" -v b="$(column 11)" -v s="$(per_run '$10 - $11')" 'BEGIN {
    printf "| last ready to the end | %.0f | %.0f | %+.0f |\n", a, b, s }'

"$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_placement_bench.exe" "$entries" "$runs" \
    "$(winpath "$work")" | tr -d '\r' >"$work/placed.tsv"
if [ -n "$before" ]; then
    "$root/tools/wine-run.sh" "$before/lodestay_placement_bench.exe" "$entries" "$runs" "$(winpath "$work")" |
        tr -d '\r' >"$work/placed-before.tsv"
fi
echo
echo "From process creation to the window placed, medians of $runs runs x $entries programs (ms):"
echo
header="| program | creation to placed | creation to its main | main to ready | ready to placed | shown to placed | placed |"
rule="|---|---:|---:|---:|---:|---:|---:|"
if [ -n "$before" ]; then
    header="$header creation to placed, earlier build | shown to placed, earlier build |"
    rule="$rule---:|---:|"
fi
echo "$header"
echo "$rule"
case_median() { awk -F'\t' -v n="$1" '$1 == n' "$2" | cut -f"$3" | median; }
for name in $(cut -f1 "$work/placed.tsv" | awk '!seen[$0]++'); do
    row=$(printf '| %s | %.0f | %.0f | %.0f | %.0f | %.0f | %s |' "$name" \
        "$(case_median "$name" "$work/placed.tsv" 2)" "$(case_median "$name" "$work/placed.tsv" 3)" \
        "$(case_median "$name" "$work/placed.tsv" 4)" "$(case_median "$name" "$work/placed.tsv" 5)" \
        "$(case_median "$name" "$work/placed.tsv" 7)" \
        "$(awk -F'\t' -v n="$name" '$1 == n {ok += $6; all++} END {printf "%d/%d", ok, all}' "$work/placed.tsv")")
    if [ -n "$before" ]; then
        row="$row$(printf ' %.0f | %.0f |' "$(case_median "$name" "$work/placed-before.tsv" 2)" \
            "$(case_median "$name" "$work/placed-before.tsv" 7)")"
    fi
    echo "$row"
done
