#!/bin/bash
# The window opens under a pointer that has not moved, with and without a window manager: a
# click there switches mouse steering on and off but, with no move, leaves the start pace
# (about four frames a second) alone. Then a real move over the picture does set it.
# shellcheck source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
# shellcheck source=window_managers.sh
. "$(dirname "$0")/window_managers.sh"
trap end_test EXIT

dump_holders
start_test_display 24
for wm in none openbox; do
    start_window_manager "$wm"
    # Where the window will open: at the top-left corner without a window manager, in the
    # middle of the screen with openbox; this point lies in both.
    xdotool mousemove 400 400
    "$KELTO_BIN" >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    wait_until 15 find_window || fail "$wm: no window"
    wait_until 10 shows_a_frame || fail "$wm: no frame shown"
    read -r x y < <(xdotool getmouselocation --shell | awk -F= '/^X=/ {x = $2} /^Y=/ {y = $2} END {print x, y}')
    read -r left top < <(xwininfo -id "$WID" |
        awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
    log "$wm: pointer at $x,$y; picture area from $left,$top"
    check "$wm: the window opened under the pointer" \
        test "$x" -ge $((left + 2)) -a "$y" -ge $((top + 2)) -a "$x" -lt $((left + 481)) -a "$y" -lt $((top + 481))
    if [ "$wm" != none ]; then
        timeout 10 xdotool windowactivate --sync "$WID" || fail "$wm: window not activated"
    fi
    click
    frame_rate 2000
    check "$wm: a click in place keeps the start pace ($RATE frames/s)" test "$RATE" -le 6
    click
    frame_rate 1500
    check "$wm: and so does the second click ($RATE frames/s)" test "$RATE" -le 6
    # A real move to the picture's top-left part: the fastest paces.
    xdotool mousemove $((left + 12)) $((top + 12))
    frame_rate 1500
    check "$wm: a move over the picture sets a fast pace ($RATE frames/s)" test "$RATE" -ge 20
    keys Escape
    await_exit 10
    stop_window_manager
done
finish
