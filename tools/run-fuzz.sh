#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, replays the kept regression inputs, then fuzzes
# each target for a bounded time (LODESTAY_FUZZ_SECONDS, default 60). Fails on any crash,
# leak or sanitizer report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LODESTAY_FUZZ_BUILD:-$root/build/fuzz}
seconds=${LODESTAY_FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
for target in settings cmdline; do
    exe=$build/fuzz_$target
    [ -x "$exe" ] || { echo "fuzz: $target not built"; status=1; continue; }
    work=$build/work-$target
    rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root/tests/fuzz/corpus/$target/"* "$work/corpus/"
    regressions=("$root/tests/fuzz/regressions/$target/"*)
    if [ -e "${regressions[0]}" ]; then
        if ! "$exe" "${regressions[@]}" >"$work/replay.log" 2>&1; then
            echo "fuzz: $target regression input fails again"; tail -n 30 "$work/replay.log"; status=1; continue
        fi
    fi
    (cd "$work" && "$exe" corpus -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix="$work/artifacts/" >"$work/fuzz.log" 2>&1) || {
        echo "fuzz: $target found a fault; inputs in $work/artifacts"; tail -n 40 "$work/fuzz.log"; status=1; continue; }
    echo "fuzz: $target $(grep -o 'Done [0-9]* runs in [0-9]* second' "$work/fuzz.log" | tail -n 1)s, no fault"
done
exit $status
