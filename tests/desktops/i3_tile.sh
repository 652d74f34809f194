#!/bin/bash
# The viewer tiled by i3 against its size hints (a rule turns floating off), as a user who
# tiles everything meets it: the window takes the tile's size, and the client shows its
# 483x483 picture at the top left and one background colour elsewhere, nothing of the picture
# area's hidden part and none of its edge lines; frames go on changing, a resize request changes
# nothing of that, floating it again brings back 483x483, and Esc quits with status 0.
KELTO_WM=i3
KELTO_I3_RULES='for_window [class=".*"] floating disable'
# The probe looks at the top-left square of a client that the tile made larger.
export KELTO_PROBE_TOP_LEFT=1
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
{ command -v i3-msg && command -v convert; } >/dev/null || { echo "SKIP: no i3-msg or convert"; exit 77; }

start_display
start_program "$KELTO_BIN"
check "i3 frames the window" wait_until 10 framed_window "$WID"
IFS=x read -r width height < <(client_size)
log "client ${width}x$height"
{ [ "$width" -gt 483 ] && [ "$height" -gt 483 ]; } || fail "i3 did not tile the window"

# The number of colours in a part of the shot, and the first pixel's.
colours() { convert "$WORK/tile.png" -crop "$1" +repage -format '%k %[pixel:p{0,0}]' info:; }
# A shot of the whole client shows a frame's picture at the top left, and only one colour to
# its right and below it: the window's background.
plain_outside() {
    screenshot "$WORK/tile.png" || return 1
    local right below
    right=$(colours "$((width - 483))x483+483+0")
    below=$(colours "${width}x$((height - 483))+0+483")
    log "right of the client square: $right; below it: $below"
    [ "${right%% *}" = 1 ] && [ "$right" = "$below" ]
}
check "the picture shows at the top left" shows_a_frame
check "one background colour right of and below the 483x483 square" plain_outside
check "frames change" changes_within 3 10

xdotool windowsize "$WID" 600 600
sleep 1
check "after a resize request: still tiled ($(client_size))" test "$(client_size)" = "${width}x$height"
check "after a resize request: the picture and one background colour" plain_outside

i3-msg -q "[id=$WID] floating enable" || fail "i3-msg could not float the window"
is_square() { [ "$(client_size)" = 483x483 ]; }
check "floating again, the client is 483x483" wait_until 5 is_square
check "floating: frames change" changes_within 3 10

check_esc_quits
finish
