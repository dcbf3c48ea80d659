#!/bin/bash
# Prints the program's version ("1.0.0") from base/version.h, its one source,
# after checking that its text and its numbers agree.
set -euo pipefail
header="$(dirname "$0")/../base/version.h"

number() { sed -n "s/^#define TESSARA_VERSION_$1 \([0-9][0-9]*\)\$/\1/p" "$header"; }

version="$(number MAJOR).$(number MINOR).$(number PATCH)"
text=$(sed -n 's/^#define TESSARA_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
if [[ ! $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ || $text != "$version" ]]; then
    echo "version.sh: $header gives numbers '$version' and text '$text'" >&2
    exit 1
fi
echo "$version"
