#!/usr/bin/env bash
# Screenshots of the editor (both pages) and of the folder chooser for the README: opens
# lodestay.exe on a one-entry list in the Wine desktop "Default" and drives it by keys.
# With a DPI other than 96, of the main window and both editor pages on a screen of that DPI
# instead (docs/*-DPIdpi.png), to see that nothing is cut off or overlaps.
#
# Usage: tools/editor-screenshots.sh [DPI]   (after building build/win64; writes docs/*.png)
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
exec </dev/null
dpi=${1:-96}
suffix=
[[ "$dpi" != 96 ]] && suffix=-${dpi}dpi
exe=${LODESTAY_WIN_BUILD:-build/win64}/app/lodestay.exe
[[ -f "$exe" ]] || { echo "editor-screenshots: build lodestay.exe first" >&2; exit 1; }
work=build/screenshots
mkdir -p "$work" docs
printf ';Lodestay\nFileVersion\t0x0110\nExecutant::RingListClass\t{\n\tExecutionFileName\tC:\\windows\\notepad.exe\n\tExecutionArguments\treadme.txt\n\tExecutionPath\tC:\\windows\n\tExecutionPosition\t100,80\n\tExecutionShowMode\t1\n\tExecutionPriority\t0x0024\n\tExecutionInitialOnce\t1\n}\n' >"$work/Editor.ini"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
lodestay_wine_session_begin || exit 1
lodestay_wine_desktop "$LODESTAY_DEFAULT_DESKTOP" "$dpi" || exit 1

exe_path=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
(cd "$work" && exec "$ROOT/tools/wine-run.sh" --dpi "$dpi" "$exe_path" -p "Z:${ROOT//\//\\}\\build\\screenshots\\Editor.ini") &
launcher=$!
# The dialogs are centred and grow with the DPI: points and the crop scale about the centre.
at() { echo $((640 + ($1 - 640) * dpi / 96)) $((512 + ($2 - 512) * dpi / 96)); }
crop=$((720 * dpi / 96))x$((400 * dpi / 96))+$(at 285 318 | tr ' ' +)
shots=()
shot() {
    sleep 1.5
    import -display "$DISPLAY" -window root -crop "${LODESTAY_SHOT_CROP:-$crop}" +repage "docs/$1$suffix.png"
    shots+=("docs/$1$suffix.png")
}
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.5; done; }

sleep 4
# Inside the virtual desktop the screen and the desktop have the same coordinates.
click() { xdotool mousemove $(at "$1" "$2") click ${3:+--repeat 2 --delay 80} 1; sleep 0.7; }
[[ -n "$suffix" ]] && shot main-window
# Double-clicking the one row edits it.
click 370 473 double
shot editor-geometry
click 575 517
shot editor-control
[[ -z "$suffix" ]] && click 937 599 && shot folder-chooser
keys Escape Escape Escape
sleep 1
kill "$launcher" 2>/dev/null
wait "$launcher" 2>/dev/null
echo "editor-screenshots: ${shots[*]}"
