#!/bin/bash
# Checks the packages that scripts/package.sh wrote to DIST and unpacks the
# zips into OUT/win32 and OUT/win64 for the Wine tests:
# - each zip holds exactly the program, its library, README.txt, and the
#   licence and help/ when the tree has them;
# - every shipped program imports at start only the Windows libraries that
#   every window program loads (the MinGW runtime is linked in; the others
#   are loaded at first use), besides Tessara.exe's own deskhook.dll;
# - every function loaded at first use reaches the delay-load helper
#   (delay_imports.py), on both widths, whether or not this machine can run
#   the 32-bit build;
# - the installer carries both builds and the uninstaller.
#   package_dist_test.sh DIST OUT
set -uo pipefail
dist=$(cd "${1:?dist folder}" && pwd) || exit 1
out=$(mkdir -p "${2:?unpack folder}" && cd "$2" && pwd) || exit 1
tree="$(cd "$(dirname "$0")/../.." && pwd)"
version=$(bash "$tree/scripts/version.sh") || exit 1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

startup_libraries=(advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll)

expected=(README.txt Tessara.exe deskhook.dll)
for name in LICENSE LICENSE.txt LICENSE.md COPYING; do
    [[ -f $tree/$name ]] && { expected+=(LICENSE.txt); break; }
done
if [[ -d $tree/help ]]; then
    while IFS= read -r file; do expected+=("help/$file"); done < <(cd "$tree/help" && find . -type f | sed 's|^\./||')
fi
expected_list=$(printf '%s\n' "${expected[@]}" | sort)

for arch in win32 win64; do
    zip_file=$dist/Tessara-$version-$arch.zip
    [[ -f $zip_file ]] || { fail "$zip_file is missing: run scripts/package.sh"; continue; }
    rm -rf "${out:?}/$arch"
    mkdir -p "$out/$arch"
    (cd "$out/$arch" && cmake -E tar xf "$zip_file") || { fail "$zip_file does not unpack"; continue; }
    listing=$(cd "$out/$arch" && find . -type f | sed 's|^\./||' | sort)
    [[ $listing == "$expected_list" ]] || fail "$arch zip holds [$(echo $listing)], expected [$(echo $expected_list)]"

    machine=i686
    [[ $arch == win64 ]] && machine=x86_64
    for binary in Tessara.exe deskhook.dll; do
        [[ -f $out/$arch/$binary ]] || continue
        while read -r library; do
            lower=${library,,}
            [[ $binary == Tessara.exe && $lower == deskhook.dll ]] && continue
            [[ " ${startup_libraries[*]} " == *" $lower "* ]] || fail "$arch/$binary imports $library at start"
        done < <("$machine-w64-mingw32-objdump" -p "$out/$arch/$binary" | sed -n 's/^\s*DLL Name: //p')
        python3 "$tree/tests/package/delay_imports.py" "$out/$arch/$binary" ||
            fail "$arch/$binary has delay-imported functions that jump nowhere"
    done
done

setup=$dist/Tessara-$version-setup.exe
if [[ -f $setup ]]; then
    payload=$(7zz l -ba "$setup" | awk '{print $NF}' | sort)
    for file in Tessara.exe deskhook.dll README.txt; do
        count=$(grep -cx "$file" <<<"$payload")
        [[ $count == 2 ]] || fail "the installer holds $count copies of $file, expected one per build"
    done
    grep -qx Uninstall.exe <<<"$payload" || fail "the installer holds no Uninstall.exe"
else
    fail "$setup is missing: run scripts/package.sh"
fi

[[ -f $tree/LICENSE || -f $tree/LICENSE.txt || -f $tree/LICENSE.md || -f $tree/COPYING ]] ||
    echo "note: the tree has no licence file, so the packages carry none"
if [[ $failures -gt 0 ]]; then
    echo "$failures package checks failed"
    exit 1
fi
echo "packages of $version checked"
