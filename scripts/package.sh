#!/bin/bash
# Builds both Windows programs and packs them for users, in dist/:
#
#   Tessara-<version>-win32.zip   the 32-bit build, to run from any folder
#   Tessara-<version>-win64.zip   the 64-bit build, likewise
#   Tessara-<version>-setup.exe   one installer for both: it installs the build
#                                 that matches the system's Explorer
#
# Each zip holds Tessara.exe, deskhook.dll, README.txt, the licence and the
# help/ folder when the tree has them. The version comes from base/version.h.
#
# It also writes build/package/Tessara-<version>-setup-amd64.exe: the same
# installer script compiled as a 64-bit program, which the tests run on
# machines that cannot execute the 32-bit installer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

version=$(bash scripts/version.sh)
work=build/package
dist=dist

# Both builds; a no-op when the test command has just built them.
for preset in i686 x86_64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target Tessara deskhook
done

# CRLF line ends: the files are read with Notepad.
to_crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

licence=""
for name in LICENSE LICENSE.txt LICENSE.md COPYING; do
    [[ -f $name ]] && { licence=$name; break; }
done

# stage ARCH PRESET MACHINE DESCRIPTION: the files of one build in $work/ARCH.
stage() {
    local arch=$1 preset=$2 machine=$3 description=$4
    local dir=$work/$arch
    rm -rf "$dir"
    mkdir -p "$dir"
    local file
    for file in Tessara.exe deskhook.dll; do
        "$machine-w64-mingw32-strip" -o "$dir/$file" "build/$preset/bin/$file"
    done
    sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@ARCHTEXT@/$description/" \
        package/README.txt >"$dir/README.in"
    to_crlf "$dir/README.in" "$dir/README.txt"
    rm "$dir/README.in"
    [[ -n $licence ]] && to_crlf "$licence" "$dir/LICENSE.txt"
    [[ -d help ]] && cp -r help "$dir/help"
    return 0
}

stage win32 i686 i686 "32-bit Windows"
stage win64 x86_64 x86_64 "64-bit Windows"

mkdir -p "$dist"
for arch in win32 win64; do
    zip_file=$PWD/$dist/Tessara-$version-$arch.zip
    rm -f "$zip_file"
    (cd "$work/$arch" && zip -q -X -r "$zip_file" .)
done

# installer OUTFILE [EXTRA makensis options]
installer() {
    local out=$1
    shift
    rm -f "$out"
    makensis -V2 -WX -INPUTCHARSET UTF8 \
        -DVERSION="$version" -DSTAGE32="$PWD/$work/win32" -DSTAGE64="$PWD/$work/win64" \
        -DICON="$PWD/build/x86_64/ui/tessara.ico" -DOUTFILE="$PWD/$out" "$@" package/tessara.nsi
}

installer "$dist/Tessara-$version-setup.exe"
installer "$work/Tessara-$version-setup-amd64.exe" -DAMD64

ls -l "$dist"/Tessara-"$version"-*
