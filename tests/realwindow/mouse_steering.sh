#!/bin/bash
# Mouse steering: a click turns it on, each vertical move then steps the cam one frame, and a
# second click gives back the run that was going when steering began. A steering move is
# exactly one step and nothing more while the pointer rests: steering passes take 20 ms, so
# 600 ms without a change is a rest of some thirty passes.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

# Runs after a second click go at the steering pace (20 ms a pass) that the last steering move
# left: no normal-mode move comes between. At that pace changes are still under way when a move
# arrives, more of them the busier the machine, so a stopped run may show a few more frames in
# its direction before it rests; it must never step the other way.
step='from-sent min-changes=1 600 10000'
run_cases <<EOF
# First time in the mode, from standstill: the first move is compared with 0.
-                       | keys asterisk           |                     | no * typed
-                       | pointer_inner 200 300   |                     | no pointer move
-                       | settled_frame 1000 15000 |                    | no standstill after *
from-sent 1000 10000    | click                   | steps ^$            | the click alone changes nothing
$step | pointer_inner 200 290 | steps ^1$ rests 600  | first steering move, upward on screen but below row 0: one step forward, then a rest
$step | pointer_inner 200 280 | steps ^-1$ rests 600 | moving up: one step back
$step | pointer_inner 200 285 | steps ^1$ rests 600  | moving down: one step forward
$step | pointer_inner 200 290 | steps ^1$ rests 600  | moving down again: one more
$step | pointer_inner 200 295 | steps ^1$ rests 600  | and again
$step | pointer_inner 230 295 | steps ^1$ rests 600  | moving sideways counts as down: one step forward
$step | pointer_inner 230 292 | steps ^-1$ rests 600 | moving up by 3 pixels: one step back
$step | pointer_inner 230 310 | steps ^1$ rests 600  | a long move down is still one step
from-sent 1000 10000    | click                   | still               | second click gives back the standstill it saved
# A forward run saved, steered back, resumed forward from where steering left it.
-                       | keys plus               |                     | no + typed
-                       | click                   |                     | no click
600 10000               | pointer_inner 200 160   | all 1 rests 600     | first steering move in a forward run stops it, never stepping back
$step | pointer_inner 200 150 | steps ^-1$ rests 600 | moving up: one step back
$step | pointer_inner 200 140 | steps ^-1$ rests 600 | moving up: one more step back
$step | pointer_inner 200 130 | steps ^-1$ rests 600 | and one more
-                       | click_gap               |                     | no gap
from-sent changes=12 15000 15000 | click          | fast 1 starts-at @last | second click resumes the forward run, from where steering left it
# A backward run saved and resumed.
-                       | keys minus              |                     | no - typed
-                       | click                   |                     | no click
600 10000               | pointer_inner 200 140   | all -1 rests 600    | first steering move in a backward run stops it, never stepping forward
$step | pointer_inner 200 150 | steps ^1$ rests 600  | moving down: one step forward
$step | pointer_inner 200 160 | steps ^1$ rests 600  | moving down: one more
-                       | click_gap               |                     | no gap
from-sent changes=12 15000 15000 | click          | fast -1 starts-at @last | second click resumes the backward run, from where steering left it
# A later steering session compares with the last Y of the previous one (row 160).
-                       | keys asterisk           |                     | no * typed
-                       | settled_frame 1000 15000 |                    | no standstill after *
from-sent 1000 10000    | pointer_inner 100 40    | still               | back in the normal mode a move steps nothing
-                       | click                   |                     | no click
$step | pointer_inner 100 120 | steps ^-1$ rests 600 | row 120 after row 160 of the last session is a move up: one step back
$step | pointer_inner 100 121 | steps ^1$ rests 600  | then one row down: one step forward
-                       | click                   |                     | no click
EOF

check_esc_quits
finish
