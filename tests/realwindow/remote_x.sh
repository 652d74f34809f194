#!/bin/bash
# The viewer on a TCP connection to the X server, as over ssh -X or from a thin client: at the
# fastest pace it must never get ahead of what the server has drawn, or the copies queue up in
# the connection and the screen falls seconds behind. After a while at that pace, "*" stops the
# picture on screen and Esc closes the window at once, not after the queue has drained.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

KELTO_XVFB_ARGS="-listen tcp" start_display
# Only the viewer talks over TCP; the window manager and the probe keep the local socket.
start_program env DISPLAY="127.0.0.1:$DISPLAY_NUMBER" "$KELTO_BIN"
# The pointer near the picture's top-left corner sets the fastest pace; a backlog would build
# for the whole stretch.
pointer_inner 4 4
check "the fastest pace turns the cam" changes_within 18 30
sleep 10
# Generous for a busy machine: a connection that queued ten seconds of copies takes longer.
seen=$(observe 1000 5000 keys asterisk)
check "after * the picture stands still on screen" judge "$seen" rests 1000
check_esc_quits 5
finish
