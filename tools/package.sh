#!/usr/bin/env bash
# Builds the release: dist/lodestay-VERSION-win64.zip from the x86_64 build and
# dist/lodestay-VERSION-win32.zip from the i686 build, with CPack (package/CMakeLists.txt).
# Installs what is missing first and reuses the Release trees of tools/run-tests.sh, building
# only the program and its help in them. Then checks the zips as far as this machine can
# without running them: their contents, the kind of each program (PE32+ x86-64, PE32 i386),
# no MinGW DLL among the imports, and the same resources (manifest, version) in both.
#
# Usage: tools/package.sh   (prints the paths of the two zips)
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
exec </dev/null
JOBS=${LODESTAY_JOBS:-2}
CONTENTS="LICENSE README.txt example.ini lodestay.chm lodestay.exe"

die() {
    echo "package: $*" >&2
    exit 1
}

bash tools/setup.sh || die "setup failed"
rm -f dist/lodestay-*.zip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build_zip TREE TOOLCHAIN: the zip's path on standard output.
build_zip() {
    local tree="$1" toolchain="$2" name
    # The options of tools/run-tests.sh, so that an existing tree is not built again.
    cmake -S "$ROOT" -B "$tree" -DLODESTAY_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain" >&2 || return 1
    cmake --build "$tree" -j "$JOBS" --target lodestay lodestay_help >&2 || return 1
    cpack --config "$tree/CPackConfig.cmake" >&2 || return 1
    name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$tree/CPackConfig.cmake")
    [[ -f "dist/$name.zip" ]] || return 1
    echo "dist/$name.zip"
}

# check_zip ZIP MACHINE OBJDUMP: unpacks into $work/NAME and checks it.
check_zip() {
    local zip="$1" machine="$2" objdump="$3" dir list dlls
    dir="$work/$(basename "$zip" .zip)"
    list=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
    [[ "$list" == "$CONTENTS " ]] || die "$zip holds [$list], not [$CONTENTS ]"
    unzip -q "$zip" -d "$dir" || die "cannot unpack $zip"
    # grep -q stops reading early: under pipefail the writer's SIGPIPE would fail the check, so
    # every check reads a finished output.
    grep -q "architecture: $machine," <<<"$("$objdump" -f "$dir/lodestay.exe")" ||
        die "$zip: lodestay.exe is not built for $machine"
    dlls=$("$objdump" -p "$dir/lodestay.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    grep -E '^lib|mingw' <<<"$dlls" && die "$zip: lodestay.exe needs the DLLs above"
    "${objdump%objdump}windres" -i "$dir/lodestay.exe" -O rc >"$dir.rc" || die "$zip: cannot read the resources"
    grep -q '^1 24 /\* RT_MANIFEST \*/' "$dir.rc" || die "$zip: lodestay.exe has no manifest"
    grep -q "^Lodestay $VERSION " <<<"$(iconv -f CP932 -t UTF-8 "$dir/README.txt")" || die "$zip: README without version $VERSION"
}

zip64=$(build_zip build/win64 mingw-w64-x86_64.cmake) || die "the win64 package failed"
zip32=$(build_zip build/win32 mingw-w64-i686.cmake) || die "the win32 package failed"
VERSION=$(basename "$zip64" -win64.zip)
VERSION=${VERSION#lodestay-}
[[ "$zip32" == "dist/lodestay-$VERSION-win32.zip" ]] || die "the zip names differ: $zip64 $zip32"

check_zip "$zip64" i386:x86-64 x86_64-w64-mingw32-objdump
check_zip "$zip32" i386 i686-w64-mingw32-objdump
# Both builds compile the same resource script: every resource, byte for byte.
cmp -s "$work/lodestay-$VERSION-win64.rc" "$work/lodestay-$VERSION-win32.rc" ||
    die "the resources of the two programs differ"
IFS=. read -r major minor patch <<<"$VERSION"
grep -q "^ FILEVERSION $major, $minor, $patch, 0$" "$work/lodestay-$VERSION-win64.rc" ||
    die "the version resource does not say $VERSION"

for zip in "$zip64" "$zip32"; do
    echo "package: $ROOT/$zip"
    unzip -l "$zip" | sed 's/^/    /'
done
