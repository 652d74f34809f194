#!/bin/bash
# The window on Wayland: the frame the program draws shows the whole caption and no buttons;
# maximise, full screen and resize from the compositor keep the 483x483 client as it is and the
# program running; Esc still quits with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1100 860
start_weston --width=1024 --height=768
KELTO_WAYLAND_DEBUG=1 start_kelto

check "the caption bar holds the whole caption, nothing else" wait_until 5 probe caption "$CAPTION"

read -r x y digest frame < <(stop_and_look) || fail "no client to look at"
client_as_before() { same_client "$x" "$y" "$digest"; }
unchanged_inside() { shows_frame "$frame"; }

# weston's desktop shell: Super+Shift+M maximises, Super+Shift+F fills the screen, Super with
# the right button dragged resizes.
keys super+shift+m
sleep 1
check "maximised: kelto runs and shows its frame 1:1" unchanged_inside
check "maximised: the whole client as it must be, in the frame's middle" \
    probe whole 600 20000 "$WORK/maximised.png"
keys super+shift+m
check "restored from maximised: client as before" wait_until 5 client_as_before

keys super+shift+f
sleep 1
check "full screen: kelto runs and shows its frame 1:1" unchanged_inside
keys super+shift+f
check "restored from full screen: client as before" wait_until 5 client_as_before

# Each part of the drag is given time: a busy weston that took the press before Super would
# hand it to kelto instead of resizing.
before=$(wc -l <"$WORK/kelto.err")
xdotool mousemove --window "$OUTPUT" $((x + 470)) $((y + 470)) sleep 0.2 keydown super sleep 0.3 \
    mousedown 3 sleep 0.2 mousemove --window "$OUTPUT" $((x + 700)) $((y + 640)) sleep 0.3 \
    mouseup 3 sleep 0.2 keyup super mousemove --window "$OUTPUT" 600 4
check "the drag resized in weston and never reached kelto as a press" \
    test "$(protocol_log buttons-since "$before")" -eq 0
check "resized: kelto runs and shows its frame 1:1" wait_until 5 unchanged_inside

seen=$(observe from-sent min-changes=1 1000 10000 keys asterisk)
check "keys still reach it: * steps one frame forward from $frame" \
    judge "$seen" starts-at "$frame" steps '^1$'

probe save "$WORK/window.png" || true
check_esc_quits 5
finish
