#!/usr/bin/env bash
# Runs a Windows test program on two monitors, as Wine can show them: one wide Xvfb screen cut
# into two RandR monitors, (0,0)-(1280,1024) the primary and (1280,0)-(2304,768), read with
# UseXRandR="N" and without a virtual desktop (which always has one monitor). The display,
# the Wine prefix and its wineserver are this script's own, so that nothing of it reaches
# the other tests.
# Usage: two-monitors.sh PROGRAM.exe [ARGS...]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
export LODESTAY_WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}-monitors"
unset LODESTAY_WINE_SESSION WINEPREFIX DISPLAY

# shellcheck source=tools/wine-env.sh
source "$root/tools/wine-env.sh"

numfile=$(mktemp)
# -noreset: the monitors would go with the server's reset when its last client leaves.
Xvfb -displayfd 3 -screen 0 2304x1024x24 -noreset -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
xvfb=$!
lodestay_at_exit "kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null"
for ((i = 0; i < 100; i++)); do [[ -s $numfile ]] && break || sleep 0.1; done
export DISPLAY=":$(head -n1 "$numfile")"
rm -f "$numfile"
# The first monitor takes the screen's output, which would otherwise be a third monitor
# spanning the whole screen.
xrandr --setmonitor '*first' 1280/338x1024/270+0+0 screen >/dev/null &&
    xrandr --setmonitor second 1024/270x768/203+1280+0 none >/dev/null || {
    lodestay_log "could not make two monitors on $DISPLAY"
    exit 125
}

lodestay_wine_session_begin || exit 125
lodestay_reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f || exit 125
lodestay_wine_desktop - || exit 125
# Wine's desktop process reads the monitors when it starts: start it afresh.
"$LODESTAY_WINESERVER" -k 2>/dev/null
"$LODESTAY_WINESERVER" -w 2>/dev/null
"$LODESTAY_WINESERVER" -p 2>/dev/null || true
# Tells the test that it must see two monitors, not skip.
LODESTAY_TWO_MONITORS=1 "$root/tools/wine-run.sh" --no-desktop "$@"
