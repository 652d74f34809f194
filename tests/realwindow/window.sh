#!/bin/bash
# The window as the desktop sees it: fixed 483x483 client, exact caption, the frames drawn at
# their own size from the inner area's corner, and the start-up run turning forward.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
# The program takes no command line: had the toolkit read these, there would be no window
# on this display, or one of another size and title.
start_kelto -platform offscreen -geometry 200x100 -title other -qwindowtitle other \
    -stylesheet /nonexistent.qss -reverse

size=$(client_size)
check "client area is 483x483 (got $size)" test "$size" = 483x483

wm_name=$(xprop -id "$WID" -notype WM_NAME)
net_name=$(xprop -id "$WID" -notype _NET_WM_NAME)
check "WM_NAME is the caption" test "$wm_name" = "WM_NAME = \"$CAPTION\""
check "_NET_WM_NAME is the caption" test "$net_name" = "_NET_WM_NAME = \"$CAPTION\""

hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
check "minimum size 483x483 in WM_NORMAL_HINTS" grep -q 'minimum size: 483 by 483' <<<"$hints"
check "maximum size 483x483 in WM_NORMAL_HINTS" grep -q 'maximum size: 483 by 483' <<<"$hints"

# The window manager answers a resize request at once; a size other than 483x483 shows up
# within the second, or not at all.
xdotool windowsize "$WID" 700 650
if wait_until 2 test "$(client_size)" != 483x483; then :; fi
check "a resize request leaves the client 483x483 (got $(client_size))" test "$(client_size)" = 483x483

# Start-up run: positions follow each other one by one, forward, at a watchable pace. A busy
# machine may slow the cam or make the probe miss a sample, never speed it up.
check "the start-up run shows 6 changes within 15 s, each a holder picture exactly and one frame \
forward" changes_within 6 15 exact steps '^1(,1)*$'
check "... at a watchable pace: at most 12 changes in 2.6 s (four a second)" \
    at_most_changes 12 2600

# The same picture through an independent path: ImageMagick's own window capture.
if command -v import >/dev/null && command -v compare >/dev/null; then
    keys asterisk
    frame=$(settled_frame 1000 15000) || fail "no steady frame after *"
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

check_esc_quits
finish
