#!/usr/bin/env bash
# Runs every test of Lodestay: the host tests (ASan/UBSan), bounded fuzzing, the Windows tests
# under Wine, a compile-only 32-bit build, and the release zips from both builds, the win64 one
# unpacked and tried under Wine. Installs what is missing first. Exits non-zero on any failure.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
JOBS=${LODESTAY_JOBS:-2}
# A hung GUI test must not eat the whole run; tests may set their own TIMEOUT.
TEST_TIMEOUT=${LODESTAY_TEST_TIMEOUT:-300}
# Nothing here reads the terminal; CI may have no standard input at all.
exec </dev/null

bash tools/setup.sh || {
    echo "run-tests: setup failed" >&2
    exit 1
}

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh

LOGDIR="$ROOT/build/logs"
mkdir -p "$LOGDIR"

summary=()
failed=0
tests_passed=0
tests_failed=0

# step NAME COMMAND...: runs one step, records its result and time.
step() {
    local name="$1" start=$SECONDS rc
    shift
    echo
    echo "==== $name"
    "$@"
    rc=$?
    if ((rc == 0)); then
        summary+=("ok      $name ($((SECONDS - start)) s)")
    else
        summary+=("FAILED  $name (exit $rc, $((SECONDS - start)) s)")
        failed=1
    fi
    return $rc
}

skip() { summary+=("skipped $1 (an earlier step failed)"); }

# Runs ctest in a build tree and adds its counts to the totals.
run_ctest() {
    local dir="$1" log="$LOGDIR/ctest-$(basename "$1").log" rc line
    shift
    unset CTEST_PARALLEL_LEVEL # Wine tests share one desktop: strictly one at a time
    ctest --test-dir "$dir" --output-on-failure --timeout "$TEST_TIMEOUT" "$@" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
    if [[ "$line" =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
        tests_failed=$((tests_failed + BASH_REMATCH[1]))
        tests_passed=$((tests_passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    fi
    return "$rc"
}

configure() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -DLODESTAY_WERROR=ON "$@"
}

build() { cmake --build "$1" -j "$JOBS"; }

run_wine_tests() {
    lodestay_wine_session_begin || return 1
    run_ctest build/win64
}

total_start=$SECONDS

if step "host: configure" configure build/host -DCMAKE_BUILD_TYPE=Debug -DLODESTAY_SANITIZE=ON &&
    step "host: build" build build/host; then
    step "host: tests (ASan/UBSan)" run_ctest build/host --no-tests=error
else
    skip "host: tests"
fi

# Bounded fuzzing of the two parsers that take outside bytes (LODESTAY_FUZZ_SECONDS each).
step "host: fuzzing (libFuzzer, ASan/UBSan)" bash tools/run-fuzz.sh

if step "win64: configure" configure build/win64 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" &&
    step "win64: build" build build/win64; then
    step "win64: tests under Wine" run_wine_tests
else
    skip "win64: tests under Wine"
fi

if step "win32: configure" configure build/win32 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake"; then
    step "win32: build (compile only)" build build/win32
fi

# The release zips, from the two Release trees above, so that the package cannot rot.
if step "package: zips (tools/package.sh)" bash tools/package.sh; then
    step "package: unpacked and tried under Wine" bash tools/try-package.sh
else
    skip "package: unpacked and tried under Wine"
fi

echo
echo "==== summary ($((SECONDS - total_start)) s)"
printf '  %s\n' "${summary[@]}"
echo "tests: $tests_passed passed, $tests_failed failed"
if ((failed)); then
    echo "run-tests: FAILED"
    exit 1
fi
echo "run-tests: all passed"
