#!/bin/bash
# A window destroyed under the viewer by another client ends the program: it says so in one
# line and ends with status 1 instead of running on without a window. Whether the cam turns
# (each pass copies a frame into the window) or stands still (nothing is copied) must not
# matter.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
: "${KELTO_DESTROY_WINDOW:?path of destroy_window}"

start_display
# Each row: the case, and the keys typed before the window is destroyed (- for none).
for row in "running -" "standing_still asterisk"; do
    read -r case typed <<<"$row"
    start_kelto
    # A whole turn first: every frame's bitmap is then on the server.
    check "$case: the start-up run turns once round" changes_within 18 30
    if [ "$typed" != - ]; then
        keys "$typed"
        settled_frame 600 5000 >/dev/null || fail "$case: the cam does not stand still"
    fi

    "$KELTO_DESTROY_WINDOW" "$WID" || fail "$case: the window could not be destroyed"
    await_exit 20
    check "$case: a destroyed window ends the program with status 1 (got $EXIT_STATUS)" \
        test "$EXIT_STATUS" -eq 1
    lines=$(wc -l <"$WORK/kelto.err")
    log "$case: stderr: $(head -c 400 "$WORK/kelto.err")"
    check "... with one line on stderr (got $lines)" test "$lines" -eq 1
    check "... which says what failed" \
        grep -qx "kelto: error: cannot show a frame: its window was destroyed" "$WORK/kelto.err"
    check "... and leaves no core" \
        test -z "$(find "$WORK" -maxdepth 2 -name 'core*' -print -quit)"
done
finish
