#!/usr/bin/env bash
# Runs a window test under Wine and clicks in the X display when it asks, as the user's mouse
# would: Wine cannot start xdotool itself. The program writes "X Y BUTTON" to the file named by
# LODESTAY_XCLICK (reached through drive Z:) and waits until the relay has removed it.
# Usage: xclick-relay.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/wine-env.sh
source "$here/../../../tools/wine-env.sh"
lodestay_wine_session_begin || exit 125
lodestay_wine_desktop "${LODESTAY_WINE_DESKTOP:-$LODESTAY_DEFAULT_DESKTOP}" || exit 125

LODESTAY_XCLICK=$(mktemp -u /tmp/lodestay-xclick.XXXXXX)
export LODESTAY_XCLICK
(
    while :; do
        # Taken by renaming it first: removed after the click, it could take the test's next
        # request with it, which a busy machine lets the test write meanwhile.
        if [[ -s "$LODESTAY_XCLICK" ]] && mv "$LODESTAY_XCLICK" "$LODESTAY_XCLICK.taken"; then
            read -r x y button <"$LODESTAY_XCLICK.taken"
            rm -f "$LODESTAY_XCLICK.taken"
            xdotool mousemove "$x" "$y" click "$button"
        fi
        sleep 0.05
    done
) &
relay=$!
lodestay_at_exit "kill $relay 2>/dev/null; rm -f '$LODESTAY_XCLICK' '$LODESTAY_XCLICK.taken'"
"$here/../../../tools/wine-run.sh" "$@"
