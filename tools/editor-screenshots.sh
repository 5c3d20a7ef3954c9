#!/usr/bin/env bash
# Screenshots of the editor (both pages) and of the folder chooser for the README: opens
# lodestay.exe on a one-entry list in the Wine desktop "Default" and drives it by keys.
#
# Usage: tools/editor-screenshots.sh   (after building build/win64; writes docs/editor-*.png)
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
exec </dev/null
exe=${LODESTAY_WIN_BUILD:-build/win64}/app/lodestay.exe
[[ -f "$exe" ]] || { echo "editor-screenshots: build lodestay.exe first" >&2; exit 1; }
work=build/screenshots
mkdir -p "$work" docs
printf ';Lodestay\nFileVersion\t0x0110\nExecutant::RingListClass\t{\n\tExecutionFileName\tC:\\windows\\notepad.exe\n\tExecutionArguments\treadme.txt\n\tExecutionPath\tC:\\windows\n\tExecutionPosition\t100,80\n\tExecutionShowMode\t1\n\tExecutionPriority\t0x0024\n\tExecutionInitialOnce\t1\n}\n' >"$work/Editor.ini"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
lodestay_wine_session_begin || exit 1
lodestay_wine_desktop "$LODESTAY_DEFAULT_DESKTOP" || exit 1

exe_path=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
(cd "$work" && exec "$ROOT/tools/wine-run.sh" "$exe_path" -p "Z:${ROOT//\//\\}\\build\\screenshots\\Editor.ini") &
launcher=$!
shot() { sleep 1.5; import -display "$DISPLAY" -window root -crop "${LODESTAY_SHOT_CROP:-720x400+285+318}" +repage "docs/$1"; }
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.5; done; }

sleep 4
# Inside the virtual desktop the screen and the desktop have the same coordinates.
click() { xdotool mousemove "$1" "$2" click ${3:+--repeat 2 --delay 80} 1; sleep 0.7; }
# Double-clicking the one row edits it.
click 370 473 double
shot editor-geometry.png
click 575 517
shot editor-control.png
click 937 599
shot folder-chooser.png
keys Escape Escape Escape
sleep 1
kill "$launcher" 2>/dev/null
wait "$launcher" 2>/dev/null
echo "editor-screenshots: docs/editor-geometry.png docs/editor-control.png docs/folder-chooser.png"
