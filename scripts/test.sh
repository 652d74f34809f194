#!/usr/bin/env bash
# Builds and runs every test: a short fuzz run of the picture block decoder, the whole suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite again in a
# release build with warnings as errors (core, offscreen window, real window, packaging,
# robustness).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --with-tests
jobs=$(nproc)

bash fuzz/run.sh "${KELTO_FUZZ_SECONDS:-30}"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j 2

cmake --preset ci
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j 2
