#!/bin/bash
# Every way out ends the program at once with status 0 and no message; a double-click over
# the picture area's edge is not a way out.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display

# Double-click while running.
start_kelto
pointer_inner 240 240
xdotool click --repeat 2 --delay 80 1
ends_with 0 "a double-click on the picture"

# The edge takes no clicks: a double-click there leaves the program running. Events are taken
# in order, so once a "*" typed after the clicks has stopped the cam, the clicks were read.
start_kelto
xdotool mousemove --window "$WID" 1 1 click --repeat 2 --delay 80 1
frame=$(current_frame) || fail "window shows no holder picture"
check "the cam still turns after a double-click on the 2-pixel edge" change_from "$frame" 15000
keys asterisk
check "... a * typed after it stops the cam" settled_frame 1000 15000
check "... and the program still runs" kelto_alive
check_esc_quits

# ESC while mouse steering is on.
start_kelto
pointer_inner 100 100
click
pointer_inner 100 110
# Steering holds the cam: it rests, which the start-up run never does.
check "steering is on before ESC" settled_frame 1000 15000
keys Escape
ends_with 0 "ESC in mouse-steering mode"

# A close from the desktop: openbox closes the active window on Alt+F4.
start_kelto
keys alt+F4
ends_with 0 "a close from the window manager"
finish
