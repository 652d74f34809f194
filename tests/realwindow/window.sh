#!/bin/bash
# The window as the desktop sees it: fixed 483x483 client, exact caption, the frames drawn at
# their own size from the inner area's corner, and the start-up run turning forward.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
# The program takes no command line: had the toolkit read these, there would be no window
# on this display, or one of another size and title.
start_kelto -platform offscreen -geometry 200x100 -title other -qwindowtitle other \
    -stylesheet /nonexistent.qss -reverse

geometry=$(xwininfo -id "$WID")
width=$(awk '/^ *Width:/ {print $2}' <<<"$geometry")
height=$(awk '/^ *Height:/ {print $2}' <<<"$geometry")
check "client area is 483x483 (got ${width}x$height)" test "$width $height" = "483 483"

wm_name=$(xprop -id "$WID" -notype WM_NAME)
net_name=$(xprop -id "$WID" -notype _NET_WM_NAME)
check "WM_NAME is the caption" test "$wm_name" = "WM_NAME = \"$CAPTION\""
check "_NET_WM_NAME is the caption" test "$net_name" = "_NET_WM_NAME = \"$CAPTION\""

hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
check "minimum size 483x483 in WM_NORMAL_HINTS" grep -q 'minimum size: 483 by 483' <<<"$hints"
check "maximum size 483x483 in WM_NORMAL_HINTS" grep -q 'maximum size: 483 by 483' <<<"$hints"

xdotool windowsize "$WID" 700 650
sleep 0.5
geometry=$(xwininfo -id "$WID")
width=$(awk '/^ *Width:/ {print $2}' <<<"$geometry")
height=$(awk '/^ *Height:/ {print $2}' <<<"$geometry")
check "a resize request leaves the client 483x483 (got ${width}x$height)" \
    test "$width $height" = "483 483"

# Start-up run: positions follow each other one by one, forward, at a watchable pace.
watch_frames 2600 >"$WORK/startup.txt"
read -r -a seen < <(awk '$2 >= 0 && $2 != last {printf "%s ", $2; last = $2} END {print ""}' "$WORK/startup.txt")
unknown=$(awk '$2 < 0' "$WORK/startup.txt" | wc -l)
samples=$(wc -l <"$WORK/startup.txt")
log "start-up run showed ${seen[*]} ($samples samples, $unknown unmatched)"
check "every sample shows a holder picture exactly" test "$unknown" -eq 0
steps_ok=1
for ((i = 1; i < ${#seen[@]}; i++)); do
    [ "$(step_between "${seen[i - 1]}" "${seen[i]}")" -eq 1 ] || steps_ok=0
done
check "start-up run advances one frame at a time" test "$steps_ok" -eq 1
# 2.6 s at four frames a second: about ten changes; a busy machine may lose a few.
check "start-up pace is about 4 frames/s (${#seen[@]} frames in 2.6 s)" \
    test "${#seen[@]}" -ge 6 -a "${#seen[@]}" -le 13

# The same picture through an independent path: ImageMagick's own window capture.
if command -v import >/dev/null && command -v compare >/dev/null; then
    keys asterisk
    frame=$(settled_frame 600 5000) || fail "no steady frame after *"
    import -window "$WID" "$WORK/import.png"
    # Client rows 2..481, columns 2..480: the frame's 479 visible columns, all its 480 rows.
    /usr/bin/convert "$WORK/import.png" -crop 479x480+2+2 +repage -colorspace Gray "$WORK/shown.pgm"
    /usr/bin/convert "$FRAMES/Image$((frame + 1)).pbm" -crop 479x480+0+0 +repage \
        -colorspace Gray "$WORK/expected.pgm"
    differing=$(compare -metric AE "$WORK/shown.pgm" "$WORK/expected.pgm" null: 2>&1 || true)
    check "ImageMagick sees holder Image$((frame + 1)) exactly (differing pixels: $differing)" \
        test "$differing" = 0
    # Inner row 480 shows the face colour, not the picture.
    background=$(/usr/bin/convert "$WORK/import.png" -crop 479x1+2+482 +repage -unique-colors \
        -format '%k %[pixel:p{0,0}]' info:)
    log "inner row 480: $background"
    face_colour() {  # "COUNT COLOUR" from ImageMagick: one colour, not a line or paper one
        [[ "$1" == "1 "* && "$1" != *"(0,0,0)" && "$1" != *"(255,255,255)" ]] &&
            [[ "$1" != *white && "$1" != *black && "$1" != *"gray(0)" && "$1" != *"gray(255)" ]]
    }
    check "inner row 480 is one colour, neither black nor white" face_colour "$background"
fi

keys Escape
await_exit 5
check "ESC ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
finish
