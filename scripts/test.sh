#!/bin/bash
# Sets up whatever is missing, builds everything and runs every test: the
# portable core natively under sanitizers (with short fuzz runs), then both
# Windows builds under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

presets=(host i686 x86_64)
for preset in "${presets[@]}"; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
done

passed=0
failed=0
status=0
for preset in "${presets[@]}"; do
    echo "== test $preset"
    log=build/$preset/ctest.log
    ctest --preset "$preset" 2>&1 | tee "$log"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    else
        status=1
    fi
done

echo "$passed passed, $failed failed"
exit $status
