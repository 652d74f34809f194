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
if ! command -v i3-msg >/dev/null || ! command -v convert >/dev/null; then
    echo "SKIP: i3-msg or ImageMagick's convert is not installed"
    exit 77
fi

start_display
start_program "$KELTO_BIN"
check "i3 frames the window" wait_until 10 framed_window "$WID"

client_size() { xwininfo -id "$WID" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}'; }
read -r width height < <(client_size)
log "client ${width}x$height"
if [ "$width" -le 483 ] || [ "$height" -le 483 ]; then
    fail "i3 did not tile the window (${width}x$height)"
fi

# colours SHOT GEOMETRY: the distinct colours of a part of the shot, one a line.
colours() { convert "$1" -crop "$2" +repage -unique-colors txt:- | awk 'NR > 1 {print $3}'; }
# plain_outside: a shot of the whole client shows a frame's picture at the top left, and only
# one colour to its right and below it: the window's background.
plain_outside() {
    local shot="$WORK/tile.png" w h right below
    screenshot "$shot" || return 1
    read -r w h < <(identify -format '%w %h' "$shot")
    right=$(colours "$shot" "$((w - 483))x483+483+0")
    below=$(colours "$shot" "${w}x$((h - 483))+0+483")
    log "right of the client square: [$(tr '\n' ' ' <<<"$right")]," \
        "below it: [$(tr '\n' ' ' <<<"$below")]"
    [ "$(wc -l <<<"$right")" -eq 1 ] && [ "$right" = "$below" ]
}
check "the picture shows at the top left" shows_a_frame
check "one background colour right of and below the 483x483 square" plain_outside
check "frames change" changes_within 3 10

xdotool windowsize "$WID" 600 600
sleep 1
check "after a resize request: still tiled ($(client_size))" test "$(client_size)" = "$width $height"
check "after a resize request: the picture and one background colour" plain_outside

i3-msg -q "[id=$WID] floating enable" || fail "i3-msg could not float the window"
is_square() { [ "$(client_size)" = "483 483" ]; }
check "floating again, the client is 483x483" wait_until 5 is_square
check "floating: frames change" changes_within 3 10

keys Escape
await_exit 10
check "Esc ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
check "nothing on stderr" test ! -s "$WORK/kelto.err"
finish
