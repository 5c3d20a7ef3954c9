# Sourced by the scripts that run Lodestay's Windows programs under Wine.
# One "session" (display, prefix, persistent wineserver) belongs to the outermost script that
# opens it; nested scripts and every test that ctest starts reuse it, so each program starts fast.
# shellcheck shell=bash

LODESTAY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LODESTAY_WINE=/usr/lib/wine/wine64            # the 32-bit loader cannot run on this kernel
LODESTAY_WINESERVER=/usr/lib/wine/wineserver
LODESTAY_SCREEN=1280x1024
LODESTAY_DEFAULT_DESKTOP=Default
# Bump when the prefix settings below change, so existing prefixes get them.
LODESTAY_PREFIX_VERSION=1

export WINEPREFIX="${LODESTAY_WINEPREFIX:-$LODESTAY_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET, no HTML engine (their installers would wait on a dialog), no desktop menu files.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=d;mshtml=d;winemenubuilder.exe=d}"

# Commands run in reverse order when the script that sourced this file exits.
_lodestay_exit_hooks=()
lodestay_at_exit() { _lodestay_exit_hooks+=("$1"); }
_lodestay_run_exit_hooks() {
    local i
    for ((i = ${#_lodestay_exit_hooks[@]} - 1; i >= 0; i--)); do
        eval "${_lodestay_exit_hooks[i]}" || true
    done
    _lodestay_exit_hooks=()
}
trap _lodestay_run_exit_hooks EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

lodestay_log() { echo "[wine] $*" >&2; }

# Every Wine call goes through here. The ANSI code page of a Wine process follows the locale:
# 932 (Shift-JIS) needs ja_JP. Only Wine gets it, so build logs stay in the caller's language.
lodestay_wine() { LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$LODESTAY_WINE" "$@"; }

# `reg` answers in Shift-JIS; callers only need its status.
lodestay_reg() { lodestay_wine reg "$@" >/dev/null 2>&1; }

_lodestay_start_xvfb() {
    local numfile pid i
    numfile=$(mktemp)
    # -displayfd lets the server pick a free display itself: no race with other sessions.
    Xvfb -displayfd 3 -screen 0 "${LODESTAY_SCREEN}x24" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    pid=$!
    for ((i = 0; i < 100; i++)); do
        [[ -s "$numfile" ]] && break
        if ! kill -0 "$pid" 2>/dev/null; then
            rm -f "$numfile"
            lodestay_log "Xvfb did not start"
            return 1
        fi
        sleep 0.1
    done
    if [[ ! -s "$numfile" ]]; then
        kill "$pid" 2>/dev/null
        rm -f "$numfile"
        lodestay_log "Xvfb gave no display number"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$numfile")"
    rm -f "$numfile"
    lodestay_at_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
    [[ -n "${LODESTAY_WINE_VERBOSE:-}" ]] && lodestay_log "started Xvfb on $DISPLAY"
    return 0
}

_lodestay_prefix_settings() {
    local rep='HKCU\Software\Wine\Fonts\Replacements'
    # Dialog fonts of a Japanese Windows, mapped to IPA Gothic (proportional where the original is).
    lodestay_reg add "$rep" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f &&
        lodestay_reg add "$rep" /v 'MS PGothic' /d IPAPGothic /f &&
        lodestay_reg add "$rep" /v 'MS UI Gothic' /d IPAPGothic /f &&
        lodestay_reg add "$rep" /v 'MS Shell Dlg' /d IPAPGothic /f &&
        lodestay_reg add "$rep" /v 'ＭＳ ゴシック' /d IPAGothic /f &&
        lodestay_reg add "$rep" /v 'MS Gothic' /d IPAGothic /f &&
        # A crashing test must end with a status, not wait on the crash dialog.
        lodestay_reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
}

# Creates the prefix on first use.
_lodestay_create_prefix() {
    local start=$SECONDS
    [[ -f "$WINEPREFIX/system.reg" ]] && return 0
    lodestay_log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    lodestay_wine wineboot -i >/dev/null 2>&1 || {
        lodestay_log "wineboot failed"
        return 1
    }
    # Let the boot's own short-lived server finish before a persistent one is started.
    "$LODESTAY_WINESERVER" -w
    lodestay_log "prefix created in $((SECONDS - start)) s"
}

# Brings the prefix settings up to date (needs a running wineserver to be fast).
_lodestay_update_prefix() {
    local stamp="$WINEPREFIX/lodestay-prefix"
    [[ -f "$stamp" && "$(cat "$stamp")" == "$LODESTAY_PREFIX_VERSION" ]] && return 0
    _lodestay_prefix_settings || {
        lodestay_log "could not write the prefix settings"
        return 1
    }
    rm -f "$WINEPREFIX/lodestay-desktop"
    echo "$LODESTAY_PREFIX_VERSION" >"$stamp"
}

# Opens the session unless an outer script already holds one for this prefix.
lodestay_wine_session_begin() {
    if [[ "${LODESTAY_WINE_SESSION:-}" == "$WINEPREFIX" ]]; then
        return 0
    fi
    # A display that cannot be reached (a stale DISPLAY in CI) counts as none.
    if [[ -z "${DISPLAY:-}" ]] || ! xdpyinfo >/dev/null 2>&1; then
        _lodestay_start_xvfb || return 1
    fi
    _lodestay_create_prefix || return 1
    # Exit status 0 means this call started it; otherwise someone else's server is running.
    if "$LODESTAY_WINESERVER" -p 2>/dev/null; then
        lodestay_at_exit '"$LODESTAY_WINESERVER" -k 2>/dev/null'
    fi
    _lodestay_update_prefix || return 1
    export LODESTAY_WINE_SESSION="$WINEPREFIX"
}

# Puts the prefix in the wanted desktop mode: a virtual desktop NAME, or "-" for none, on a
# screen of DPI dots per inch (default 96). At another DPI Wine also honours the programs'
# DPI manifests, as Windows does; otherwise it makes every process per-monitor aware.
# The registry is only touched, and the wineserver restarted, when the mode changes, so that
# no Wine process of one mode (the desktop, the services) lives on into the other.
lodestay_wine_desktop() {
    local desktop="$1" dpi="${2:-96}" state="$WINEPREFIX/lodestay-desktop" want have=""
    local scale='HKCU\Control Panel\Desktop'
    want="$desktop"
    [[ "$dpi" != 96 ]] && want+=" $dpi"
    [[ -f "$state" ]] && have=$(cat "$state")
    [[ "$have" == "$want" ]] && return 0
    if [[ "$desktop" == "-" ]]; then
        lodestay_reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
        # Without a size for "Default" the desktop is the whole X screen.
        lodestay_reg delete 'HKCU\Software\Wine\Explorer\Desktops' /v "$LODESTAY_DEFAULT_DESKTOP" /f
    else
        lodestay_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f &&
            lodestay_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d "$LODESTAY_SCREEN" /f || {
            lodestay_log "could not set the desktop $desktop"
            return 1
        }
    fi
    if [[ "$dpi" == 96 ]]; then
        lodestay_reg delete "$scale" /v LogPixels /f
        lodestay_reg delete "$scale" /v DpiScalingVer /f
    else
        lodestay_reg add "$scale" /v LogPixels /t REG_DWORD /d "$dpi" /f &&
            lodestay_reg add "$scale" /v DpiScalingVer /t REG_DWORD /d 0x1000 /f || {
            lodestay_log "could not set $dpi DPI"
            return 1
        }
    fi
    # A running desktop process keeps the old desktop on screen: start over.
    "$LODESTAY_WINESERVER" -k 2>/dev/null
    "$LODESTAY_WINESERVER" -w 2>/dev/null
    "$LODESTAY_WINESERVER" -p 2>/dev/null || true
    echo "$want" >"$state"
}
