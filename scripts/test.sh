#!/usr/bin/env bash
# Builds and runs every test, stage after stage, even when one fails: a short fuzz run of the
# picture block decoder, the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the whole suite again in a release build with warnings as errors (core, offscreen
# window, real window, packaging, robustness). Reports each stage; fails at the end if any
# failed, and the last lines say which.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
bash scripts/install-deps.sh --with-tests || exit 1
jobs=$(nproc)
((jobs <= 2)) || jobs=2

passed=() failed=()
stage() {  # stage NAME COMMAND...
    local name=$1
    shift
    echo "=== $name"
    if "$@"; then
        passed+=("$name")
        echo "=== $name: passed"
    else
        failed+=("$name")
        echo "=== $name: FAILED"
    fi
}
suite() {  # suite PRESET: configure, build, test
    cmake --preset "$1" && cmake --build --preset "$1" -j "$jobs" && ctest --preset "$1" -j 2
}

stage "fuzz run" bash fuzz/run.sh "${KELTO_FUZZ_SECONDS:-30}"
stage "sanitizer suite (asan)" suite asan
stage "release suite (ci)" suite ci

echo
echo "passed: ${passed[*]:-none}"
if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all stages passed"
