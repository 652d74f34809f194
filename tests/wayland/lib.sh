# shellcheck shell=bash
# Shared helpers for the Wayland tests: weston nested in a private X session (its x11 backend,
# so a test can watch weston's output window and type into it) or headless, and kelto on
# weston through Qt's Wayland plugin. Source it from a test script; the X session, the
# results and the cleanup are the common ones, and weston ends with them.
# shellcheck disable=SC2034  # read by the scripts and by the X session helper

: "${KELTO_BIN:?path of the kelto executable}"
: "${KELTO_WAYLAND_PROBE:?path of wayland_probe}"
: "${KELTO_HOLDER_DUMP:?path of holder_dump}"

# weston is the only window manager here, inside its output window.
KELTO_WM=none
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/xsession.sh"

WESTON_PID=
OUTPUT=
SCALE=1
FAIL_LOGS=weston.log

if ! command -v weston >/dev/null; then
    echo "SKIP: weston is not installed"
    exit 77
fi
if [ ! -e "${KELTO_QT_WAYLAND_PLUGIN:-}" ]; then
    echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"
    exit 77
fi

# weston and kelto meet on a socket in a runtime folder of their own.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY="kelto-wl-$TEST_NAME"
unset DISPLAY

# start_xvfb WIDTH HEIGHT: the private X display weston's output window goes on.
start_xvfb() {
    dump_holders
    KELTO_SCREEN="${1}x${2}x24" start_display
}

# start_weston [ARGS...]: weston on the x11 backend inside the Xvfb (its output is an X window,
# OUTPUT), ARGS added (--scale=2, --width=...). WESTON_BACKEND=headless runs it without one.
start_weston() {
    local backend=x11-backend.so
    [ "${WESTON_BACKEND:-x11}" = headless ] && backend=headless-backend.so
    rm -f "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY.lock"
    weston --backend="$backend" --socket="$WAYLAND_DISPLAY" --idle-time=0 --no-config "$@" \
        >"$WORK/weston.log" 2>&1 &
    WESTON_PID=$!
    start_watcher
    remember_pid other "$WESTON_PID"
    wait_until 15 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not come up"
    if [ "$backend" = x11-backend.so ]; then
        wait_until 10 find_output || fail "no weston output window"
        # The pointer rests on weston's panel, away from the picture: a move there sets the pace,
        # and weston draws the pointer into its output.
        xdotool mousemove --window "$OUTPUT" 600 4
        xdotool windowfocus "$OUTPUT"
    fi
    log "weston $WESTON_PID ($backend $*) on $WAYLAND_DISPLAY"
}
find_output() {
    kill -0 "$WESTON_PID" 2>/dev/null || fail "weston ended"
    OUTPUT=$(xwininfo -root -tree 2>/dev/null | awk '/"Weston Compositor/ {print $1; exit}') || true
    [ -n "$OUTPUT" ]
}

# start_kelto: kelto on weston through Qt's Wayland plugin; waits until it shows a frame.
start_kelto() {
    QT_QPA_PLATFORM=wayland "$KELTO_BIN" >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    remember_pid kelto "$KELTO_PID"
    [ -z "$OUTPUT" ] && return 0
    wait_until 20 shows_a_frame || fail "weston's output shows none of the holder pictures"
    log "kelto $KELTO_PID shows frame $(probe once)"
}
shows_a_frame() {
    kill -0 "$KELTO_PID" 2>/dev/null || fail "kelto ended: $(head -c 300 "$WORK/kelto.err")"
    probe once >/dev/null 2>&1
}

# The probe runs on the Xvfb through xcb, whatever kelto uses.
probe() { QT_QPA_PLATFORM=xcb "$KELTO_WAYLAND_PROBE" "$FRAMES" "$OUTPUT" "$SCALE" "$@"; }

# watch_run MS: watches for MS and sets SHOWN (the frames in the order they appeared), STEPS
# (the signed steps between them), STOOD (how long each frame between the first and the last
# stood, ms) and UNMATCHED (samples that showed no holder picture exactly).
watch_run() {
    local samples="$WORK/watch.txt"
    probe watch "$1" >"$samples"
    SHOWN=$(awk '$2 >= 0 && $2 != last {printf "%s ", $2; last = $2}' "$samples")
    STOOD=$(awk '$2 >= 0 && $2 != last { if (last != "" && since != "") printf "%d ", $1 - since;
                                         if (last != "") since = $1; last = $2 }' "$samples")
    UNMATCHED=$(awk '$2 < 0' "$samples" | wc -l)
    STEPS=
    local previous='' frame
    for frame in $SHOWN; do
        [ -z "$previous" ] || STEPS="$STEPS${STEPS:+ }$(step_between "$previous" "$frame")"
        previous=$frame
    done
    log "watched $1 ms: frames [$SHOWN], stood [$STOOD] ms, $UNMATCHED unmatched samples"
}
