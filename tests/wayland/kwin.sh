#!/bin/bash
# The window on KDE Plasma's compositor, kwin_wayland, which offers to draw title bars: kelto
# asks to draw its own and KWin agrees, so the program's bar is the only one; with its one size
# as minimum and maximum, neither maximise (Meta+PgUp) nor a resize (Meta with the right button
# dragged) changes the window. Frames change, each shown exactly and in order, and Esc quits
# with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1100 860
start_kwin
KELTO_WAYLAND_DEBUG=1 start_kelto

check_terms_asked
client_side_agreed() { [ "$(protocol_log told-modes)" = "1 " ]; }
check "KWin agrees: the program draws it (answers: $(protocol_log told-modes))" client_side_agreed
check "one title bar: the program's, with the whole caption" wait_until 5 probe caption "$CAPTION"
check "one title bar: none of KWin's above it" probe nothing-above

check_frames_run

read -r x y digest _ < <(stop_and_look) || fail "no client to look at"
client_as_before() { same_client "$x" "$y" "$digest"; }

keys super+Prior
sleep 1.5
check "Meta+PgUp does not maximise the window" client_as_before

xdotool mousemove --window "$OUTPUT" $((x + 400)) $((y + 400)) keydown super mousedown 3 \
    mousemove --window "$OUTPUT" $((x + 300)) $((y + 300)) sleep 0.2 \
    mousemove --window "$OUTPUT" $((x + 600)) $((y + 560)) sleep 0.3 mouseup 3 keyup super
use_output
sleep 1
check "Meta with the right button dragged does not resize the window" client_as_before

probe save "$WORK/kwin.png" || true
check_esc_quits 5
finish
