# Starting a window manager on the test display. Source it after tests/realwindow/lib.sh (it
# uses log, fail and wait_until); DISPLAY must be set. Every window manager runs in a process
# group of its own with HOME in the work folder, so none writes outside it and
# stop_window_manager ends it with all it started.
# shellcheck shell=bash disable=SC2034  # XVFB_PID is ended by the sourcing script

WM_GROUP=

# Whether the tools for window manager NAME are installed.
window_manager_installed() {
    case $1 in
    none) return 0 ;;
    xfwm4) command -v xfwm4 >/dev/null && command -v dbus-run-session >/dev/null ;;
    *) command -v "$1" >/dev/null ;;
    esac
}

# start_window_manager NAME: starts it and waits until it manages windows. "none" starts
# nothing.
start_window_manager() {
    local name=$1 home="$WORK/home-$1"
    mkdir -p "$home"
    local command
    case $name in
    none) return 0 ;;
    openbox) command=(openbox --sm-disable) ;;
    # xfwm4 reads its settings over the session bus; the compositor is off as on old screens.
    xfwm4) command=(dbus-run-session -- xfwm4 --compositor=off --sm-client-disable) ;;
    icewm) command=(icewm) ;;
    fluxbox) command=(fluxbox) ;;
    metacity) command=(metacity --no-composite) ;;
    mutter) command=(dbus-run-session -- mutter --x11 --sm-disable) ;;
    twm)
        # twm's stock settings wait for a click to place each new window.
        printf '%s\n' RandomPlacement NoGrabServer 'TitleFont "fixed"' 'MenuFont "fixed"' \
            'IconFont "fixed"' 'ResizeFont "fixed"' 'IconManagerFont "fixed"' >"$home/.twmrc"
        command=(twm)
        ;;
    *) fail "unknown window manager $name" ;;
    esac
    HOME=$home setsid "${command[@]}" >"$WORK/$name.log" 2>&1 &
    WM_GROUP=$!
    if [ "$name" = twm ]; then
        # twm announces nothing; framed_window tells once a window is shown.
        sleep 1
        kill -0 "$WM_GROUP" 2>/dev/null || fail "twm did not come up (log: $(tail -n 3 "$WORK/twm.log"))"
    else
        wait_until 15 ewmh_wm_running ||
            fail "$name did not come up (log: $(tail -n 3 "$WORK/$name.log"))"
    fi
    log "window manager $name running"
}
ewmh_wm_running() {
    kill -0 "$WM_GROUP" 2>/dev/null || return 1
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
# Whether window $1 sits in a frame of the window manager rather than on the root.
framed_window() {
    local parent
    parent=$(xwininfo -tree -id "$1" 2>/dev/null | awk '/Parent window id:/ {print $4}')
    local root
    root=$(xwininfo -root 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$parent" ] && [ "$parent" != "$root" ]
}

stop_window_manager() {
    [ -n "$WM_GROUP" ] || return 0
    kill -- "-$WM_GROUP" 2>/dev/null || true
    wait "$WM_GROUP" 2>/dev/null || true
    WM_GROUP=
}

# start_test_display [DEPTH [SIZE]]: a private Xvfb on the first free display number, which
# Xvfb picks itself (or on KELTO_DISPLAY_NUMBER when set, for runs by hand); sets DISPLAY.
start_test_display() {
    local depth=${1:-24} size=${2:-1024x768}
    if [ -n "${KELTO_DISPLAY_NUMBER:-}" ]; then
        echo "$KELTO_DISPLAY_NUMBER" >"$WORK/display-number"
        Xvfb ":$KELTO_DISPLAY_NUMBER" -screen 0 "${size}x$depth" -dpi 96 -nolisten tcp -noreset \
            >"$WORK/xvfb.log" 2>&1 &
    else
        Xvfb -displayfd 3 -screen 0 "${size}x$depth" -dpi 96 -nolisten tcp -noreset \
            3>"$WORK/display-number" >"$WORK/xvfb.log" 2>&1 &
    fi
    XVFB_PID=$!
    wait_until 15 test -s "$WORK/display-number" || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$WORK/display-number")"
    export DISPLAY
    wait_until 10 xprop -root >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
    log "display $DISPLAY, depth $depth"
}

# For the EXIT trap in place of lib.sh's cleanup, which takes the exit status from $?: the
# window manager goes first.
end_test() {
    local status=$?
    stop_window_manager
    set +e
    (exit "$status")
    cleanup
}
