#!/bin/bash
# A window hidden and shown again comes back with the frame it stood at, and goes on turning
# from there. On X11 the frames reach the screen past the toolkit's back buffer, so the picture
# that buffer last held must never come back by itself.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto
check "the start-up run turns" changes_within 3 15

# Shown again, the window is repainted in the next event step, which may be a pass away.
hide_and_show() {
    xdotool windowminimize "$WID"
    wait_until 20 not_viewable || fail "the window was not hidden"
    activate_window || fail "the window did not come back"
    wait_until 10 shows_a_frame || fail "no frame within 10 s of showing the window again"
}
not_viewable() { ! is_viewable; }

# The start-up run's first stop request steps once more and then stands.
keys asterisk
stood=$(settled_frame 1000 10000) || fail "the cam did not come to rest"
hide_and_show
shown=$(settled_frame 500 10000) || true
check "shown again while stopped: frame $stood, as before hiding (got $shown)" test "$shown" = "$stood"

seen=$(observe from-sent min-changes=1 1000 10000 keys period)
check ". after showing again steps one frame forward and stays" judge "$seen" steps '^1$'

# Hidden while running: every frame seen after showing again is a frame, in order.
observe from-sent changes=3 10000 10000 keys plus >/dev/null
hide_and_show
check "running again after showing: 4 changes within 10 s, every sample a frame exactly, one \
frame forward at a time" changes_within 4 10 exact steps '^1(,1)*$'
finish
