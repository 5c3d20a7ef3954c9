#!/usr/bin/env bash
# Runs one Windows program under Wine and hands back its exit status, stdout and stderr.
# ctest uses it as the cross-compiling emulator of the x86_64 build.
#
# Usage: wine-run.sh [--desktop NAME | --no-desktop] [--os VERSION] [--dpi N] [--] PROGRAM.exe [ARGS...]
#   --desktop NAME  run inside a Wine virtual desktop called NAME (default "Default", as on Windows)
#   --no-desktop    run on the bare X screen, without a virtual desktop
#   --os VERSION    make Wine report VERSION (win98, win95, win2k, ...) to this program only
#   --dpi N         a screen of N dots per inch (default 96; 144 is 150 %), manifests honoured
# The same choices can come from the environment (e.g. a ctest ENVIRONMENT property):
#   LODESTAY_WINE_DESKTOP=NAME (or "-" for none), LODESTAY_WINE_OS=VERSION, LODESTAY_WINE_DPI=N.
set -uo pipefail

# shellcheck source=tools/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

usage() {
    sed -n '5,12s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

desktop="${LODESTAY_WINE_DESKTOP:-$LODESTAY_DEFAULT_DESKTOP}"
os="${LODESTAY_WINE_OS:-}"
dpi="${LODESTAY_WINE_DPI:-96}"
while (($#)); do
    case "$1" in
    --desktop)
        (($# >= 2)) || usage
        desktop="$2"
        shift 2
        ;;
    --no-desktop)
        desktop=-
        shift
        ;;
    --os)
        (($# >= 2)) || usage
        os="$2"
        shift 2
        ;;
    --dpi)
        [[ $# -ge 2 && "$2" =~ ^[1-9][0-9]*$ ]] || usage
        dpi="$2"
        shift 2
        ;;
    --)
        shift
        break
        ;;
    -h | --help) usage ;;
    -*) usage ;;
    *) break ;;
    esac
done
(($#)) || usage
program="$1"
shift

lodestay_wine_session_begin || exit 125
lodestay_wine_desktop "$desktop" "$dpi" || exit 125

# Wine picks the reported version per executable file name.
exe_name=$(basename "$program")
exe_name="${exe_name//\\//}"
exe_name="${exe_name##*/}"
appkey="HKCU\\Software\\Wine\\AppDefaults\\$exe_name"
# A marker outlives a run that was killed before it could undo its --os, so the next run cleans up.
os_marker="$WINEPREFIX/lodestay-os-$exe_name"
clear_os() {
    lodestay_reg delete "$appkey" /v Version /f
    rm -f "$os_marker"
}
if [[ -n "$os" ]]; then
    touch "$os_marker"
    lodestay_at_exit clear_os
    lodestay_reg add "$appkey" /v Version /d "$os" /f || {
        lodestay_log "could not set Version $os for $exe_name"
        exit 125
    }
elif [[ -f "$os_marker" ]]; then
    clear_os
fi

# Wine's service and desktop processes, and anything the program starts, inherit its output
# handles and outlive it; on a pipe (ctest's) the reader would then wait for them for ever.
# So the program writes to files, relayed live until the program itself ends.
outdir=$(mktemp -d)
lodestay_at_exit "rm -rf '$outdir'"
: >"$outdir/out"
: >"$outdir/err"
exec 3<&0
lodestay_wine "$program" "$@" <&3 >"$outdir/out" 2>"$outdir/err" &
pid=$!
lodestay_at_exit "kill $pid 2>/dev/null"
tail -q -n +1 -s 0.02 -f --pid="$pid" "$outdir/out" &
relay_out=$!
tail -q -n +1 -s 0.02 -f --pid="$pid" "$outdir/err" >&2 &
relay_err=$!
wait "$pid"
rc=$?
wait "$relay_out" "$relay_err"
exit "$rc"
