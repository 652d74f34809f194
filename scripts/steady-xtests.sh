#!/usr/bin/env bash
# Proof of steadiness: runs the tests on a display and the robustness tests (labels x11,
# wayland, desktops and robustness) of the sanitizer build several times in a row, with two CPU-bound processes
# beside them the whole time, and reports each run.
#   scripts/steady-xtests.sh [RUNS] [TEST_REGEX]
# RUNS defaults to 5; TEST_REGEX (a ctest -R pattern) runs only the tests it names, for
# example desktop_mutter. It builds --preset asan first.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
runs=${1:-5}
selection=(-L 'x11|wayland|desktops|robustness')
[ -z "${2:-}" ] || selection=(-R "$2")
bash scripts/install-deps.sh --with-tests || exit 1
echo "steady-xtests: building the sanitizer build in build/asan"
cmake --preset asan >/dev/null && cmake --build --preset asan -j 2 || exit 1

hogs=()
end_hogs() {
    local pid
    for pid in "${hogs[@]}"; do kill "$pid" 2>/dev/null; done
    wait "${hogs[@]}" 2>/dev/null
}
trap end_hogs EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
for _ in 1 2; do
    bash -c 'while :; do :; done' &
    hogs+=($!)
done
echo "two CPU-bound processes beside the tests: ${hogs[*]}"

log=build/asan/steady-xtests.log
: >"$log"
results=()
failures=0
for ((run = 1; run <= runs; run++)); do
    start=$SECONDS
    echo "=== run $run of $runs, load $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$log"
    # -LE '^$' excludes nothing: the release-only tests run too, the ones that watch the pace.
    ctest --preset asan "${selection[@]}" -LE '^$' --output-on-failure >>"$log" 2>&1
    status=$?
    summary=$(grep -E 'tests passed|tests failed' "$log" | tail -n 1)
    results+=("run $run: $summary ($((SECONDS - start)) s)")
    echo "${results[-1]}"
    if ((status != 0)); then
        failures=$((failures + 1))
        grep -E '^\s+[0-9]+ - ' "$log" | tail -n 20
    fi
done
echo
printf '%s\n' "${results[@]}"
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg); full log: $log"
if ((failures)); then
    echo "FAILED: $failures of $runs runs"
    exit 1
fi
echo "all $runs runs passed"
