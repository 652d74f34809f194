#!/bin/bash
# Mouse steering: a click turns it on, each vertical move then steps the cam one frame, and a
# second click gives back the run that was going when steering began.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

# One steering move: exactly one step, and nothing more while the pointer rests. Steering
# passes take 20 ms, so 600 ms without a change is a rest of some thirty passes.
steer_to() {  # steer_to X Y EXPECTED_STEP DESCRIPTION
    OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 600 10000 pointer_inner "$1" "$2"
    check "$4" steps_match "^$3\$"
    check "... and the cam rests after it" rests_after 600
}

# --- First time in the mode, from standstill: the first move is compared with 0. ---
keys asterisk
pointer_inner 200 300
settled_frame 1000 15000 >/dev/null || fail "no standstill after *"
OBSERVE_FROM=sent observe 1000 10000 click
check "the click alone changes nothing" steps_match '^$'

steer_to 200 290 1 "first steering move, upward on screen but below row 0: one step forward"
steer_to 200 280 -1 "moving up: one step back"
steer_to 200 285 1 "moving down: one step forward"
steer_to 200 290 1 "moving down again: one more"
steer_to 200 295 1 "and again"
steer_to 230 295 1 "moving sideways counts as down: one step forward"
steer_to 230 292 -1 "moving up by 3 pixels: one step back"
steer_to 230 310 1 "a long move down is still one step"

OBSERVE_FROM=sent observe 1000 10000 click
check "second click gives back the standstill it saved" stands_still

# Runs below go at the steering pace (20 ms a pass) that the last steering move left: no
# normal-mode move comes between. At that pace changes are still under way when a move
# arrives, more of them the busier the machine, so a stopped run may show a few more frames
# in its direction before it rests; it must never step the other way.

# --- Forward run saved, steered back, resumed forward from where steering left it. ---
keys plus
click
observe 600 10000 pointer_inner 200 160
check "first steering move in a forward run stops it" all_steps 1
check "... and the cam rests" rests_after 600
steer_to 200 150 -1 "moving up: one step back"
steer_to 200 140 -1 "moving up: one more step back"
steer_to 200 130 -1 "and one more"
left_at=$(last_frame)
click_gap
OBSERVE_FROM=sent OBSERVE_CHANGES=12 observe 15000 15000 click
check "second click resumes the forward run" runs_fast 1
check "... from frame $left_at, where steering left it" test "${SEQUENCE%% *}" -eq "$left_at"

# --- Backward run saved and resumed. ---
keys minus
click
observe 600 10000 pointer_inner 200 140
check "first steering move in a backward run stops it" all_steps -1
check "... and the cam rests" rests_after 600
steer_to 200 150 1 "moving down: one step forward"
steer_to 200 160 1 "moving down: one more"
left_at=$(last_frame)
click_gap
OBSERVE_FROM=sent OBSERVE_CHANGES=12 observe 15000 15000 click
check "second click resumes the backward run" runs_fast -1
check "... from frame $left_at, where steering left it" test "${SEQUENCE%% *}" -eq "$left_at"

# --- A later steering session compares with the last Y of the previous one (row 160). ---
keys asterisk
settled_frame 1000 15000 >/dev/null || fail "no standstill after *"
OBSERVE_FROM=sent observe 1000 10000 pointer_inner 100 40
check "back in the normal mode a move steps nothing" stands_still
click
steer_to 100 120 -1 "row 120 after row 160 of the last session is a move up: one step back"
steer_to 100 121 1 "then one row down: one step forward"
click

keys Escape
await_exit 20
check "ESC ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
finish
