#!/usr/bin/env bash
# Runs a window test under Wine and clicks in the X display when it asks, as the user's mouse
# would: Wine cannot start xdotool itself. The folder LODESTAY_XCLICK (reached through drive Z:)
# takes one file per click, 1.click, 2.click, ..., each holding "X Y BUTTON" and renamed into
# place whole. Nothing is ever removed or rewritten while the test runs, so a request cannot be
# lost however fast the test writes the next one, and the clicks come in the order asked.
# Usage: xclick-relay.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/wine-env.sh
source "$here/../../../tools/wine-env.sh"
lodestay_wine_session_begin || exit 125
lodestay_wine_desktop "${LODESTAY_WINE_DESKTOP:-$LODESTAY_DEFAULT_DESKTOP}" || exit 125

LODESTAY_XCLICK=$(mktemp -d /tmp/lodestay-xclick.XXXXXX) || exit 125
export LODESTAY_XCLICK
(
    next=1
    while :; do
        request="$LODESTAY_XCLICK/$next.click"
        if [[ -f "$request" ]]; then
            read -r x y button <"$request"
            xdotool mousemove "$x" "$y" click "$button" || echo "xclick-relay: xdotool failed on $request" >&2
            next=$((next + 1))
        else
            sleep 0.05
        fi
    done
) &
relay=$!
lodestay_at_exit "kill $relay 2>/dev/null; rm -rf '$LODESTAY_XCLICK'"
"$here/../../../tools/wine-run.sh" "$@"
