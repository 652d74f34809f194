#!/bin/bash
# The window opens under a pointer that has not moved, with and without a window manager: a
# click there switches mouse steering on and off but, with no move, leaves the start pace
# (about four frames a second) alone. Then a real move over the picture does set it.
# A busy machine only slows the cam, so "at most 14 changes in 2 s" (eight at the start pace)
# holds for the start pace, and "40 changes within 5 s" shows a fast one; any pointer move
# over the picture, real or made up by the desktop, sets a pace fifty times the start one.
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"

# Where the window will open: at the top-left corner without a window manager, in the middle
# of the screen with openbox; 400,400 lies in both.
for KELTO_WM in none openbox; do
    start_display
    START_POINTER="400 400" start_kelto
    read -r x y < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    read -r left top < <(inner_origin)
    log "pointer at $x,$y; picture area's inner part from $left,$top"
    check "$KELTO_WM: the window opened under the pointer" test "$x" -ge "$left" -a "$y" -ge "$top" \
        -a "$x" -lt $((left + 479)) -a "$y" -lt $((top + 479))
    # A move to the picture's top-left part: the fastest paces.
    run_cases <<EOF
2000 2000            | click | changes-at-most 14 | $KELTO_WM: a click in place keeps the start pace: at most 14 changes in 2 s
2000 2000            | click | changes-at-most 14 | $KELTO_WM: and so does the second click
changes=40 5001 5000 | xdotool mousemove $((left + 10)) $((top + 10)) | changes-at-least 40 exact | $KELTO_WM: a move over the picture sets a fast pace: 40 changes within 5 s
EOF
    keys Escape
    ends_with 0 "$KELTO_WM: ESC"
    stop_display
done
finish
