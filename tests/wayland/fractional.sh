#!/bin/bash
# At a fractional scale told through wp_fractional_scale_v1 (KWin), the frames show pixel for
# pixel: the compositor tells the scale, the frame surface covers the client on whole surface
# units (its viewport as wide as the client's screen pixels take), and the whole client, edge
# and background included, is on screen exactly as at 100 %, after each of three steps and
# while it runs. The toolkit's whole scale (2 here) would show every line 1.5 pixels wide, in
# turn one and two.
#   fractional.sh SCALE     1.25, 1.5 or 1.75
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

scale=${1:?scale}
# The surface units the 483-pixel client takes: a whole number where the scale allows, else
# the nearest above that shows whole screen pixels (388 units are 485 pixels at 1.25).
case $scale in
    1.25) told_scale=150 units=388 ;;
    1.5) told_scale=180 units=322 ;;
    1.75) told_scale=210 units=276 ;;
    *) fail "no row for scale $scale" ;;
esac

start_xvfb 1300 1000
start_kwin --width 700 --height 560 --scale "$scale"
KELTO_WAYLAND_DEBUG=1 start_kelto

told=$(protocol_log last wp_fractional_scale_v1@ preferred_scale)
check "KWin tells the window its scale ($told in 120ths)" test "$told" = "$told_scale"
destination=$(protocol_log last wp_viewport@ set_destination)
check "the frame surface covers the client in whole units (${destination:-none})" \
    test "$destination" = "$units, $units"
check_terms_asked

check_frames_run
keys asterisk
# Pixel for pixel: the observer looks at the output as at 100 %.
check_whole_steps 3

check_esc_quits 5
finish
