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
    ends_with 1 "$case: a destroyed window" 20 'cannot show a frame: its window was destroyed'
done
finish
