#!/bin/bash
# The README's screenshot is what today's program shows: docs/take-screenshot.sh, as the docs
# give it, must draw docs/screenshot.png pixel for pixel, and must leave the clone as it was.
# Exits 77 (a skip) without the X tools (scripts/install-deps.sh --with-tests).
# Usage: check_screenshot.sh <build-dir> <source-dir>
set -euo pipefail
build=$1 source=$2
for tool in Xvfb openbox xdotool import compare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
clone_state() { git -C "$source" status --porcelain 2>/dev/null || true; }
before=$(clone_state)

bash "$source/docs/take-screenshot.sh" "$build" 2 "$work/screenshot.png"
[[ $(clone_state) == "$before" ]] || fail "taking the screenshot changed the clone:
$(clone_state)"
differ=$(compare -metric AE "$work/screenshot.png" "$source/docs/screenshot.png" null: 2>&1) ||
    true
[[ $differ == 0 ]] || fail "docs/screenshot.png is not what the program shows ($differ pixels differ);
renew it with: docs/take-screenshot.sh $build 2 docs/screenshot.png"
echo "docs/screenshot.png is what the program shows today"
