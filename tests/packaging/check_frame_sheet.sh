#!/bin/bash
# The committed frame sheet is what the generator draws today, byte for byte: the picture in
# the docs is the program's, and renewing it as the docs say leaves the clone unchanged.
# Usage: check_frame_sheet.sh <kelto_frame_generator> <committed sheet>
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" --sheet "$work/frames.png" >/dev/null
"$1" --sheet "$work/again.png" >/dev/null
cmp -s "$work/frames.png" "$work/again.png" ||
    { echo "FAIL: two sheets of the same drawings differ in their bytes" >&2; exit 1; }
cmp -s "$work/frames.png" "$2" ||
    { echo "FAIL: $2 is not what the generator draws; renew it with: $1 --sheet $2" >&2; exit 1; }
echo "the frame sheet is what the generator draws, byte for byte"
