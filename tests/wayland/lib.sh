# shellcheck shell=bash
# Shared helpers for the Wayland tests: weston nested in a private X session (its x11 backend,
# so a test can watch weston's output window and type into it) or headless, and kelto on
# weston through Qt's Wayland plugin. Source it from a test script; the X session, the
# results and the cleanup are the common ones, and weston ends with them.
# shellcheck disable=SC2034  # read by the scripts and by the X session helper
# weston starts with start_weston; sway and KDE's kwin_wayland with start_sway and start_kwin.

: "${KELTO_BIN:?path of the kelto executable}"
: "${KELTO_OBSERVER:?path of screen_observer}"
: "${KELTO_HOLDER_DUMP:?path of holder_dump}"

# weston is the only window manager here, inside its output window; kelto goes on Wayland.
KELTO_WM=none
PLATFORM=wayland
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
# find_output [PID [PATTERN]]: sets OUTPUT to the compositor's output window, the first whose
# line in xwininfo's tree matches PATTERN (weston's by default); fails once PID has ended.
find_output() {
    kill -0 "${1:-$WESTON_PID}" 2>/dev/null || fail "the compositor ended"
    OUTPUT=$(xwininfo -root -tree 2>/dev/null |
        awk -v pattern="${2:-\"Weston Compositor}" '$0 ~ pattern {print $1; exit}') || true
    [ -n "$OUTPUT" ]
}
# The output window takes the keys, and the pointer rests on its top edge, off the picture.
use_output() {
    xdotool mousemove --window "$OUTPUT" 600 1
    xdotool windowfocus "$OUTPUT"
}

# start_sway: sway 1.7 (wlroots) on its x11 backend inside the Xvfb, drawn without a GPU, with
# its own title bars and borders and no Xwayland. Sets WAYLAND_DISPLAY, SWAYSOCK and OUTPUT.
# sway refuses to run as root: as root it runs as the unprivileged user kelto-sway, made when
# missing; the test skips (status 77) where that cannot be done.
COMPOSITOR_PID=
start_sway() {
    if ! command -v sway >/dev/null || ! command -v swaymsg >/dev/null; then
        echo "SKIP: sway is not installed"
        exit 77
    fi
    local as=()
    if [ "$(id -u)" -eq 0 ]; then
        command -v setpriv >/dev/null || { echo "SKIP: setpriv is missing (util-linux)"; exit 77; }
        if ! id kelto-sway >/dev/null 2>&1; then
            useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
                kelto-sway >/dev/null 2>&1 ||
                { echo "SKIP: sway refuses root, and no user to run it could be made"; exit 77; }
        fi
        # The user reaches its runtime folder through the work folder, and nothing else there.
        chmod 711 "$WORK"
        chown kelto-sway "$XDG_RUNTIME_DIR"
        as=(setpriv --reuid=kelto-sway --regid=kelto-sway --clear-groups)
    fi
    printf '%s\n' 'xwayland disable' 'default_border normal' 'default_floating_border normal' \
        'font monospace 10' 'focus_follows_mouse no' >"$XDG_RUNTIME_DIR/sway.config"
    chmod 644 "$XDG_RUNTIME_DIR/sway.config"
    "${as[@]}" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$XDG_RUNTIME_DIR" \
        XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DISPLAY="$DISPLAY" WLR_BACKENDS=x11 \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$XDG_RUNTIME_DIR/sway.config" >"$WORK/sway.log" 2>&1 &
    COMPOSITOR_PID=$!
    remember_pid other "$COMPOSITOR_PID"
    FAIL_LOGS=sway.log
    wait_until 20 sway_ready || fail "sway did not come up"
    # Its output window has no name: the one as large as its output.
    wait_until 10 find_output "$COMPOSITOR_PID" ' 1024x768\\+0\\+0' || fail "no sway output window"
    use_output
    log "sway $COMPOSITOR_PID on $WAYLAND_DISPLAY, output $OUTPUT"
}
sway_ready() {
    kill -0 "$COMPOSITOR_PID" 2>/dev/null || fail "sway ended: $(tail -n 3 "$WORK/sway.log")"
    local socket
    socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'wayland-[0-9]*' -type s | head -n 1)
    SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' -type s | head -n 1)
    [ -n "$socket" ] && [ -n "$SWAYSOCK" ] || return 1
    export WAYLAND_DISPLAY=${socket##*/} SWAYSOCK
}

# start_kwin [ARGS...]: KDE's kwin_wayland 5.27 nested in the Xvfb (its X11 windowed backend), drawn with
# QPainter, with a session bus of its own. A copy of the binary runs: the installed one carries
# a file capability, which a process started by root in a container may not be allowed to gain.
start_kwin() {
    local kwin
    kwin=$(command -v kwin_wayland) || { echo "SKIP: kwin_wayland is not installed"; exit 77; }
    command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session is missing"; exit 77; }
    cp "$kwin" "$WORK/kwin_wayland"
    mkdir -p "$WORK/home-kwin"
    HOME="$WORK/home-kwin" KWIN_COMPOSE=Q setsid dbus-run-session -- "$WORK/kwin_wayland" \
        --x11-display "$DISPLAY" --socket "$WAYLAND_DISPLAY" --width 1024 --height 768 \
        --no-lockscreen "$@" >"$WORK/kwin.log" 2>&1 &
    COMPOSITOR_PID=$!
    remember_pid group "$COMPOSITOR_PID"
    FAIL_LOGS=kwin.log
    wait_until 30 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "kwin_wayland did not come up"
    wait_until 10 find_output "$COMPOSITOR_PID" '"KDE Wayland Compositor' ||
        fail "no kwin_wayland output window"
    use_output
    log "kwin_wayland $COMPOSITOR_PID on $WAYLAND_DISPLAY, output $OUTPUT"
}

# protocol_log QUERY [ARGS]: what kelto's protocol log (KELTO_WAYLAND_DEBUG=1) tells, answered by
# the observer: the limits and decoration mode it sent, the compositor's answers, the last call
# of a kind, commits of its surfaces, moves of its frame over an old layout, button presses
# (the queries: tests/observer/protocol_log.h).
protocol_log() { "$KELTO_OBSERVER" protocol "$WORK/kelto.err" "$@"; }
# stop_and_look: stops the cam and prints where the client stands and what it shows, "X Y
# DIGEST FRAME" (probe client, probe once).
stop_and_look() {
    keys asterisk
    sleep 1.5
    local client frame
    client=$(probe client) || fail "client not found"
    frame=$(probe once) || fail "no frame on the output"
    log "stopped on frame $frame; client at ${client% *}" >&2
    echo "$client $frame"
}
# same_client X Y DIGEST: kelto runs and its client, frame and surroundings look as they did at
# X,Y; with X and Y "-", anywhere (sway may move a floating window by a pixel when it takes
# back a size it offered).
same_client() {
    kelto_alive || return 1
    local x y digest
    read -r x y digest <<<"$(probe client)" || return 1
    [ "$digest" = "$3" ] && [[ "$1 $2" = "- -" || "$1 $2" = "$x $y" ]]
}
# shows_frame FRAME: kelto runs and shows FRAME 1:1, anywhere.
shows_frame() { kelto_alive && [ "$(probe once)" = "$1" ]; }
# check_frames_run: watches 6 s of the run: frames change, each shown exactly and one step
# forward after the one before.
check_frames_run() {
    local seen
    seen=$(observe 6000 6000 true)
    check "frames change, each shown exactly and in order" \
        judge "$seen" changes-at-least 3 exact steps '^1(,1)*$'
}
# check_terms_asked: kelto gave its one size as both limits and asked to draw its own bar.
check_terms_asked() {
    local min max
    read -r min max < <(protocol_log limits)
    check "the toplevel's maximum is its minimum ($min, $max)" \
        test -n "$min" -a "$min" = "$max" -a "$min" != none
    check "kelto asks to draw its own title bar (mode $(protocol_log asked-mode))" \
        test "$(protocol_log asked-mode)" = 1
}
