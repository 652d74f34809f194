#!/bin/bash
# The pointer sets the pace: anywhere over the picture is much faster than the start pace,
# over the picture area's edge nothing happens, and the pace stays when the pointer leaves.
# How fast each pace is belongs to the benchmark; this tells the slow start pace (four frames
# a second) from a fast one by conditions a busy machine cannot turn around: a busy machine
# only ever slows the cam, so "at most N changes in a while" holds for the slow pace, and "40
# changes within 5 s" (ten seconds' worth at the start pace) shows a fast one.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

slow_pace() { at_most_changes 7 1500; }  # six at the start pace, and one under way
fast_pace() { changes_within 40 5 exact; }

check "the start-up run turns" changes_within 2 10
check "... at the start pace" slow_pace

# The 2-pixel edge and the title bar report no move: the start pace holds.
for spot in "0 0" "1 1" "1 240" "481 240" "240 1" "240 -10"; do
    read -r x y <<<"$spot"
    xdotool mousemove --window "$WID" "$x" "$y"
    sleep 0.05
done
check "moves over the edge leave the start pace" slow_pace

# Top-left of the inner area: no wait at all between passes.
pointer_inner 0 0
check "pointer at the top-left turns the cam much faster: 40 changes within 5 s" fast_pace

# The slowest spot of the visible picture, bottom-right, is still far faster than the start.
pointer_inner 478 480
check "pointer at the bottom-right is still much faster than the start pace" fast_pace

# Leaving the window keeps the pace the last move set.
xdotool mousemove 1010 750
check "pointer outside the window keeps the fast pace" fast_pace

# And a move back over the edge does not bring the start pace back either.
xdotool mousemove --window "$WID" 1 1
check "a move over the edge after that keeps it too" fast_pace

check_esc_quits
finish
