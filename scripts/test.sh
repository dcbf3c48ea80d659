#!/bin/bash
# Sets up whatever is missing, builds everything and runs every test: the
# portable core natively under sanitizers (with short fuzz runs), then both
# Windows builds under Wine. Pass and fail come from ctest's exit code; the
# counts come from its JUnit report.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

# Wine runs 32-bit Windows programs through its 32-bit loader, which a kernel
# without IA-32 emulation cannot execute. There the 32-bit build's tests cannot
# run: they are counted as skipped, and said so.
can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

presets=(host i686 x86_64)
for preset in "${presets[@]}"; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null || exit 1
    if [[ $preset == i686 ]] && ! can_run_32bit; then
        # Its programs first, for the packages; its tests are compiled later,
        # beside the 64-bit tests, which mostly wait on windows.
        cmake --build --preset "$preset" --target Tessara deskhook || exit 1
        continue
    fi
    cmake --build --preset "$preset" || exit 1
done

# The release packages, from the builds above; their tests run with x86_64's.
echo "== package"
bash scripts/package.sh || exit 1

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
skipped=0
skip_reasons=()
status=0
for preset in "${presets[@]}"; do
    echo "== test $preset"
    if [[ $preset == i686 ]] && ! can_run_32bit; then
        count=$(ctest --preset "$preset" -N | grep -c '^ *Test *#')
        skipped=$((skipped + count))
        skip_reasons+=("$count tests of $preset skipped: this kernel cannot execute 32-bit programs (Wine's 32-bit loader fails)")
        echo "== ${skip_reasons[-1]}"
        # Still compiled, so that they build for both widths: at the lowest
        # priority and one job at a time, so as not to slow the timed tests.
        nice -n 19 cmake --build --preset "$preset" -j 1 >build/i686-tests.log 2>&1 &
        i686_tests_build=$!
        continue
    fi
    # Tests of 32-bit programs within the other presets, such as the
    # installer's, are labelled and skipped the same way.
    exclude=()
    if ! can_run_32bit; then
        count=$(ctest --preset "$preset" -N -L needs32bit | grep -c '^ *Test *#')
        if [[ $count -gt 0 ]]; then
            skipped=$((skipped + count))
            exclude=(-LE needs32bit)
            skip_reasons+=("$count tests of $preset skipped: they run 32-bit programs, which this kernel cannot execute")
            echo "== ${skip_reasons[-1]}"
        fi
    fi
    report=$PWD/build/$preset/ctest-junit.xml
    rm -f "$report"
    # The native tests and fuzzers share nothing, so they run side by side;
    # Windows tests share one desktop, and ctest's resource lock orders them.
    parallel=()
    [[ $preset == host ]] && parallel=(-j "$(nproc)")
    ctest --preset "$preset" --output-junit "$report" "${exclude[@]}" "${parallel[@]}" || status=1
    if counts=$(count_results "$report" 2>/dev/null); then
        read -r preset_passed preset_failed <<<"$counts"
        passed=$((passed + preset_passed))
        failed=$((failed + preset_failed))
    else
        echo "== no test report for $preset"
        status=1
    fi
done

if [[ -n ${i686_tests_build:-} ]]; then
    if wait "$i686_tests_build"; then
        echo "== i686 tests built"
    else
        cat build/i686-tests.log
        echo "== i686 tests failed to build"
        status=1
    fi
fi

if [[ $skipped -gt 0 ]]; then
    # Said again at the end, so that a skipped half cannot pass unnoticed.
    printf '== %s\n' "${skip_reasons[@]}"
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
exit $status
