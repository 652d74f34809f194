#!/usr/bin/env bash
# Builds the viewer and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release -DKELTO_BUILD_TESTS=OFF
cmake --build --preset release -j "$(nproc)"
exec ./build/release/src/kelto
