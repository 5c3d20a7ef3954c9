#!/usr/bin/env bash
# Installs what building and testing Lodestay needs on Debian 12 (run as root).
# Idempotent and quiet when everything is there, so every other script calls it first.
set -euo pipefail

packages=(
    cmake g++ googletest
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine64 wine
    # Only suggested by wine64, but without it about one Wine process start in two thousand
    # fails ("failed to map the shared user data"): the randomised heap lies where Wine needs
    # its fixed pages. Tests would fail now and then for no fault of theirs.
    wine64-preloader
    xvfb xdotool x11-utils x11-xserver-utils imagemagick fonts-ipafont-gothic
    locales
    clang libclang-rt-14-dev
    fp-utils
)

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$pkg")
    fi
done

as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo env DEBIAN_FRONTEND=noninteractive "$@"
    else
        echo "setup.sh: need root to run: $*" >&2
        return 1
    fi
}

if ((${#missing[@]})); then
    echo "setup.sh: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # A fresh machine may still be running its own apt jobs: wait for the lock instead of failing.
    apt_options=(-q -o DPkg::Lock::Timeout=600)
    as_root apt-get "${apt_options[@]}" update </dev/null
    as_root apt-get "${apt_options[@]}" install -y \
        -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
        "${missing[@]}" </dev/null
fi

# Wine takes the ANSI code page from the locale: without ja_JP.UTF-8 the program would run in 1252.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup.sh: generating the ja_JP.UTF-8 locale"
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
