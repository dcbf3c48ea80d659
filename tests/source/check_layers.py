#!/usr/bin/env python3
"""Fails when a source folder includes a header of a folder above it.

The folders are layered, lowest first; each may include its own headers and
those of the folders below it. Usage: check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

LAYERS = ["base", "deskhook", "settings", "desklink", "icons", "hiding", "colours",
          "ui", "support", "testmode", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.MULTILINE)


def upward_includes(root):
    rank = {name: level for level, name in enumerate(LAYERS)}
    for folder in LAYERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".rc"):
                continue
            for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                if included in rank and rank[included] > rank[folder]:
                    yield f"{path.relative_to(root)} includes {included}/"


def main():
    found = list(upward_includes(pathlib.Path(sys.argv[1])))
    for line in found:
        print(line)
    print(f"{len(found)} includes upward")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
