#!/usr/bin/env bash
# Builds with warnings as errors and runs every test: core, offscreen window and real window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --with-tests
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
ctest --preset ci -j 2
