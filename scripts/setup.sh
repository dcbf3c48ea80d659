#!/bin/bash
# Installs whatever the build, the tests and the demo need from Debian's
# archive; does nothing when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build python3 git procps
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine32 wine64 xvfb xauth imagemagick
    clang clang-format-14 libclang-rt-14-dev googletest libbenchmark-dev
    nsis zip 7zip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
# wine32 comes from the i386 architecture.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
