# shellcheck shell=bash
# A private X session for the tests, the scripts and the benchmark: Xvfb on a display number
# the server picks itself (no two runs can collide), a window manager, and the viewer in it.
# Source it; it starts nothing by itself. Everything it starts ends with the script, also when
# a test fails or the script is killed: a detached watcher ends what is left and removes the
# display's lock and socket.
#
# Settings (environment):
#   KELTO_WM      window manager: openbox (default), xfwm4, icewm, fluxbox, metacity, mutter
#                 (--x11), twm, i3 (KELTO_I3_RULES: lines for its settings), none, or another
#                 command name
#   KELTO_WM_CMD  command line that starts it, when the name alone is not enough
#   KELTO_DISPLAY a fixed display number (:N) instead of the first free one
#   KELTO_SCREEN  Xvfb screen as WIDTHxHEIGHTxDEPTH, 1024x768x24 by default (1024x768x8 for a
#                 colour-map display); KELTO_XVFB_ARGS: more Xvfb options
#   KELTO_BIN     the viewer, for start_kelto
#   KELTO_OBSERVER, KELTO_HOLDER_DUMP   screen_observer and holder_dump, for the frame functions
#   KEEP_FAILED   set: a failed script keeps its work folder
#   FAIL_LOGS     files in the work folder whose tails fail shows besides kelto's stderr
#
# Session:  start_display, lose_display (SIGKILL to the server), stop_display, start_wm, stop_wm,
#           framed_window WID
# Viewer:   [START_POINTER="X Y"] start_kelto [ARGS], start_program COMMAND..., kelto_alive,
#           await_exit SECONDS, ends_with STATUS HOW [SECONDS [ERROR]], check_esc_quits [SECONDS],
#           client_size, inner_origin, rss_kib
# Others:   start_watcher, then remember_pid other PID (or group PID for a session leader and
#           all of its session): ended with the session, also when the script is killed
# Input:    keys KEY..., pointer_inner X Y, click, click_gap, close_by_key (Alt+F4)
# Frames:   current_frame, settled_frame, change_from, screenshot, observe and judge,
#           changes_within, at_most_changes, run_cases (a table of cases), check_whole_steps
# Results:  log, fail, check DESCRIPTION COMMAND..., finish, wait_until SECONDS COMMAND...
# shellcheck disable=SC2034  # CAPTION is read by the scripts that source this
set -euo pipefail

CAPTION='KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit'
TEST_NAME=$(basename "$0" .sh)
KELTO_WM=${KELTO_WM:-openbox}
XVFB_PID=
WM_PID=
KELTO_PID=
DISPLAY_NUMBER=
WID=
FAILURES=0
FAIL_LOGS=${FAIL_LOGS:-}

# xdotool types é, ß and € only in a UTF-8 locale; C.UTF-8 is built into Debian's C library.
export LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb

for _tool in Xvfb xdotool xwininfo xprop setsid; do
    if ! command -v "$_tool" >/dev/null; then
        echo "SKIP: $_tool is not installed (bash scripts/install-deps.sh --with-tests)"
        exit 77
    fi
done
# wm_command NAME: the command line that starts window manager NAME, its words on one line.
wm_command() {
    [ -z "${KELTO_WM_CMD:-}" ] || { echo "$KELTO_WM_CMD"; return 0; }
    case $1 in
        openbox) echo openbox --sm-disable ;;
        # xfwm4 and mutter read their settings over a session bus; no compositing, as on old
        # screens.
        xfwm4) echo dbus-run-session -- xfwm4 --compositor=off --sm-client-disable ;;
        mutter) echo dbus-run-session -- mutter --x11 --sm-disable ;;
        metacity) echo metacity --no-composite ;;
        # i3 reads the settings start_wm writes; KELTO_I3_RULES adds lines (a forced tile).
        i3) echo i3 -c "${WORK:-}/home-i3/i3.config" ;;
        *) echo "$1" ;;
    esac
}
# wm_installed NAME: the programs that start window manager NAME are there.
wm_installed() {
    [ "$1" != none ] || return 0
    local command
    read -r -a command < <(wm_command "$1")
    command -v "${command[0]}" >/dev/null || return 1
    [ "${command[0]}" != dbus-run-session ] || command -v "${command[2]}" >/dev/null
}
if ! wm_installed "$KELTO_WM"; then
    echo "SKIP: window manager $KELTO_WM is not installed"
    exit 77
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kelto-$TEST_NAME.XXXXXX")
chmod 700 "$WORK"
FRAMES="$WORK/frames"
export XDG_RUNTIME_DIR="$WORK"
# Processes the watcher must end should this shell die without running its traps.
: >"$WORK/pids"

now_ms() { date +%s%3N; }
log() { printf '[%s %s] %s\n' "$(date +%T.%3N)" "$TEST_NAME" "$*"; }
fail() {
    log "FAIL: $*"
    describe_windows
    # A protocol log (WAYLAND_DEBUG) in kelto.err: its own lines, then the log's last ones.
    if [ -s "$WORK/kelto.err" ]; then
        { grep -v '^\[ *[0-9.]*\] ' "$WORK/kelto.err" || true; } | sed 's/^/kelto stderr: /' |
            head -n 20
        { grep '^\[ *[0-9.]*\] ' "$WORK/kelto.err" || true; } | tail -n 12 |
            sed 's/^/kelto protocol: /'
    fi
    describe_threads
    local file
    for file in $FAIL_LOGS; do
        [ ! -s "$WORK/$file" ] || { echo "--- $file"; tail -n 20 "$WORK/$file"; }
    done
    exit 1
}
# For a failure's log: whether the window manager still runs, what has the focus, and each of
# the viewer's windows: mapped or not, in a frame of the window manager or not.
describe_windows() {
    [ -n "${DISPLAY:-}" ] && [ -n "$XVFB_PID" ] || return 0
    local wm="$KELTO_WM" id state
    if [ -n "$WM_PID" ]; then kill -0 "$WM_PID" 2>/dev/null && wm+=" running" || wm+=" ended"; fi
    log "window manager: $wm; focus: $(xdotool getwindowfocus 2>/dev/null || echo none)"
    [ -n "$KELTO_PID" ] || return 0
    for id in $(xdotool search --pid "$KELTO_PID" 2>/dev/null); do
        state=$(xwininfo -id "$id" 2>/dev/null | awk '/Map State:/ {print $3}')
        framed_window "$id" && state+=", framed" || state+=", not framed"
        log "viewer window $id: $state"
    done
}
# For a failure's log, when the viewer still runs: where each of its threads waits, so that a
# viewer that stopped answering tells why.
describe_threads() {
    [ -n "$KELTO_PID" ] && kill -0 "$KELTO_PID" 2>/dev/null || return 0
    local task
    for task in /proc/"$KELTO_PID"/task/*; do
        log "viewer thread $(cat "$task/comm" 2>/dev/null): waits in $(cat "$task/wchan" 2>/dev/null)"
    done
    command -v gdb >/dev/null || return 0
    timeout 30 gdb -p "$KELTO_PID" -batch -nx -ex 'thread apply all bt 12' 2>/dev/null |
        grep -E '^(Thread|#)' | sed 's/^/  /' | head -n 60
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

# Ends a process and waits for it; a zombie child is reaped too.
end_process() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    forget_pid "$1"
}

# An X server killed outright leaves its socket file (and its lock file, when it made one:
# with -displayfd it makes none). They go once no server listens on that number any more.
remove_display_files() {
    local number=$1 pid=$2
    [ -n "$number" ] || return 0
    kill -0 "$pid" 2>/dev/null && return 0
    grep -q "/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null && return 0
    rm -f "/tmp/.X11-unix/X$number"
    if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$number-lock")" = "$pid" ]; then
        rm -f "/tmp/.X$number-lock"
    fi
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    end_process "$KELTO_PID"
    end_others
    stop_display
    if [ "$status" -ne 0 ] && [ -n "${KEEP_FAILED:-}" ]; then
        rm -f "$WORK/pids"
        echo "kept $WORK"
    else
        rm -rf "$WORK"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The watcher outlives a SIGKILL of this shell (a test runner's timeout): it runs in its own
# session, so neither the process group nor the process tree of this shell contains it. It
# ends the processes listed in $WORK/pids once this shell is gone, unless cleanup ran.
start_watcher() {
    [ -z "${_watcher_started:-}" ] || return 0
    _watcher_started=1
    # shellcheck disable=SC2016  # expanded by the watcher's shell
    setsid -f bash -c '
        while kill -0 "$1" 2>/dev/null; do sleep 1; done
        [ -f "$2/pids" ] || exit 0
        while read -r kind pid number; do
            [ "$kind" != wm ] && [ "$kind" != group ] || kill -KILL -- "-$pid" 2>/dev/null
            kill -KILL "$pid" 2>/dev/null
            if [ "$kind" = xvfb ]; then
                [ -n "$number" ] || continue
                sleep 0.5
                grep -q "/tmp/.X11-unix/X$number\$" /proc/net/unix && continue
                rm -f "/tmp/.X11-unix/X$number"
                [ "$(tr -d " \n" 2>/dev/null <"/tmp/.X$number-lock")" = "$pid" ] &&
                    rm -f "/tmp/.X$number-lock"
            fi
        done <"$2/pids"
        [ -n "$3" ] || rm -rf "$2"
    ' kelto-xsession-watcher "$$" "$WORK" "${KEEP_FAILED:-}" </dev/null >/dev/null 2>&1
}
remember_pid() { echo "$1 $2 ${3:-}" >>"$WORK/pids"; }
forget_pid() {
    [ -f "$WORK/pids" ] || return 0
    awk -v pid="$1" '$2 != pid' "$WORK/pids" >"$WORK/pids.new" && mv "$WORK/pids.new" "$WORK/pids"
}
# Ends what a script registered as "other" (a compositor, say), before the display goes; for
# "group", a process that leads a session of its own, all the session's processes.
end_others() {
    [ -f "$WORK/pids" ] || return 0
    local pid others
    others=$(awk '$1 == "other" || $1 == "group" {print $1 ":" $2}' "$WORK/pids")
    for pid in $others; do
        [ "${pid%%:*}" != group ] || kill -- "-${pid#*:}" 2>/dev/null || true
        end_process "${pid#*:}"
    done
}

# start_display: Xvfb on the first free display number and the window manager KELTO_WM.
# Sets DISPLAY, DISPLAY_NUMBER, XVFB_PID and WM_PID.
start_display() {
    start_watcher
    : >"$WORK/display"
    # shellcheck disable=SC2086  # options, split on purpose
    Xvfb ${KELTO_DISPLAY:-} -displayfd 3 -screen 0 "${KELTO_SCREEN:-1024x768x24}" -dpi 96 \
        -nolisten tcp -noreset ${KELTO_XVFB_ARGS:-} 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    remember_pid xvfb "$XVFB_PID"
    # The number is written once the server accepts connections.
    if ! wait_until 30 grep -q '^[0-9]' "$WORK/display"; then
        sed 's/^/Xvfb: /' "$WORK/xvfb.log" | tail -n 5
        fail "Xvfb did not start"
    fi
    DISPLAY_NUMBER=$(head -n 1 "$WORK/display")
    forget_pid "$XVFB_PID"
    remember_pid xvfb "$XVFB_PID" "$DISPLAY_NUMBER"
    export DISPLAY=":$DISPLAY_NUMBER"
    start_wm
    log "display $DISPLAY, window manager $KELTO_WM"
}

# start_wm: starts KELTO_WM on DISPLAY and waits until it manages windows. It runs in a session
# of its own with HOME in the work folder: it writes nothing outside it, and stop_wm ends it
# with all it started (the session bus of xfwm4 and mutter).
start_wm() {
    WM_PID=
    [ "$KELTO_WM" != none ] || return 0
    local home="$WORK/home-$KELTO_WM"
    mkdir -p "$home"
    # twm's stock settings wait for a click to place each new window.
    [ "$KELTO_WM" != twm ] || printf '%s\n' RandomPlacement NoGrabServer 'TitleFont "fixed"' \
        'MenuFont "fixed"' 'IconFont "fixed"' 'ResizeFont "fixed"' 'IconManagerFont "fixed"' \
        >"$home/.twmrc"
    # i3 without a bar; its first-start wizard runs only without a settings file.
    [ "$KELTO_WM" != i3 ] || printf '%s\n' '# i3 config file (v4)' 'font pango:monospace 8' \
        "${KELTO_I3_RULES:-}" >"$home/i3.config"
    # fluxbox's stock style sets a wallpaper with an image viewer and, when that fails, opens a
    # message window at once, over the viewer's window and with the focus.
    if [ "$KELTO_WM" = fluxbox ]; then
        mkdir -p "$home/.fluxbox"
        echo 'background: none' >"$home/.fluxbox/overlay"
    fi
    local command
    read -r -a command < <(wm_command "$KELTO_WM")
    # Not a job-control child, so setsid makes this very process the session's leader.
    HOME=$home setsid "${command[@]}" >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    remember_pid wm "$WM_PID"
    _wm_since=$SECONDS
    wait_until 20 wm_running || fail "$KELTO_WM did not come up (log: $(tail -n 3 "$WORK/wm.log"))"
    wm_takes_windows_in || fail "$KELTO_WM frames no window (log: $(tail -n 3 "$WORK/wm.log"))"
}
# A window manager names itself on the root window before it handles the requests to map a
# window, and openbox loses one that comes in between: on a busy machine about one viewer in
# ten then stayed unmapped. A throwaway window, mapped again each second until the window
# manager frames it, shows that it takes windows in.
wm_takes_windows_in() {
    xev -name kelto-wm-probe -geometry 16x16 >/dev/null 2>&1 &
    local xev_pid=$! tries framed=1 probe
    remember_pid other "$xev_pid"
    if wait_until 10 wm_probe_window >/dev/null; then
        probe=$(wm_probe_window)
        for tries in 1 2 3 4 5 6 7 8 9 10; do
            if wait_until 1 framed_window "$probe"; then
                framed=0
                break
            fi
            xdotool windowunmap "$probe" windowmap "$probe" 2>/dev/null || true
        done
    fi
    end_process "$xev_pid"
    return "$framed"
}
# The throwaway window's id, once it is there.
wm_probe_window() { xdotool search --name '^kelto-wm-probe$' 2>/dev/null | head -n 1 | grep .; }
# A window manager that follows the desktop conventions names itself on the root window; one
# that does not (twm) is taken as up once it has run for a second.
wm_running() {
    kill -0 "$WM_PID" 2>/dev/null ||
        fail "$KELTO_WM ended at start (log: $(tail -n 3 "$WORK/wm.log"))"
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    case $KELTO_WM in twm) [ "$SECONDS" -gt "$((_wm_since + 1))" ] ;; *) return 1 ;; esac
}
stop_wm() {
    [ -n "$WM_PID" ] || return 0
    kill -- "-$WM_PID" 2>/dev/null || true
    end_process "$WM_PID"
    WM_PID=
}
# framed_window WID: the window sits in a frame of the window manager, not on the root.
framed_window() {
    local parent root
    parent=$(xwininfo -tree -id "$1" 2>/dev/null | awk '/Parent window id:/ {print $4}')
    root=$(xwininfo -root 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$parent" ] && [ "$parent" != "$root" ]
}

# Kills the X server outright, as a crash would.
lose_display() {
    kill -KILL "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    remove_display_files "$DISPLAY_NUMBER" "$XVFB_PID"
    forget_pid "$XVFB_PID"
    stop_wm
    XVFB_PID=
}

stop_display() {
    stop_wm
    if [ -n "$XVFB_PID" ]; then
        end_process "$XVFB_PID"
        remove_display_files "$DISPLAY_NUMBER" "$XVFB_PID"
    fi
    XVFB_PID=
    WM_PID=
}

# start_kelto [ARGS]: starts KELTO_BIN with ARGS (which it must ignore), finds its window,
# activates it and waits until it shows a frame (or, without the observer, until it is
# mapped). With PLATFORM=wayland, on the compositor through Qt's Wayland plugin, waiting for a
# frame on its output when there is one; KELTO_WAYLAND_DEBUG=1 puts the protocol log in
# kelto.err.
# shellcheck disable=SC2120  # arguments are optional
start_kelto() {
    : "${KELTO_BIN:?path of the kelto executable}"
    [ "${PLATFORM:-xcb}" = wayland ] || { start_program "$KELTO_BIN" "$@"; return; }
    WAYLAND_DEBUG=${KELTO_WAYLAND_DEBUG:-} QT_QPA_PLATFORM=wayland "$KELTO_BIN" \
        >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    remember_pid kelto "$KELTO_PID"
    [ -n "${OUTPUT:-}" ] || return 0
    wait_until 20 shows_a_frame || fail "the compositor's output shows none of the holder pictures"
    log "kelto $KELTO_PID shows frame $(probe once)"
}
# start_program COMMAND...: the same for a command that runs the viewer in its own process
# (valgrind, for one). Sets KELTO_PID and WID.
start_program() {
    # The pointer must not rest on the picture: a move there sets the pace. A test of where the
    # window opens puts it elsewhere (START_POINTER="X Y").
    # shellcheck disable=SC2086  # two coordinates
    xdotool mousemove ${START_POINTER:-1010 750}
    # In its own process group the viewer gets the signal dispositions a user's shell gives it;
    # a background job of a script would ignore SIGINT.
    set -m
    "$@" >"$WORK/kelto.out" 2>"$WORK/kelto.err" &
    KELTO_PID=$!
    set +m
    remember_pid kelto "$KELTO_PID"
    if ! wait_until "${KELTO_START_SECONDS:-30}" find_window; then
        xwininfo -root -tree 2>/dev/null | grep -i kelto | sed 's/^ */windows: /' | head -n 5
        [ ! -s "$WORK/wm.log" ] || sed 's/^/wm: /' "$WORK/wm.log" | tail -n 5
        fail "no kelto window appeared"
    fi
    activate_window || fail "window could not be activated"
    if [ -n "${KELTO_OBSERVER:-}" ]; then
        wait_until 30 shows_a_frame ||
            fail "window shows none of the holder pictures ($(probe describe 2>&1))"
    else
        wait_until 30 is_viewable || fail "window is not shown"
    fi
    log "kelto $KELTO_PID, window $WID"
}
find_window() {
    kill -0 "$KELTO_PID" 2>/dev/null || fail "kelto ended before showing its window"
    WID=$(xdotool search --onlyvisible --pid "$KELTO_PID" 2>/dev/null | head -n 1) || true
    [ -n "$WID" ]
}
# Waits for the input focus itself: the next viewer's window often gets the id of the last
# one, which the window manager may still name as the active window, so waiting for that
# could return with nothing focused.
activate_window() {
    # Without a window manager, or under one without the desktop's activation request (twm),
    # the focus request itself.
    if [ "$KELTO_WM" = none ] || ! xdotool windowactivate "$WID" 2>/dev/null; then
        xdotool windowfocus "$WID"
    fi
    wait_until 20 has_focus
}
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WID" ]; }
# close_by_key: the desktop's close key, Alt+F4, to the viewer. Once in about 14 runs on a busy
# machine openbox let the first press pass while the viewer stood framed, focused and active,
# and a second press closed it at once; a person presses again too, so the press is repeated
# once after 5 s (and logged). Whether the close then ends the viewer is the caller's check.
close_by_key() {
    wait_until 10 wm_made_active || log "the window manager does not name the viewer active"
    xdotool key alt+F4
    if ! wait_until 5 kelto_gone; then
        log "Alt+F4 changed nothing in 5 s; pressing it again"
        xdotool key alt+F4
    fi
}
# The window manager names the viewer's window as its active window (_NET_ACTIVE_WINDOW; xfwm4
# adds a second id after it).
wm_made_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$WID" ]; }
is_viewable() { xwininfo -id "$WID" 2>/dev/null | grep -q 'Map State: IsViewable'; }
kelto_alive() { [ -n "$KELTO_PID" ] && kill -0 "$KELTO_PID" 2>/dev/null && ! kelto_zombie; }
kelto_zombie() { ps -o stat= -p "$KELTO_PID" 2>/dev/null | grep -q Z; }
kelto_gone() { ! kelto_alive; }

# await_exit SECONDS: waits for kelto to end by itself and returns its exit status. Fails when
# it still runs after SECONDS.
await_exit() {
    local seconds=$1 start status=0
    start=$(now_ms)
    wait_until "$seconds" kelto_gone || fail "kelto still runs after ${seconds}s"
    wait "$KELTO_PID" || status=$?
    log "kelto ended with status $status after $(($(now_ms) - start)) ms"
    forget_pid "$KELTO_PID"
    KELTO_PID=
    return "$status"
}

# ends_with STATUS HOW [SECONDS [ERROR]]: once HOW asked it to, the viewer ends within SECONDS
# (20) with STATUS (a crash shows there: a core comes only with death by a signal). With status
# 1 its stderr is one line, its own "kelto: error: ERROR" (an extended regular expression,
# anything by default); with any other, on X11, nothing (on Wayland it may hold the protocol
# log).
ends_with() {
    local status=$1 how=$2 said got=0
    await_exit "${3:-20}" || got=$?
    said="[$(head -c 300 "$WORK/kelto.err")]"
    check "$how ends the program with status $status (got $got)" test "$got" -eq "$status"
    if [ "$status" -eq 1 ]; then
        check "$how: one line on stderr, kelto's own $said" only_error_line "$WORK/kelto.err" \
            "${4:-.*}"
    elif [ "${PLATFORM:-xcb}" != wayland ]; then
        check "$how: nothing on stderr $said" test ! -s "$WORK/kelto.err"
    fi
}
# only_error_line FILE ERROR: FILE holds one line, "kelto: error: ERROR" (as for ends_with).
only_error_line() { [ "$(wc -l <"$1")" -eq 1 ] && grep -Eqx "kelto: error: $2" "$1"; }
# shellcheck disable=SC2120  # the time is optional
check_esc_quits() {
    keys Escape
    ends_with 0 Esc "$@"
}
# The client area as WIDTHxHEIGHT.
client_size() { xwininfo -id "$WID" | sed -n 's/^ *Width: //p; s/^ *Height: //p' | paste -sd x; }

# Top-left pixel of the picture area's inner area, in screen coordinates: "X Y".
inner_origin() {
    local X Y WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    echo "$((X + 2)) $((Y + 2))"
}
# shellcheck disable=SC2120  # the viewer's by default
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/${1:-$KELTO_PID}/status" 2>/dev/null; }

# Types keys (xdotool key names) into the focused window.
keys() { xdotool key --delay 40 "$@"; }
# Moves the pointer to a pixel of the inner area (origin at the client's (2,2)).
pointer_inner() { xdotool mousemove --window "$WID" $(($1 + 2)) $(($2 + 2)); }

# A click with the left button where the pointer is. click_gap waits until a click can no
# longer make a double-click with the previous one; click waits for that too. The time of the
# last click is kept in a file: a click may come from a subshell (observe's command).
click_gap() {
    local since=$(($(now_ms) - $(cat "$WORK/last_click" 2>/dev/null || echo 0)))
    [ "$since" -ge 800 ] || sleep "0.$(printf '%03d' $((800 - since)))"
}
click() {
    click_gap
    xdotool click 1
    now_ms >"$WORK/last_click"
}

# --- Frames on screen, told apart by screen_observer against the holder pictures. ---

dump_holders() {
    [ -d "$FRAMES" ] && return 0
    : "${KELTO_HOLDER_DUMP:?path of holder_dump}"
    mkdir "$FRAMES"
    "$KELTO_HOLDER_DUMP" "$FRAMES" || fail "holder pictures cannot be told apart"
}
# probe COMMAND...: the observer (tests/observer/screen_observer.cpp) on the viewer's window,
# or on the compositor's output window OUTPUT, drawn at SCALE, when there is one.
probe() {
    : "${KELTO_OBSERVER:?path of screen_observer}"
    dump_holders
    if [ -n "${OUTPUT:-}" ]; then
        QT_QPA_PLATFORM=xcb "$KELTO_OBSERVER" "$FRAMES" output "$OUTPUT" "${SCALE:-1}" "$@"
    else
        "$KELTO_OBSERVER" "$FRAMES" window "$WID" "$@"
    fi
}
shows_a_frame() {
    kelto_alive || fail "kelto ended: $(head -c 300 "$WORK/kelto.err")"
    probe once >/dev/null 2>&1
}
current_frame() { probe once; }
# settled_frame STABLE_MS TIMEOUT_MS: the frame once it has not changed for STABLE_MS.
settled_frame() { probe settle "$@"; }
# change_from INDEX TIMEOUT_MS: the first frame shown that differs from INDEX.
change_from() { probe change-from "$@"; }
screenshot() { probe save "$1"; }

# observe [sync] [from-sent] [min-changes=N] [changes=N] REST_MS MAX_MS COMMAND...
# Watches the frames, runs COMMAND, and goes on watching until the frame has rested REST_MS
# since the command or its last change (after at least N changes), until N changes have been
# seen, or until MAX_MS have passed since the command, all on the samples' own times. sync:
# COMMAND goes out just after a change, at the start of a pass's wait, so a key reaches the
# program within that pass. from-sent: counted from when COMMAND was sent, not from when it
# returned (for a command that starts something from rest). Prints the observation, e.g.
# "frames=3,4 steps=1 stood= stable=1200 unmatched=0 before=1", for judge; logs to stderr.
observe() {
    local options=() line sent delivered status=0
    while [[ ${1:-} =~ ^[a-z] ]]; do options+=("$1") && shift; done
    local rest=$1 max=$2
    shift 2
    dump_holders
    coproc OBSERVER { probe observe "$rest" "$max" "${options[@]}" 2>"$WORK/observer.err"; }
    local pid=$OBSERVER_PID from=${OBSERVER[0]} to=${OBSERVER[1]}
    read -r -t 60 line <&"$from" && [ "$line" = ready ] ||
        fail "the observer is not watching: $line $(tail -n 3 "$WORK/observer.err")" >&2
    sent=$(now_ms)
    "$@" >&2
    delivered=$(now_ms)
    echo "$sent $delivered" >&"$to"
    read -r -t $((max / 1000 + 60)) line <&"$from" || fail "the observer gave no answer" >&2
    wait "$pid" || status=$?
    log "${*:-watching}: $line (the command took $((delivered - sent)) ms)" >&2
    [ "$status" -eq 0 ] || fail "no frame seen before and after: $* (status $status)" >&2
    echo "$line"
}
# judge OBSERVATION TERM...: whether the observation passes every term (steps REGEX, rests MS,
# still, forward PREFIX, backward PREFIX, fast DIR, all DIR, changes-at-least N,
# changes-at-most N, exact, starts-at N, short-at-most N MS: see
# tests/observer/verdict.h); says which term failed.
judge() { "$KELTO_OBSERVER" judge "$@"; }
# frames_seen OBSERVATION: the frames it saw, in order; last_frame: the last of them.
frames_seen() {
    local frames=${1#frames=}
    frames=${frames%% *}
    echo "${frames//,/ }"
}
last_frame() {
    local frames
    frames=$(frames_seen "$1")
    echo "${frames##* }"
}
# changes_within N SECONDS [TERM...]: N frame changes are seen within SECONDS, and the
# observation passes the TERMs. at_most_changes N MS [TERM...]: no more than N changes in MS (a
# busy machine can only lower the count: for upper bounds).
changes_within() {
    local seen
    seen=$(observe changes="$1" $(($2 * 1000 + 1)) $(($2 * 1000)) true) || return 1
    judge "$seen" changes-at-least "$1" "${@:3}"
}
at_most_changes() {
    local seen
    seen=$(observe "$2" "$2" true) || return 1
    judge "$seen" changes-at-most "$1" "${@:3}"
}

# run_cases: one observation per row of the table on stdin, each checked:
#   OPTIONS REST_MS MAX_MS | INPUT... | TERM... | DESCRIPTION
# with observe's options and judge's terms; @last in a term is the last frame the row before
# saw. A row "- | COMMAND... | | DESCRIPTION" only runs COMMAND and fails with DESCRIPTION when
# it fails. Blank lines and lines starting with # are skipped.
run_cases() {
    local rows row how input terms what seen last=
    mapfile -t rows
    for row in "${rows[@]}"; do
        [[ ! $row =~ ^[[:space:]]*(#|$) ]] || continue
        IFS='|' read -r how input terms what <<<"$row"
        read -r -a how <<<"$how"
        read -r -a input <<<"$input"
        read -r -a terms <<<"${terms//@last/$last}"
        what=${what#"${what%%[![:space:]]*}"}
        if [ "${how[0]}" = - ]; then
            "${input[@]}" >/dev/null || fail "$what"
            continue
        fi
        seen=$(observe "${how[@]}" "${input[@]}")
        check "$what" judge "$seen" "${terms[@]}"
        last=$(last_frame "$seen")
    done
}

# check_whole_steps [COUNT]: stopped, then after each of COUNT (18) single steps ("."), every
# pixel of the client area against the window as it must look, and each step one frame on. A
# frame is taken once it stood 400 ms, over a pass at the start pace (250 ms): a step a pass
# late still shows.
check_whole_steps() {
    local out previous=-1 step
    for step in $(seq 0 "${1:-18}"); do
        [ "$step" -eq 0 ] || keys period
        out=$(probe whole 400 20000 "$WORK/differs.png" "$previous") || true
        check "after $step step(s): the whole window as it must be, one frame on (frame $out)" \
            test "${out#* }" = none
        previous=${out%% *}
    done
}
