#!/bin/bash
# The committed frame sheet is what the generator draws today, byte for byte: the picture in
# the docs is the program's, and renewing it as the docs say leaves the clone unchanged.
# Usage: check_frame_sheet.sh <kelto_frame_generator> <committed sheet>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
"$1" --sheet "$work/frames.png" >/dev/null
"$1" --sheet "$work/again.png" >/dev/null
cmp -s "$work/frames.png" "$work/again.png" || fail "two sheets of the same drawings differ"
cmp -s "$work/frames.png" "$2" || fail "$2 is not what the generator draws; renew it: $1 --sheet $2"
echo "the frame sheet is what the generator draws, byte for byte"
