#!/bin/bash
# Mouse steering: a click turns it on, each vertical move then steps the cam one frame, and a
# second click gives back the run that was going when steering began.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

# One steering move: exactly one step, and nothing more while the pointer rests.
steer_to() {  # steer_to X Y EXPECTED_STEP DESCRIPTION
    OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 300 2000 pointer_inner "$1" "$2"
    check "$4" steps_match "^$3\$"
    check "... and the cam rests after it" test "$STABLE_MS" -ge 300
}

# --- First time in the mode, from standstill: the first move is compared with 0. ---
keys asterisk
pointer_inner 200 300
settled_frame 600 5000 >/dev/null || fail "no standstill after *"
OBSERVE_FROM=sent observe 600 2000 click
check "the click alone changes nothing" steps_match '^$'

steer_to 200 290 1 "first steering move, upward on screen but below row 0: one step forward"
steer_to 200 280 -1 "moving up: one step back"
steer_to 200 285 1 "moving down: one step forward"
steer_to 200 290 1 "moving down again: one more"
steer_to 200 295 1 "and again"
steer_to 230 295 1 "moving sideways counts as down: one step forward"
steer_to 230 292 -1 "moving up by 3 pixels: one step back"
steer_to 230 310 1 "a long move down is still one step"

OBSERVE_FROM=sent observe 1000 3000 click
check "second click gives back the standstill it saved" steps_match '^$'

# Runs below go at the steering pace (20 ms a pass) that the last steering move left: no
# normal-mode move comes between. At that pace a change may still be under way when a move
# arrives, so a stopped run may show one or two more frames before it rests.

# --- Forward run saved, steered back, resumed forward from where steering left it. ---
keys plus
click
observe 300 2000 pointer_inner 200 160
check "first steering move in a forward run stops it" steps_match '^(1( 1)?)?$'
check "... and the cam rests" test "$STABLE_MS" -ge 300
steer_to 200 150 -1 "moving up: one step back"
steer_to 200 140 -1 "moving up: one more step back"
steer_to 200 130 -1 "and one more"
left_at=$(last_frame)
click_gap
OBSERVE_FROM=sent observe 800 800 click
check "second click resumes the forward run, at the steering pace" runs_fast 1
check "... from frame $left_at, where steering left it" test "${SEQUENCE%% *}" -eq "$left_at"

# --- Backward run saved and resumed. ---
keys minus
click
observe 300 2000 pointer_inner 200 140
check "first steering move in a backward run stops it" steps_match '^(-1( -1)?)?$'
check "... and the cam rests" test "$STABLE_MS" -ge 300
steer_to 200 150 1 "moving down: one step forward"
steer_to 200 160 1 "moving down: one more"
left_at=$(last_frame)
click_gap
OBSERVE_FROM=sent observe 800 800 click
check "second click resumes the backward run" runs_fast -1
check "... from frame $left_at, where steering left it" test "${SEQUENCE%% *}" -eq "$left_at"

# --- A later steering session compares with the last Y of the previous one (row 160). ---
keys asterisk
settled_frame 600 5000 >/dev/null || fail "no standstill after *"
OBSERVE_FROM=sent observe 1000 3000 pointer_inner 100 40
check "back in the normal mode a move steps nothing" stands_still
click
steer_to 100 120 -1 "row 120 after row 160 of the last session is a move up: one step back"
steer_to 100 121 1 "then one row down: one step forward"
click

keys Escape
await_exit 5
check "ESC ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
finish
