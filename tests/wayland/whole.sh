#!/bin/bash
# Every pixel of the client area on Wayland, edge and background included, after each of 18
# single steps: the frame cut off at the inner area, the edge whole, the background row.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1100 860
start_weston --width=1024 --height=768
start_kelto

keys asterisk
status=0
probe whole 18 >"$WORK/whole.txt" || status=$?
sed 's/^/  frame /' "$WORK/whole.txt"
check "the whole window is as it must be, stopped and after each of 18 steps" \
    test "$(grep -c ' none$' "$WORK/whole.txt")" -eq 19
check "... each step one frame on (probe status $status)" test "$status" -eq 0
finish
