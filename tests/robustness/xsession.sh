# Shared by the real-window checks: a private X server with a window manager, the viewer
# started in it, and clean-up of exactly the processes started here.
# Source it, then call start_session DISPLAY and start_viewer KELTO_BINARY.

# Background jobs of a script without job control ignore SIGINT; the viewer must see the
# signal dispositions a user's shell would give it.
set -m

session_pids=()
viewer_pid=
viewer_err=
work_dir=$(mktemp -d "${TMPDIR:-/tmp}/kelto-robust.XXXXXX")
chmod 700 "$work_dir"
export XDG_RUNTIME_DIR=$work_dir

fail() {
    echo "FAIL: $*" >&2
    [[ -n "$viewer_err" && -s "$viewer_err" ]] && sed 's/^/viewer stderr: /' "$viewer_err" >&2
    exit 1
}

end_session() {
    local pid
    for pid in $viewer_pid "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work_dir"
}
trap end_session EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

start_session() {
    export DISPLAY=$1
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    session_pids+=("$xvfb_pid")
    local i
    for ((i = 0; i < 100; ++i)); do
        xdpyinfo >/dev/null 2>&1 && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb on $DISPLAY did not start (display in use?)"
        sleep 0.05
    done
    openbox >"$work_dir/openbox.log" 2>&1 &
    session_pids+=("$!")
    sleep 0.3
}

# Starts the viewer, waits for its window (up to $viewer_start_s seconds, 5 by default) and
# activates it; sets viewer_pid and window_id.
start_viewer() {
    viewer_err=$work_dir/viewer.err
    "$@" 2>"$viewer_err" &
    viewer_pid=$!
    window_id=
    local i limit=$((${viewer_start_s:-5} * 20))
    for ((i = 0; i < limit; ++i)); do
        window_id=$(xdotool search --onlyvisible --pid "$viewer_pid" 2>/dev/null | head -1)
        [[ -n "$window_id" ]] && break
        kill -0 "$viewer_pid" 2>/dev/null || fail "viewer ended before showing its window"
        sleep 0.05
    done
    [[ -n "$window_id" ]] || fail "no viewer window after ${viewer_start_s:-5} s"
    xdotool windowactivate --sync "$window_id" 2>/dev/null || fail "cannot activate the window"
    # Let the first activation fill the frame table and enter the loop.
    sleep 0.5
}

# Top-left pixel of the picture area's inner area, in screen coordinates.
inner_origin() {
    eval "$(xdotool getwindowgeometry --shell "$window_id")"
    echo "$((X + 2)) $((Y + 2))"
}

# Resident memory is meaningless as a leak signal under the address sanitizer.
memory_checked() {
    [[ -z ${KELTO_SANITIZED:-} ]] && return 0
    echo "sanitized build: resident-memory check skipped (the leak sanitizer covers leaks)"
    return 1
}

rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null; }

alive() { kill -0 "$viewer_pid" 2>/dev/null; }

# Waits up to $1 ms for the viewer to end; sets status (its exit status, or "hang") and
# elapsed (ms).
wait_viewer_end() {
    local limit=$1 start
    start=$(now_ms)
    while alive && (($(now_ms) - start < limit)); do sleep 0.01; done
    elapsed=$(($(now_ms) - start))
    if alive; then
        status=hang
        return
    fi
    wait "$viewer_pid"
    status=$?
    viewer_pid=
}
