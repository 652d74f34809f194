#!/bin/bash
# A frame the X server refuses to show ends the program: its window destroyed under it by
# another client, the next frame's copy fails, and the program says so in one line and
# ends with status 1 instead of turning on in a window nobody sees.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
: "${KELTO_DESTROY_WINDOW:?path of destroy_window}"

start_display
start_kelto
# A whole turn first: every frame's bitmap is then on the server, and what fails is a copy.
check "the start-up run turns once round" changes_within 18 30

"$KELTO_DESTROY_WINDOW" "$WID" || fail "the window could not be destroyed"
await_exit 20
check "a refused frame ends the program with status 1 (got $EXIT_STATUS)" \
    test "$EXIT_STATUS" -eq 1
lines=$(wc -l <"$WORK/kelto.err")
log "stderr: $(head -c 400 "$WORK/kelto.err")"
check "... with one line on stderr (got $lines)" test "$lines" -eq 1
check "... which says what failed" \
    grep -qx "kelto: error: cannot show a frame: the X server refused it (Bad[A-Za-z]*)" \
    "$WORK/kelto.err"
check "... and leaves no core" test -z "$(find "$WORK" -maxdepth 2 -name 'core*' -print -quit)"
finish
