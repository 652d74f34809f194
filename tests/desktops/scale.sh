#!/bin/bash
# Scale factors from the environment, as KDE and users set them on X11: at a fractional
# factor the window is 483 x floor(factor) device pixels and the frames fill it with crisp
# one-pixel lines; whole factors grow both by that factor, every frame pixel a solid square.
# Checked from screenshots against the holder pictures.
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
for tool in import convert compare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

dump_holders
# Room for the window at twice its size.
KELTO_SCREEN=1280x1100x24 start_display

# shows_holder_at WHOLE: the window's picture, taken every WHOLE device pixels, is one of the
# holder pictures exactly, and holds nothing but black and white.
shows_holder_at() {
    local whole=$1 inner=$((2 * $1))
    import -window "$WID" "$WORK/shot.png"
    convert "$WORK/shot.png" -crop "$((479 * whole))x$((480 * whole))+$inner+$inner" +repage \
        "$WORK/picture.png"
    local colours
    colours=$(convert "$WORK/picture.png" -unique-colors -format '%k' info:)
    [ "$colours" -le 2 ] || { log "picture has $colours colours"; return 1; }
    convert "$WORK/picture.png" -sample "$((100 / whole))%" -colorspace Gray "$WORK/sampled.pgm"
    local k
    for k in $(seq 1 18); do
        convert "$FRAMES/Image$k.pbm" -crop 479x480+0+0 +repage -colorspace Gray "$WORK/holder.pgm"
        if [ "$(compare -metric AE "$WORK/sampled.pgm" "$WORK/holder.pgm" null: 2>&1)" = 0 ]; then
            log "shows holder Image$k"
            return 0
        fi
    done
    return 1
}

for setting in QT_SCALE_FACTOR=1.5 QT_SCREEN_SCALE_FACTORS=1.5 QT_SCALE_FACTOR=2 \
    QT_SCREEN_SCALE_FACTORS=2.5; do
    factor=${setting#*=}
    whole=${factor%.*}
    env "$setting" "$KELTO_BIN" >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    remember_pid kelto "$KELTO_PID"
    wait_until 15 find_window || fail "$setting: no window"
    # Not start_kelto: the probe knows the window only at its own size.
    activate_window || fail "$setting: window not activated"
    size=483
    [ "$whole" -gt 1 ] && size=$((483 * whole))
    wait_until 10 bash -c "xwininfo -id $WID | grep -q 'Width: $size'" || true
    got=$(xwininfo -id "$WID" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}')
    check "$setting: window is ${size}x$size device pixels (got $got)" test "$got" = "${size}x$size"
    keys asterisk
    sleep 1
    check "$setting: the frame fills the picture at $whole device pixel(s) a pixel, crisp" \
        shows_holder_at "$whole"
    check "$setting: nothing on stderr" test ! -s "$WORK/kelto.err"
    keys Escape
    await_exit 10
done
finish
