# Shared helpers for the real-window tests. Source it from a test script; it starts nothing by
# itself. Every process it starts is ended by the EXIT trap.
# shellcheck disable=SC2034  # CAPTION and EXIT_STATUS are read by the scripts that source this
set -euo pipefail

: "${KELTO_BIN:?path of the kelto executable}"
: "${KELTO_PROBE:?path of window_probe}"
: "${KELTO_HOLDER_DUMP:?path of holder_dump}"
# Display numbers this suite may take; the first free one is used.
KELTO_TEST_DISPLAYS=${KELTO_TEST_DISPLAYS:-"93 94 95"}

CAPTION='KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit'
TEST_NAME=$(basename "$0" .sh)
XVFB_PID=
WM_PID=
KELTO_PID=
WID=
FAILURES=0

for tool in Xvfb xdotool xwininfo xprop openbox; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kelto-$TEST_NAME.XXXXXX")
FRAMES="$WORK/frames"
mkdir "$FRAMES"
export XDG_RUNTIME_DIR="$WORK"
export QT_QPA_PLATFORM=xcb

cleanup() {
    local status=$?
    for pid in $KELTO_PID $WM_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $KELTO_PID $WM_PID $XVFB_PID; do
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

# Polls COMMAND until it succeeds or SECONDS pass.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

dump_holders() { "$KELTO_HOLDER_DUMP" "$FRAMES" || fail "holder pictures cannot be told apart"; }

start_display() {
    dump_holders
    local number
    for number in $KELTO_TEST_DISPLAYS; do
        [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
            >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$number"
        if wait_until 10 xdpyinfo_ok; then
            break
        fi
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    [ -n "$XVFB_PID" ] || fail "no free display among $KELTO_TEST_DISPLAYS"
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until 10 wm_running || fail "openbox did not come up"
    log "display $DISPLAY with openbox"
}
xdpyinfo_ok() { kill -0 "$XVFB_PID" 2>/dev/null && xprop -root >/dev/null 2>&1; }
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Starts kelto (with any arguments given, which it must ignore), finds its window, activates
# it and waits until it shows a frame.
start_kelto() {
    # The pointer must not rest on the picture: a move there sets the pace.
    xdotool mousemove 1010 750
    "$KELTO_BIN" "$@" >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    wait_until 15 find_window || fail "no kelto window appeared"
    timeout 10 xdotool windowactivate --sync "$WID" || fail "window could not be activated"
    wait_until 10 shows_a_frame || fail "window shows none of the holder pictures"
    log "kelto $KELTO_PID, window $WID"
}
find_window() {
    kill -0 "$KELTO_PID" 2>/dev/null || fail "kelto ended before showing its window"
    WID=$(xdotool search --onlyvisible --pid "$KELTO_PID" 2>/dev/null | head -n 1) || true
    [ -n "$WID" ]
}
shows_a_frame() { probe once >/dev/null 2>&1; }

probe() { "$KELTO_PROBE" "$FRAMES" "$WID" "$@"; }
current_frame() { probe once; }
# settle STABLE_MS TIMEOUT_MS: the frame once it has not changed for STABLE_MS.
settled_frame() { probe settle "$@"; }
# change_from INDEX TIMEOUT_MS: the first frame shown that differs from INDEX.
change_from() { probe change-from "$@"; }
watch_frames() { probe watch "$1"; }  # "epoch-ms index" lines for $1 ms
screenshot() { probe save "$1"; }

# [OBSERVE_FROM=sent] [OBSERVE_MIN_CHANGES=N] observe REST_MS MAX_MS COMMAND...: watches the
# window, runs COMMAND, and goes on watching until the frame has rested REST_MS since the
# command or its last change (after at least N changes), or until MAX_MS have passed since the
# command. Sets SEQUENCE (the frame shown when COMMAND
# returned, then every change after it), STEPS (the signed steps between those frames),
# STABLE_MS (how long the last frame had stood when watching ended) and UNMATCHED (samples that
# showed no holder picture exactly). Times are the samples' own, so a stalled probe on a busy
# machine cannot make a rest out of a gap.
observe() {
    local rest=$1 max=$2
    shift 2
    local samples="$WORK/observed.txt"
    : >"$samples"  # emptied here, not in the child, so no old sample can be taken for new
    "$KELTO_PROBE" "$FRAMES" "$WID" watch 600000 >"$samples" &
    local watcher=$!
    # Watching starts with the first sample: the probe may be slow to start on a busy machine.
    wait_until 5 test -s "$samples" || fail "window probe gave no sample"
    sleep 0.2
    local sent delivered
    sent=$(date +%s%3N)
    "$@"
    # Counting from when the command returned: any change before that is not its answer. A
    # command that starts something from rest may be counted from when it was sent instead.
    delivered=$(date +%s%3N)
    [ "${OBSERVE_FROM:-}" != sent ] || delivered=$sent
    local state give_up=$((SECONDS + max / 1000 + 10))
    while sleep 0.05; do
        kill -0 "$watcher" 2>/dev/null || fail "window probe ended early"
        [ "$SECONDS" -lt "$give_up" ] || fail "window probe gave no samples for a while"
        state=$(awk -v t="$delivered" '
            $2 < 0 { next }
            $1 >= t && $2 != current && current != "" { changed = $1; changes++ }
            { current = $2; last = $1 }
            END { printf "%d %d %d\n", last - t, last - (changed > t ? changed : t), changes }
        ' "$samples")
        read -r watched rested changes <<<"$state"
        [ "$watched" -lt "$max" ] || break
        [ "$changes" -lt "${OBSERVE_MIN_CHANGES:-0}" ] || [ "$rested" -lt "$rest" ] || break
    done
    kill "$watcher" 2>/dev/null || true
    wait "$watcher" 2>/dev/null || true
    local result
    result=$(awk -v t="$delivered" '
        $2 < 0 { unmatched++; next }
        $1 < t { before = $2; next }
        before == "" { exit 3 }
        !started { started = 1; current = before; sequence = before; changed = t }
        $2 != current { sequence = sequence " " $2; current = $2; changed = $1 }
        { last = $1 }
        END { if (!started) exit 3; printf "%s|%d|%d\n", sequence, last - changed, unmatched }
    ' "$samples") || {
        cp "$samples" "$WORK/failed-observation.txt"
        fail "no frame seen before and after: $*"
    }
    SEQUENCE=${result%%|*}
    result=${result#*|}
    STABLE_MS=${result%%|*}
    UNMATCHED=${result#*|}
    STEPS=
    local previous='' frame
    for frame in $SEQUENCE; do
        [ -z "$previous" ] || STEPS="$STEPS${STEPS:+ }$(step_between "$previous" "$frame")"
        previous=$frame
    done
    log "$*: frames $SEQUENCE, steps [$STEPS], last frame stood ${STABLE_MS} ms," \
        "$UNMATCHED unmatched (command took $((delivered - sent)) ms)"
}
# steps_match REGEX: the steps seen by the last observe match the pattern.
steps_match() { [[ "$STEPS" =~ $1 ]]; }
last_frame() { echo "${SEQUENCE##* }"; }
# No change at all, and the frame stood for a whole second.
stands_still() { [ "$STEPS" = "" ] && [ "$STABLE_MS" -ge 1000 ]; }
# runs_forward FIRST_STEPS: after FIRST_STEPS (a pattern), one frame forward per pass; a busy
# machine may make the probe miss a frame now and then, so a step of 2 is taken as two passes.
runs_forward() { steps_match "$1( [12])+$" && steps_match ' 1( |$)' && [ "$UNMATCHED" -eq 0 ]; }
runs_backward() { steps_match "$1( -[12])+$" && steps_match ' -1( |$)' && [ "$UNMATCHED" -eq 0 ]; }
# runs_fast DIRECTION: at tens of frames a second, at least 10 changes, nearly all (9 in 10)
# one to four frames in DIRECTION (1 or -1): stalls of a loaded probe may skip a few frames.
runs_fast() {
    local step total=0 right=0
    for step in $STEPS; do
        total=$((total + 1))
        [ $((step * $1)) -ge 1 ] && [ $((step * $1)) -le 4 ] && right=$((right + 1))
    done
    [ "$total" -ge 10 ] && [ $((right * 10)) -ge $((total * 9)) ] && [ "$UNMATCHED" -eq 0 ]
}

# Types keys (xdotool key names) into the active window.
keys() { xdotool key --delay 40 "$@"; }
# Moves the pointer to a pixel of the inner area (origin at the client's (2,2)).
pointer_inner() { xdotool mousemove --window "$WID" $(($1 + 2)) $(($2 + 2)); }

# Waits for kelto to end by itself and sets EXIT_STATUS; fails after SECONDS.
await_exit() {
    local seconds=$1
    wait_until "$seconds" kelto_gone || fail "kelto still runs after ${seconds}s"
    EXIT_STATUS=0
    wait "$KELTO_PID" || EXIT_STATUS=$?
    KELTO_PID=
}
kelto_gone() { ! kill -0 "$KELTO_PID" 2>/dev/null || ps -o stat= -p "$KELTO_PID" | grep -q Z; }

stop_kelto() {
    [ -n "$KELTO_PID" ] || return 0
    kill "$KELTO_PID" 2>/dev/null || true
    wait "$KELTO_PID" 2>/dev/null || true
    KELTO_PID=
}

# Frame arithmetic modulo 18: signed distance from $1 to $2 in -8..9.
step_between() {
    local d=$((($2 - $1 + 18) % 18))
    [ "$d" -gt 9 ] && d=$((d - 18))
    echo "$d"
}

# frame_rate MS: watches for MS and sets RATE (frame changes a second, whole number), CHANGES,
# SAMPLES and UNMATCHED. Changes between two samples count once, so RATE never overstates.
frame_rate() {
    local samples="$WORK/rate.txt"
    watch_frames "$1" >"$samples"
    read -r CHANGES SAMPLES RATE UNMATCHED < <(awk '
        $2 < 0 { unmatched++ }
        $2 >= 0 { if (first == "") first = $1; if (seen && $2 != last) changes++; last = $2; seen = 1; end = $1 }
        { n++ }
        END {
            span = end - first
            printf "%d %d %d %d\n", changes, n, (span > 0 ? changes * 1000 / span : 0), unmatched
        }
    ' "$samples")
    log "frame rate: $CHANGES changes in $1 ms ($RATE/s; $SAMPLES samples, $UNMATCHED unmatched)"
}

# A click with the left button where the pointer is. click_gap waits until a click can no
# longer make a double-click with the previous one; click waits for that too.
LAST_CLICK_MS=0
click_gap() {
    local since=$(($(date +%s%3N) - LAST_CLICK_MS))
    [ "$since" -ge 800 ] || sleep "0.$(printf '%03d' $((800 - since)))"
}
click() {
    click_gap
    xdotool click 1
    LAST_CLICK_MS=$(date +%s%3N)
}
