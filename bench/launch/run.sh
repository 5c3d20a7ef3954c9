#!/usr/bin/env bash
# Launcher benchmarks under Wine, each printed as a Markdown table of medians over the runs:
# 1. overhead: lodestay.exe -e over 10 test-application entries with position and size,
#    against the same 10 programs started one after the other and waited for (their own time
#    to become ready), and against "cmd /c start", each until every program was ready and
#    placed by the programs' own stamps; lodestay.exe's end comes later, after its watch;
# 2. one launch step by step: the same list through the engine in this benchmark's process, each
#    step stamped on the programs' clock, and what one look of the window search and one
#    duplicate check cost with 10, 30 and 100 windows on the desktop;
# 3. creation to placed: each program launched through the engine with a position and size,
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
cmake --build "$win_build" -j2 --target lodestay_launch_bench lodestay_step_bench lodestay_placement_bench >/dev/null

echo "Load at the start: $(uptime)"
echo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
# LODESTAY_BENCH_BEFORE: a folder with the lodestay.exe and lodestay_placement_bench.exe (and,
# if it has one, lodestay_step_bench.exe) of an earlier build, measured in the same runs for a
# before/after comparison.
before=${LODESTAY_BENCH_BEFORE:-}
if [ -n "$before" ]; then
    # Beside this build's test application, which both builds' benchmarks start.
    mkdir "$work/before"
    cp "$before/lodestay.exe" "$before/lodestay_placement_bench.exe" "$win_build/bench/launch/lodestay-testapp.exe" \
        "$work/before/"
    [ -f "$before/lodestay_step_bench.exe" ] && cp "$before/lodestay_step_bench.exe" "$work/before/"
    before=$work/before
fi
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
echo "| way | all $entries ready and placed | per program | beyond the programs' own start, per program | over the baseline |"
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
# One row: label, lodestay's and the baseline's columns, the earlier build's column; per program
# when the stretch spans the gaps between programs.
stretch_row() {
    local row
    row=$(awk -v n="$entries" -v l="$1" -v a="$(column "$2")" -v b="$(column "$3")" -v s="$(per_run "\$$2 - \$$3")" \
        -v gaps="$5" 'BEGIN {
        printf "| %s | %.0f | %.0f | %+.0f", l, a, b, s
        if (gaps) printf " (%+.1f per program)", s / (n - 1)
        printf " |" }')
    if [ -n "$before" ]; then
        row="$row$(awk -v n="$entries" -v s="$(per_run "\$$4 - \$$3")" -v gaps="$5" 'BEGIN {
            printf " %+.0f", s
            if (gaps) printf " (%+.1f per program)", s / (n - 1)
            printf " |" }')"
    fi
    echo "$row"
}
if [ -n "$before" ]; then
    echo "| stretch | lodestay.exe -e | baseline | launcher's share | launcher's share, earlier build |"
    echo "|---|---:|---:|---:|---:|"
else
    echo "| stretch | lodestay.exe -e | baseline | launcher's share |"
    echo "|---|---:|---:|---:|"
fi
stretch_row "start to the first program's main" 6 7 12 ""
stretch_row "first main to the last one ready and placed ($entries programs)" 8 9 13 1
stretch_row "from there to the end (lodestay.exe: until it ended)" 10 11 14 ""
stretch_row "one program's main to the next one's (median of the $((entries - 1)))" 15 16 17 ""
echo
echo "Runs in which lodestay.exe -e was done before cmd /c start: $(awk -F'\t' '$2 < $4 {k++} END {print k + 0}' \
    "$work/times.tsv") of $runs."

# One run at a time, this build's and the earlier build's (its ways named "old-...") in turn,
# so that both see the same moments of a shared machine.
old_steps=
[ -n "$before" ] && [ -f "$before/lodestay_step_bench.exe" ] && old_steps=1
: >"$work/steps.tsv"
for ((run = 0; run < runs; run++)); do
    "$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_step_bench.exe" "$entries" 1 "$(winpath "$work")" |
        tr -d '\r' >>"$work/steps.tsv"
    if [ -n "$old_steps" ]; then
        "$root/tools/wine-run.sh" "$before/lodestay_step_bench.exe" "$entries" 1 "$(winpath "$work")" |
            tr -d '\r' | awk -F'\t' -v OFS='\t' '{ if ($1 == "step") $2 = "old-" $2; else $1 = "old-" $1; print }' \
            >>"$work/steps.tsv"
    fi
done
# Median of column $2 of the step lines of way $1, over every program but the first (whose
# launch also carries the engine's first use) or, for what comes after a program until the
# next one, the last (after which the engine watches the placed windows, and ends).
step_median() {
    awk -F'\t' -v w="$1" -v c="$2" -v n="$entries" '$1 == "step" && $2 == w && (c >= 16 ? $3 < n - 1 : $3 > 0) {
        print $c }' "$work/steps.tsv" | median
}
step_row() {
    local label=$1 column=$2
    shift 2
    local row="| $label"
    for way in "$@"; do
        if [ "$way" = - ]; then row="$row | –"; else row="$row | $(printf '%.2f' "$(step_median "$way" "$column")")"; fi
    done
    echo "$row |"
}
echo
echo "One launch step by step, in-process through the same engine (the -e list; the same with the"
echo "duplicate guard, the input method off and a priority; the baseline), medians of $runs runs x"
echo "$entries programs (ms):"
echo
# The columns: this build's -e list (and the earlier build's), the same with guard, input method
# and priority, the baseline; "-" where a step does not happen.
if [ -n "$old_steps" ]; then
    plain="plain old-plain" full="full old-full" none="- -"
    echo "| step | -e list | -e list, earlier build | with guard, IME, priority | the same, earlier build | baseline |"
    echo "|---|---:|---:|---:|---:|---:|"
else
    plain=plain full=full none=-
    echo "| step | -e list | with guard, IME, priority | baseline |"
    echo "|---|---:|---:|---:|"
fi
# Rows: label | column | ways, where P stands for the -e list's columns, F for those with
# guard, IME and priority, N for as many "-" as P has.
while IFS='|' read -r label column row_ways; do
    ways=()
    for way in $row_ways; do
        case $way in
        P) read -ra more <<<"$plain" ;;
        F) read -ra more <<<"$full" ;;
        N) read -ra more <<<"$none" ;;
        *) more=("$way") ;;
        esac
        ways+=("${more[@]}")
    done
    step_row "$label" "$column" "${ways[@]}"
done <<'ROWS'
duplicate guard|4|N F -
CreateProcess|5|P F direct
input method call|6|N F -
priority calls|7|N F -
resume|8|P F -
ready wait (resumed to its return)|9|P F direct
the wait's return after the program's ready stamp|10|P F direct
the wait's return after the window showed|11|P F direct
looks per search|12|P F -
window search (the wait's return to the window found)|13|P F -
one look|14|P F -
placement handed over|15|P F -
to the start of the next launch|16|P F direct
program ready to the next program's main|17|P F direct
the program's own main to its ready|18|P F direct
ROWS
searches_with_more_looks() {
    awk -F'\t' -v a="$1" -v b="$2" '$1 == "step" && ($2 == a || $2 == b) {n++; if ($12 > 1) m++}
        END {printf "%d of %d", m, n}' "$work/steps.tsv"
}
echo
echo "The same for lodestay.exe -e over the -e list: program ready to the next one's main" \
    "$(printf '%.2f' "$(step_median exe 17)") ms${old_steps:+ (earlier build: $(printf '%.2f' "$(step_median old-exe 17)") ms)}," \
    "main to ready $(printf '%.2f' "$(step_median exe 18)") ms${old_steps:+ (earlier build: $(printf '%.2f' "$(step_median old-exe 18)") ms)}." \
    "Searches with more than one look: $(searches_with_more_looks plain full)${old_steps:+ (earlier build:\
 $(searches_with_more_looks old-plain old-full))}."
echo
echo "One look of the window search and one duplicate check, none finding anything, with more"
echo "windows on the desktop (ms, medians over the runs of medians of 21${old_steps:+; after the slash the earlier build}):"
echo
echo "| visible unowned windows | all top-level windows | look by process id | look by module path, first | later look by module path | duplicate check |"
echo "|---:|---:|---:|---:|---:|---:|"
# Column $2 of the $1-th crowd (1: 10 windows, 2: 30, 3: 100) of the lines of kind $3.
look_median() {
    awk -F'\t' -v kind="$3" -v crowd="$1" -v c="$2" '$1 == kind && (n++ % 3) + 1 == crowd { print $c }' \
        "$work/steps.tsv" | median
}
for crowd in 1 2 3; do
    row="| $(look_median $crowd 2 look) | $(look_median $crowd 3 look)"
    for c in 4 5 6 7; do
        row="$row | $(printf '%.2f' "$(look_median $crowd $c look)")"
        [ -n "$old_steps" ] && row="$row / $(printf '%.2f' "$(look_median $crowd $c old-look)")"
    done
    echo "$row |"
done

: >"$work/placed.tsv"
: >"$work/placed-before.tsv"
for ((run = 0; run < runs; run++)); do
    "$root/tools/wine-run.sh" "$win_build/bench/launch/lodestay_placement_bench.exe" "$entries" 1 \
        "$(winpath "$work")" | tr -d '\r' >>"$work/placed.tsv"
    if [ -n "$before" ]; then
        "$root/tools/wine-run.sh" "$before/lodestay_placement_bench.exe" "$entries" 1 "$(winpath "$work")" |
            tr -d '\r' >>"$work/placed-before.tsv"
    fi
done
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
echo
echo "Load at the end: $(uptime)"
