#!/usr/bin/env bash
# The main job on the bundled example: builds lodestay.exe, runs the unattended start
# (lodestay.exe -e -p examples\Example.ini) in the Wine desktop "Default" and takes a screenshot.
#
# Usage: tools/run-example.sh [SETTINGS_FILE]   (a path relative to the repository root)
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
exec </dev/null

SETTINGS=${1:-examples/Example.ini}
BUILD=${LODESTAY_WIN_BUILD:-build/win64}
SHOT=build/screenshots/example.png
# The unattended start waits for each program; a message box at the end keeps it running.
LAUNCH_TIMEOUT=${LODESTAY_LAUNCH_TIMEOUT:-60}
SETTLE_SECONDS=2

die() {
    echo "run-example: $*" >&2
    exit 1
}

[[ -f "$SETTINGS" ]] || die "no settings file $SETTINGS"
bash tools/setup.sh || die "setup failed"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh

# Same options as tools/run-tests.sh, so that both share one build.
cmake -S "$ROOT" -B "$BUILD" -DLODESTAY_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null || die "configure failed"
cmake --build "$BUILD" -j 2 --target lodestay lodestay-testapp || die "build failed"
exe="$BUILD/app/lodestay.exe"
[[ -f "$exe" ]] || exe=$(find "$BUILD" -name lodestay.exe -print -quit)
[[ -n "$exe" && -f "$exe" ]] || die "lodestay.exe was not built"
# The example names the test application by its bare name, which the system looks for
# beside lodestay.exe first.
testapp=$(find "$BUILD" -name lodestay-testapp.exe -path '*testapp*' -print -quit)
[[ -n "$testapp" ]] || die "lodestay-testapp.exe was not built"
cp "$testapp" "$(dirname "$exe")/"
# The example's programs write their reports into the current directory: a scratch folder.
REPORTS=build/example
rm -rf "$REPORTS"
mkdir -p "$REPORTS"

lodestay_wine_session_begin || die "could not start Wine"
lodestay_wine_desktop "$LODESTAY_DEFAULT_DESKTOP" || die "could not set up the desktop"

# The program runs in the reports folder; the settings file is named by its full path.
win_settings="Z:${ROOT//\//\\}\\${SETTINGS//\//\\}"
[[ "$SETTINGS" == /* ]] && win_settings="Z:${SETTINGS//\//\\}"
echo "run-example: $exe -e -p $win_settings"
exe_path=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
(cd "$REPORTS" && exec "$ROOT/tools/wine-run.sh" "$exe_path" -e -p "$win_settings") &
launcher=$!

for ((waited = 0; waited < LAUNCH_TIMEOUT; waited++)); do
    kill -0 "$launcher" 2>/dev/null || break
    sleep 1
done
if kill -0 "$launcher" 2>/dev/null; then
    echo "run-example: lodestay.exe still runs after ${LAUNCH_TIMEOUT} s (a message box is open?)"
else
    wait "$launcher"
    echo "run-example: lodestay.exe ended (exit status $?, which carries no information)"
fi

# Let the launched windows finish drawing.
sleep "$SETTLE_SECONDS"
bash tools/example-placement.sh "$SETTINGS" "$REPORTS"
mkdir -p "$(dirname "$SHOT")"
import -display "$DISPLAY" -window root "$SHOT" || die "screenshot failed"
echo "run-example: screenshot $ROOT/$SHOT"
# Ending the session (at exit) closes every program started in the prefix.
