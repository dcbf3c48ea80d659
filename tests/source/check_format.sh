#!/bin/bash
# Fails when a C++ source of the tree differs from its .clang-format, and
# names those files. Usage: check_format.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
mapfile -t sources < <(find app base colours deskhook desklink hiding icons settings support \
    testbed testmode tests ui -name '*.cpp' -o -name '*.h' | sort)
differing=$(clang-format-14 --dry-run "${sources[@]}" 2>&1 | grep -o '^[^:]*\.\(cpp\|h\):' | sort -u)
if [[ -n $differing ]]; then
    echo "$differing"
    echo "$(wc -l <<<"$differing") files differ from .clang-format: run clang-format-14 -i on them"
    exit 1
fi
echo "${#sources[@]} files as .clang-format has them"
