#!/usr/bin/env bash
# Tries the win64 zip as a Windows user would, under Wine. It is unpacked into a folder whose
# path has a blank and Shift-JIS characters that end in byte 0x5C (表, 能), and from there:
#   1. lodestay.exe -e -p list.ini starts Notepad and places its window exactly;
#   2. lodestay.exe -p example.ini opens the main window on the example list, which saves back
#      whole (Ctrl+S) beside the program;
#   3. its Help menu starts the HTML help viewer with that folder's lodestay.chm.
# Screenshots of 2 and 3 go to build/screenshots/package-*.png. Exits non-zero on any failure.
#
# Usage: tools/try-package.sh [ZIP]   (default dist/lodestay-*-win64.zip, from tools/package.sh)
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
exec </dev/null

die() {
    echo "try-package: $*" >&2
    exit 1
}

zip=${1:-$(ls dist/lodestay-*-win64.zip 2>/dev/null | head -n1)}
[[ -f "$zip" ]] || die "no zip: run tools/package.sh first"
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
lodestay_wine_session_begin || die "could not start Wine"
lodestay_wine_desktop "$LODESTAY_DEFAULT_DESKTOP" || die "could not set up the desktop"

name="ロデスタ 表示機能"
folder="C:\\Program Files\\$name"
dir="$WINEPREFIX/drive_c/Program Files/$name"
rm -rf "$dir"
mkdir -p "$dir" && unzip -q "$zip" -d "$dir" || die "cannot unpack $zip"
shots=build/screenshots
mkdir -p "$shots"

failures=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
# The first window whose title matches, once it is there (a bound, not a timing).
window() { timeout 60 xdotool search --sync --name "$1" 2>/dev/null | head -n1; }
# Until `test` holds, at most 30 s.
wait_for() {
    local i
    for ((i = 0; i < 300; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
launcher() { (cd "$dir" && exec "$ROOT/tools/wine-run.sh" "$folder\\lodestay.exe" "$@"); }
end_programs() { for p in "$@"; do lodestay_wine taskkill /f /im "$p" >/dev/null 2>&1; done; }
lodestay_at_exit 'end_programs hh.exe lodestay.exe notepad.exe'

# 1. The window lands where the list says, to the pixel.
printf ';Lodestay\r\nFileVersion\t0x0110\r\nExecutant::RingListClass\t{\r\n\tExecutionFileName\tC:\\windows\\notepad.exe\r\n\tExecutionPosition\t123,77\r\n\tExecutionSize\t611,433\r\n}\r\n' >"$dir/list.ini"
(cd "$dir" && timeout 120 "$ROOT/tools/wine-run.sh" "$folder\\lodestay.exe" -e -p list.ini)
notepad=$(window 'メモ帳')
placed() { xwininfo -id "$notepad" | tr -s ' ' | grep -qzE 'Absolute upper-left X: 123\s.*Absolute upper-left Y: 77\s.*Width: 611\s.*Height: 433\s'; }
check "-e -p list.ini places Notepad at 123,77 611x433" wait_for placed
end_programs notepad.exe

# 2. The main window on the example list, saved back whole through the Shift-JIS path.
cp "$dir/example.ini" "$dir/example.orig"
launcher -p example.ini &
main=$(window '^Lodestay$')
check "the main window opens" test -n "$main"
# Keys go to the active window: sent to a window by name, Wine ignores them.
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key ctrl+s
saved=$(window '^lodestay$')
xdotool windowactivate --sync "$saved" 2>/dev/null
xdotool key Return
import -display "$DISPLAY" -window root "$shots/package-main.png"
# The program writes no comments and stores the file names in lower case.
entries() { grep -a -E '^(Executant|	ExecutionFileName)' "$1" | tr 'A-Z' 'a-z'; }
check "it held the four entries of example.ini, saved by the program" \
    test "$(entries "$dir/example.ini")" = "$(entries "$dir/example.orig")" -a "$(entries "$dir/example.orig" | wc -l)" = 8 \
    -a "$(grep -c '^; ' "$dir/example.ini")" = 0

# 3. Help: the viewer with this folder's help file, whose title the viewer shows. The menu
#    takes a moment to open, so the keys go at a typist's pace, again until the viewer runs.
viewer() { ps -C hh.exe -o args= 2>/dev/null; }
for ((try = 0; try < 5; try++)); do
    xdotool windowactivate --sync "$main" 2>/dev/null
    xdotool key --delay 300 alt+h h
    timeout 10 bash -c "until ps -C hh.exe >/dev/null; do sleep 0.1; done" && break
    xdotool key Escape Escape
done
check "Help starts the viewer with this folder's lodestay.chm" test "$(viewer)" = "C:\\windows\\hh.exe $folder\\lodestay.chm"
check "the viewer opens it" test -n "$(window '^Lodestay ヘルプ$')"
import -display "$DISPLAY" -window root "$shots/package-help.png"

echo "try-package: $zip unpacked into $folder; screenshots $shots/package-main.png, $shots/package-help.png"
((failures == 0)) || die "$failures check(s) failed"
echo "try-package: all passed"
