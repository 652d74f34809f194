#!/bin/bash
# Scale factors from the environment, as KDE and users set them on X11: the window grows by the
# factor's whole part only, and every pixel of it is the window as it must look at that whole
# factor: at 1.5 crisp one-pixel lines, at 2 and 2.5 each frame pixel a solid 2x2 square.
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
# Room for the window at twice its size.
KELTO_SCREEN=1280x1100x24 start_display

client_is() { [ "$(client_size)" = "$1" ]; }
while read -r -u 3 setting whole; do
    size=$((483 * whole))x$((483 * whole))
    start_program env "$setting" "$KELTO_BIN"
    wait_until 10 client_is "$size" || true
    check "$setting: window is $size device pixels (got $(client_size))" client_is "$size"
    keys asterisk
    # The probe draws the window as it must look at that whole factor.
    out=$(QT_SCALE_FACTOR=$whole probe whole 600 20000 "$WORK/differs.png") || true
    check "$setting: the whole window as it must look at $whole device pixel(s) a pixel (frame $out)" \
        test "${out#* }" = none
    keys Escape
    ends_with 0 "$setting: ESC"
done 3<<'EOF'
QT_SCALE_FACTOR=1.5         1
QT_SCREEN_SCALE_FACTORS=1.5 1
QT_SCALE_FACTOR=2           2
QT_SCREEN_SCALE_FACTORS=2.5 2
EOF
finish
