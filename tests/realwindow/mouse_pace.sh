#!/bin/bash
# The pointer sets the pace: anywhere over the picture is much faster than the start pace,
# over the picture area's edge nothing happens, and the pace stays when the pointer leaves.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

frame_rate 2000
start_rate=$RATE
check "start pace is about 4 frames/s (got $start_rate)" test "$start_rate" -ge 2 -a "$start_rate" -le 6

# The 2-pixel edge and the title bar report no move: the start pace holds.
for spot in "0 0" "1 1" "1 240" "481 240" "240 1" "240 -10"; do
    read -r x y <<<"$spot"
    xdotool mousemove --window "$WID" "$x" "$y"
    sleep 0.05
done
frame_rate 1500
check "moves over the edge leave the start pace (got $RATE/s)" test "$RATE" -le 6

# Top-left of the inner area: no wait at all between passes.
pointer_inner 0 0
frame_rate 1500
fast_rate=$RATE
check "pointer at the top-left turns the cam much faster (got $fast_rate/s vs $start_rate/s)" \
    test "$fast_rate" -ge 20 -a "$fast_rate" -ge $((4 * start_rate))

# The slowest spot of the visible picture, bottom-right, is still far faster than the start.
pointer_inner 478 480
frame_rate 1500
check "pointer at the bottom-right is still much faster than the start (got $RATE/s)" \
    test "$RATE" -ge 20
# There the product is 19491 idle iterations, about 4.9 ms a pass: never above 205 frames/s.
check "... yet it follows the product: at most 205 frames/s" test "$RATE" -le 205

# Leaving the window keeps the pace the last move set.
xdotool mousemove 1010 750
frame_rate 1500
check "pointer outside the window keeps the fast pace (got $RATE/s)" test "$RATE" -ge 20

keys Escape
await_exit 5
check "ESC ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
finish
