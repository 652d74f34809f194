#!/bin/bash
# The window opens under a pointer that has not moved, with and without a window manager: a
# click there switches mouse steering on and off but, with no move, leaves the start pace
# (about four frames a second) alone. Then a real move over the picture does set it.
# A busy machine only slows the cam, so "at most 14 changes in 2 s" (eight at the start pace)
# holds for the start pace, and "40 changes within 5 s" shows a fast one; any pointer move
# over the picture, real or made up by the desktop, sets a pace fifty times the start one.
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"

start_pace() { at_most_changes 14 2000; }
fast_pace() { changes_within 40 5 exact; }

for wm in none openbox; do
    # Where the window will open: at the top-left corner without a window manager, in the
    # middle of the screen with openbox; this point lies in both.
    KELTO_WM=$wm
    start_display
    START_POINTER="400 400" start_kelto
    read -r x y < <(xdotool getmouselocation --shell | awk -F= '/^X=/ {x = $2} /^Y=/ {y = $2} END {print x, y}')
    read -r left top < <(xwininfo -id "$WID" |
        awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
    log "$wm: pointer at $x,$y; picture area from $left,$top"
    check "$wm: the window opened under the pointer" \
        test "$x" -ge $((left + 2)) -a "$y" -ge $((top + 2)) -a "$x" -lt $((left + 481)) -a "$y" -lt $((top + 481))
    click
    check "$wm: a click in place keeps the start pace: at most 14 changes in 2 s" start_pace
    click
    check "$wm: and so does the second click" start_pace
    # A real move to the picture's top-left part: the fastest paces.
    xdotool mousemove $((left + 12)) $((top + 12))
    check "$wm: a move over the picture sets a fast pace: 40 changes within 5 s" fast_pace
    keys Escape
    await_exit 10
    stop_display
done
finish
