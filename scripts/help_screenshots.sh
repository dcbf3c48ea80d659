#!/usr/bin/env bash
# Refreshes the pictures of the settings window's tabs in help/images/ from
# the window images that the Wine test of the settings pages saves
# (ScreenshotOfEveryPage). Run it after changing how the window looks, look
# at the pictures, and commit them: the help folder ships as it is in the tree.
#
#   bash scripts/help_screenshots.sh [PRESET]   (default x86_64)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-x86_64}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target ui_program_pages_test
GTEST_FILTER='*ScreenshotOfEveryPage' \
    ctest --preset "$preset" -R '^ui_program_pages_test$' --output-on-failure
mkdir -p help/images
for page in colors hiding positions desktop tray options about; do
    # Recompressed and without metadata: the test's own PNGs are stored uncompressed.
    convert "build/$preset/screenshots/help_$page.png" -strip -define png:compression-level=9 \
        "help/images/$page.png"
done
ls -l help/images
