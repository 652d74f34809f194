# shellcheck shell=bash
# Shared helpers for the Wayland tests: a private Xvfb, weston nested in it (its x11 backend,
# so a test can watch weston's output window and type into it) or headless, and kelto on
# weston through Qt's Wayland plugin. Source it from a test script; the EXIT trap ends every
# process it started.
# shellcheck disable=SC2034  # CAPTION, EXIT_STATUS and friends are read by the scripts
set -euo pipefail

: "${KELTO_BIN:?path of the kelto executable}"
: "${KELTO_WAYLAND_PROBE:?path of wayland_probe}"
: "${KELTO_HOLDER_DUMP:?path of holder_dump}"

CAPTION='KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit'
TEST_NAME=$(basename "$0" .sh)
XVFB_PID=
WESTON_PID=
KELTO_PID=
OUTPUT=
SCALE=1
FAILURES=0

for tool in Xvfb weston xdotool xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if [ ! -e "${KELTO_QT_WAYLAND_PLUGIN:-}" ]; then
    echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"
    exit 77
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kelto-$TEST_NAME.XXXXXX")
FRAMES="$WORK/frames"
mkdir "$FRAMES"
# weston and kelto meet on a socket in a runtime folder of their own.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY="kelto-wl-$TEST_NAME"
unset DISPLAY

cleanup() {
    local status=$?
    for pid in $KELTO_PID $WESTON_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $KELTO_PID $WESTON_PID $XVFB_PID; do
        wait "$pid" 2>/dev/null || true
    done
    if [ "$status" -ne 0 ] && [ -n "${KEEP_FAILED:-}" ]; then
        echo "kept $WORK"
    else
        rm -rf "$WORK"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

log() { printf '[%s %s] %s\n' "$(date +%T.%3N)" "$TEST_NAME" "$*"; }
fail() {
    log "FAIL: $*"
    for file in weston.log kelto.err; do
        [ -s "$WORK/$file" ] && { echo "--- $file"; tail -n 20 "$WORK/$file"; }
    done
    exit 1
}
check() {  # check DESCRIPTION COMMAND...: records a failure but goes on
    local what=$1
    shift
    if "$@"; then
        log "ok: $what"
    else
        log "FAIL: $what"
        FAILURES=$((FAILURES + 1))
    fi
}
finish() {
    [ "$FAILURES" -eq 0 ] || fail "$FAILURES check(s) failed"
    log "all checks passed"
}
wait_until() {  # wait_until SECONDS COMMAND...: polls COMMAND until it succeeds
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# start_xvfb WIDTH HEIGHT: a private X display on the first free number.
start_xvfb() {
    "$KELTO_HOLDER_DUMP" "$FRAMES" || fail "holder pictures cannot be told apart"
    Xvfb -displayfd 3 -screen 0 "${1}x${2}x24" -dpi 96 -nolisten tcp -noreset \
        3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until 15 test -s "$WORK/display" || fail "Xvfb gave no display number"
    local number
    number=$(head -n 1 "$WORK/display")
    export DISPLAY=":$number"
    log "Xvfb on $DISPLAY"
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
    [ -z "$OUTPUT" ] && return 0
    wait_until 20 shows_a_frame || fail "weston's output shows none of the holder pictures"
    log "kelto $KELTO_PID shows frame $(probe once)"
}
shows_a_frame() {
    kill -0 "$KELTO_PID" 2>/dev/null || fail "kelto ended: $(head -c 300 "$WORK/kelto.err")"
    probe once >/dev/null 2>&1
}
kelto_runs() { kill -0 "$KELTO_PID" 2>/dev/null; }
kelto_gone() { ! kill -0 "$KELTO_PID" 2>/dev/null || ps -o stat= -p "$KELTO_PID" | grep -q Z; }
# await_exit SECONDS: waits for kelto to end by itself and sets EXIT_STATUS.
await_exit() {
    wait_until "$1" kelto_gone || fail "kelto still runs after $1 s"
    EXIT_STATUS=0
    wait "$KELTO_PID" || EXIT_STATUS=$?
    KELTO_PID=
}

# The probe runs on the Xvfb through xcb, whatever kelto uses.
probe() { QT_QPA_PLATFORM=xcb "$KELTO_WAYLAND_PROBE" "$FRAMES" "$OUTPUT" "$SCALE" "$@"; }
keys() { xdotool key --delay 40 "$@"; }

# Frame arithmetic modulo 18: signed distance from $1 to $2 in -8..9.
step_between() {
    local d=$((($2 - $1 + 18) % 18))
    [ "$d" -gt 9 ] && d=$((d - 18))
    echo "$d"
}

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
