#!/bin/bash
# Sets up whatever is missing, builds everything and runs every test: the
# portable core natively under sanitizers (with short fuzz runs), then both
# Windows builds under Wine. Pass and fail come from ctest's exit code; the
# counts come from its JUnit report.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

presets=(host i686 x86_64)
for preset in "${presets[@]}"; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
done

# Prints "passed failed" for a JUnit report of ctest: a test case passed when
# it ran without failing; one that failed, was not run or was disabled did not.
count_results() {
    python3 - "$1" <<'PY'
import sys
import xml.etree.ElementTree as ET
cases = ET.parse(sys.argv[1]).getroot().iter("testcase")
statuses = [case.get("status", "fail") for case in cases]
passed = statuses.count("run")
print(passed, len(statuses) - passed)
PY
}

passed=0
failed=0
status=0
for preset in "${presets[@]}"; do
    echo "== test $preset"
    report=$PWD/build/$preset/ctest-junit.xml
    rm -f "$report"
    ctest --preset "$preset" --output-junit "$report" || status=1
    if counts=$(count_results "$report" 2>/dev/null); then
        read -r preset_passed preset_failed <<<"$counts"
        passed=$((passed + preset_passed))
        failed=$((failed + preset_failed))
    else
        echo "== no test report for $preset"
        status=1
    fi
done

echo "$passed passed, $failed failed"
exit $status
