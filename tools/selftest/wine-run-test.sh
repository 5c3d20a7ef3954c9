#!/usr/bin/env bash
# Checks tools/wine-run.sh with the probe program: desktop choice, reported version, code page,
# dialog fonts, screen DPI, exit status and output hand-back, and that a program leaving a child behind
# does not hold the caller up. Usage: wine-run-test.sh PATH/TO/lodestay_wine_probe.exe
set -uo pipefail

PROBE="$1"
TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUN="$TOOLS/wine-run.sh"

# shellcheck source=tools/wine-env.sh
source "$TOOLS/wine-env.sh"
lodestay_wine_session_begin || exit 1

errfile=$(mktemp)
statusfile=$(mktemp)
lodestay_at_exit "rm -f '$errfile' '$statusfile' '$statusfile.run' '$statusfile.read'"
failures=0
checks=0

# expect NAME RC PATTERN [VAR=VALUE...] -- WINE-RUN-ARGS...: exit status RC, stdout (as UTF-8)
# matches PATTERN, and stdout is closed when the runner ends, as ctest's pipe needs.
expect() {
    local name="$1" want_rc="$2" pattern="$3" out rc reader limit=${CALL_TIMEOUT:-60}
    shift 3
    local envs=()
    while [[ "$1" != "--" ]]; do
        envs+=("$1")
        shift
    done
    shift
    # The C run-time writes text-mode CR LF line ends.
    out=$(
        {
            env "${envs[@]}" timeout "$limit" "$RUN" "$@" 2>"$errfile"
            echo $? >"$statusfile.run"
        } | {
            timeout "$limit" cat
            echo $? >"$statusfile.read"
        } | iconv -f CP932 -t UTF-8 | tr -d '\r'
    )
    rc=$(cat "$statusfile.run")
    reader=$(cat "$statusfile.read")
    checks=$((checks + 1))
    if [[ "$rc" != "$want_rc" || "$reader" != 0 ]] || ! grep -qE -- "$pattern" <<<"$out"; then
        echo "FAIL $name: exit $rc (want $want_rc), reader $reader, output [$out], errors [$(cat "$errfile")]"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

# check NAME COMMAND...: a plain shell condition.
check() {
    local name="$1"
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok   $name"
    else
        echo "FAIL $name"
        failures=$((failures + 1))
    fi
}

virtual_desktops() { xwininfo -root -children 2>/dev/null | grep -c 'Wine desktop'; }
# The X server drops the window of a desktop whose process just ended when it gets to it.
desktops_on_screen() {
    local i
    for ((i = 0; i < 100; i++)); do
        [[ "$(virtual_desktops)" == "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}

expect "default desktop is called Default" 0 '^desktop=Default screen=1280x1024$' -- "$PROBE" desktop
check "it is a virtual desktop" desktops_on_screen 1
expect "ANSI code page 932, NT family" 0 '^acp=932 platform=2 ' -- "$PROBE" version
expect "--os win98" 0 '^acp=932 platform=1 version=4\.10$' -- --os win98 "$PROBE" version
expect "--os lasts one call" 0 ' platform=2 ' -- "$PROBE" version
expect "LODESTAY_WINE_OS=win95" 0 ' platform=1 version=4\.0$' LODESTAY_WINE_OS=win95 -- "$PROBE" version
# Scaled, Wine honours DPI manifests, so that a program without one is unaware.
expect "--dpi 144" 0 '^dpi=144 aware=0$' -- --dpi 144 "$PROBE" dpi
expect "--dpi lasts one call" 0 '^dpi=96 aware=1$' -- "$PROBE" dpi
expect "exit status handed back" 7 '^$' -- "$PROBE" exit 7
expect "stdout stays clean of stderr" 0 '^$' -- "$PROBE" stderr
check "stderr handed back" grep -qx $'to stderr\r' "$errfile"
expect "Shift-JIS text" 0 '^起動しました$' -- "$PROBE" text
expect "ＭＳ Ｐゴシック is IPA P Gothic" 0 '^font=IPAPGothic ' -- "$PROBE" font 'ＭＳ Ｐゴシック'
expect "MS Shell Dlg is IPA P Gothic" 0 '^font=IPAPGothic ' -- "$PROBE" font 'MS Shell Dlg'
expect "ＭＳ ゴシック is IPA Gothic" 0 '^font=IPAGothic ' -- "$PROBE" font 'ＭＳ ゴシック'
# A child that outlives the program keeps its output handles; they must not be the caller's,
# or the reader waits for the child (the time-out then ends it). The file lets the child go.
release=$(mktemp -u)
lodestay_at_exit "rm -f '$release'"
CALL_TIMEOUT=30 expect "a lingering child does not hold the runner" 0 '^spawned$' -- "$PROBE" spawn "Z:${release//\//\\}"
touch "$release"
expect "--desktop Kiosk" 0 '^desktop=Kiosk screen=1280x1024$' -- --desktop Kiosk "$PROBE" desktop
check "one virtual desktop on screen" desktops_on_screen 1
expect "--no-desktop" 0 '^desktop=Default screen=1280x1024$' -- --no-desktop "$PROBE" desktop
check "no virtual desktop on screen" desktops_on_screen 0
expect "back to Default" 0 '^desktop=Default ' -- "$PROBE" desktop
check "virtual again" desktops_on_screen 1

echo "wine-run.sh: $((checks - failures)) passed, $failures failed"
((failures == 0))
