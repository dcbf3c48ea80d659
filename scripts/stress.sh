#!/bin/bash
# Reliability figures under Wine against the stand-in desktop shell: builds
# the stress programs of tests/stress and runs each, printing one line per
# figure. The long run is the default; `--short` (or TESSARA_STRESS_SHORT=1)
# runs the short version that the test command runs too.
#
#   bash scripts/stress.sh [--short]
#
# Both Windows builds are built; the 32-bit one runs only where the kernel
# can execute 32-bit programs (see scripts/test.sh).
set -uo pipefail
cd "$(dirname "$0")/.."

short=${TESSARA_STRESS_SHORT:-0}
for arg in "$@"; do
    case "$arg" in
    --short) short=1 ;;
    *) echo "usage: $0 [--short]" >&2; exit 2 ;;
    esac
done
args=()
[[ $short == 1 ]] && args=(-short)

can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

presets=(x86_64)
if can_run_32bit; then
    presets=(i686 x86_64)
else
    echo "== i686 skipped: this kernel cannot execute 32-bit programs (Wine's 32-bit loader fails)"
fi

wine_dir=build/wine
status=0

# stress PRESET PROGRAM [ARGS...]: builds PROGRAM (and what it drives) and runs it.
stress() {
    local preset=$1 program=$2
    shift 2
    cmake --build --preset "$preset" --target "$program" >/dev/null || { status=1; return; }
    echo "== $program ($preset)"
    testbed/wine/wine-env run "$wine_dir" "build/$preset/bin/$program.exe" "$@" || status=1
}

for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null || exit 1
    stress "$preset" reliability_stress "${args[@]}" # figures 1-4 and 6
    stress "$preset" roundtrip_stress "${args[@]}" # figure 5
done
testbed/wine/wine-env stop "$wine_dir"
exit $status
