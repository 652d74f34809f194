#!/usr/bin/env bash
# Builds the benchmark targets, runs the viewer on a private Xvfb and prints one table.
#   bench/run.sh [--display N] [--quiet-wait SECONDS]
# --quiet-wait waits (up to SECONDS) for the 1-minute load average to drop below 0.5
# before measuring; the table is noisy on a busy machine. The display is the first free
# number unless --display names one; the window manager is KELTO_WM (openbox by default).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
quiet_wait=0
while [[ $# -gt 0 ]]; do
    case $1 in
        --display) export KELTO_DISPLAY=:${2#:}; shift 2 ;;
        --quiet-wait) quiet_wait=$2; shift 2 ;;
        *) echo "usage: $0 [--display N] [--quiet-wait SECONDS]" >&2; exit 2 ;;
    esac
done

bash "$root/scripts/install-deps.sh" --with-tests --with-bench

# Each stage says what it does and when it began: the whole run takes minutes.
started=$SECONDS
stage() { printf '[bench %2d:%02d] %s\n' $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)) "$*"; }

stage "building the bench targets in build/bench"
cmake --preset release -B "$build" -DKELTO_BUILD_BENCH=ON -DKELTO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kelto kelto_bench xlib_floor screen_observer repaint_check micro_bench \
    qt_floor

kelto=$build/src/kelto
kelto_bench=$build/bench/kelto_bench
floor=$build/bench/xlib_floor
probe=$build/bench/observer/screen_observer
# shellcheck source-path=SCRIPTDIR source=../tests/support/xsession.sh
. "$root/tests/support/xsession.sh"
results=$WORK/results

load() { cut -d' ' -f1-3 /proc/loadavg; }
cpu_busy() {  # percent of both cores busy over one second
    local a b
    read -r -a a </proc/stat; sleep 1; read -r -a b </proc/stat
    local idle=$(( (b[4] + b[5]) - (a[4] + a[5]) )) total=0 i
    for i in 1 2 3 4 5 6 7 8; do total=$(( total + b[i] - a[i] )); done
    echo $(( 100 * (total - idle) / total ))
}

if [[ $quiet_wait -gt 0 ]]; then
    deadline=$((SECONDS + quiet_wait))
    while (( SECONDS < deadline )) && awk '{exit !($1 >= 0.5)}' /proc/loadavg; do sleep 5; done
fi
echo "load before: $(load)   CPU busy: $(cpu_busy)%"

# A black root: the start-up probe looks for a frame's worth of white pixels.
# TCP too, for the remote rows.
KELTO_SCREEN=800x600x24 KELTO_XVFB_ARGS="-br -listen tcp" start_display

stage "checking that every pass leaves its frame on screen"
# What is timed must also be right: every pass must leave exactly its frame on screen.
"$build/bench/repaint_check" 2>/dev/null

record() { awk -v key="$1" '{print key, $NF}' >>"$results"; }

stage "pass overhead: the viewer against the raw Xlib floor, 3 rounds"
# Pass overhead: the viewer at no wait next to the raw Xlib floor, in alternating rounds.
for round in 1 2 3; do
    "$floor" 300 5 30 | record "floor_us_$round"
    KELTO_BENCH_DELAY=-1 KELTO_BENCH_PASSES=300 KELTO_BENCH_BLOCKS=5 "$kelto_bench" 2>/dev/null |
        record "pass_us_$round"
done

stage "pace fidelity at 4 paces, then 2 with both cores busy"
# Pace fidelity: passes per block chosen so each block lasts about a second.
pace() {  # key delay passes blocks warmup
    KELTO_BENCH_DELAY=$2 KELTO_BENCH_PASSES=$3 KELTO_BENCH_BLOCKS=$4 KELTO_BENCH_WARMUP=$5 \
        "$kelto_bench" 2>/dev/null | record "$1"
}
pace pace_0 0 300 5 20
pace pace_19500 19500 150 5 20
pace pace_80000 80000 40 5 5
pace pace_1000000 1000000 4 5 2

# The same paces again with both cores kept busy by plain loops at normal priority.
hogs=()
for _ in 1 2; do
    bash -c 'while :; do :; done' &
    hogs+=($!)
    pids+=($!)
done
pace loaded_80000 80000 40 5 5
pace loaded_1000000 1000000 4 5 2
kill "${hogs[@]}"

# gifview (Debian gifsicle) next to it: the generator's 18 frames as one GIF at 4 fps.
peer=true
if ! command -v gifview >/dev/null; then
    peer=false
    echo "no gifview (apt install gifsicle): no peer rows"
fi
gifdir=$(mktemp -d)
"$build/tools/kelto_frame_generator" --block-dir "$gifdir"
for k in $(seq 18); do  # a block is a 12-byte head and then a bitmap file
    tail -c +13 "$gifdir/Image$k.blk" >"$gifdir/$(printf 'frame%02d.bmp' "$k")"
done
convert -delay 25 -loop 0 "$gifdir"/frame*.bmp "$gifdir/frames.gif"
gifview=(gifview --animate "$gifdir/frames.gif")

stage "CPU while turning at 4 fps: 2 rounds of 20 s for the viewer and for gifview"
# CPU while turning at the start pace (4 fps): three copies side by side for 20 s, the
# viewer and gifview in turn.
for round in 1 2; do
    "$probe" idle 20 3 -- "$kelto" 2>/dev/null |
        awk '{print "idle_pct", $2; print "rss_kb", $4}' >>"$results"
    if $peer; then
        "$probe" idle 20 3 -- "${gifview[@]}" 2>/dev/null |
            awk '{print "gif_idle_pct", $2; print "gif_rss_kb", $4}' >>"$results"
    fi
done

# The same on Wayland: weston nested in this display (its x11 backend, its output a window
# here), the viewer on it through Qt's Wayland plugin, in rounds of their own; weston runs only
# for those rounds, so that its output window covers nothing else.
wayland=true
if ! command -v weston >/dev/null; then
    wayland=false
    echo "no weston (apt install weston qt6-wayland): no Wayland rows"
fi
wayland_round() {
    local runtime="$WORK/wayland-runtime" pid
    mkdir -p "$runtime"
    chmod 700 "$runtime"
    XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --socket=kelto-bench --idle-time=0 \
        --no-config --width=780 --height=580 >"$WORK/weston.log" 2>&1 &
    pid=$!
    remember_pid other "$pid"
    if wait_until 15 test -S "$runtime/kelto-bench"; then
        XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=kelto-bench QT_QPA_PLATFORM=wayland \
            "$probe" idle 20 3 -- "$kelto" 2>/dev/null |
            awk '{print "wl_idle_pct", $2; print "wl_rss_kb", $4}' >>"$results"
    else
        echo "weston did not start: $(tail -n 2 "$WORK/weston.log")"
    fi
    end_process "$pid"
}
if $wayland; then
    stage "the same on Wayland (weston): 2 rounds of 20 s"
    for round in 1 2; do wayland_round; done
fi

stage "launch to first frame and peak RSS: 4 rounds of viewer, GNOME settings, gifview, Qt floor"
# Start-up to the first frame on the X server, and peak RSS, in alternating rounds. The viewer
# starts twice a round: as on this display, and with a GNOME session's settings, under which
# the toolkit loads its GTK theme (qt6-gtk-platformtheme) for the desktop's colours. The Qt
# floor is the toolkit alone: a bare Qt Widgets window showing one white picture, started as
# the viewer starts itself, without a session bus when the desktop gives none.
qt_floor_round() {
    DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-disabled:} \
        "$probe" startup 3 -- "$build/bench/qt_floor" 2>/dev/null |
        awk '{print "qt_startup_ms", $2; print "qt_rss_kb", $4}' >>"$results"
}
for round in 1 2 3 4; do
    "$probe" startup 3 -- "$kelto" 2>/dev/null |
        awk '{print "startup_ms", $2; print "rss_kb", $4; print "startup_rss_kb", $4}' >>"$results"
    qt_floor_round
    XDG_CURRENT_DESKTOP=GNOME "$probe" startup 3 -- "$kelto" 2>/dev/null |
        awk '{print "startup_gnome_ms", $2; print "rss_gnome_kb", $4}' >>"$results"
    if $peer; then
        "$probe" startup 3 -- "${gifview[@]}" 2>/dev/null |
            awk '{print "gif_startup_ms", $2; print "gif_rss_kb", $4}' >>"$results"
    fi
done
rm -rf "$gifdir"

stage "key '*' to changed frame at 3 paces"
# "*" to the changed frame, at the fastest pace, the steering pace and the start pace.
KELTO_BENCH_DELAY=0 "$probe" keylat 30 1 -- "$kelto_bench" 2>/dev/null | record key_0
KELTO_BENCH_DELAY=80000 "$probe" keylat 20 20 -- "$kelto_bench" 2>/dev/null | record key_80000
"$probe" keylat 8 250 -- "$kelto" 2>/dev/null | record key_1000000

# Over a TCP connection, as from a remote desktop: 10 s at the fastest pace, then "*" to the
# picture standing still and Esc to the window gone.
for round in 1 2 3; do
    "$probe" still 10 -- env DISPLAY="127.0.0.1:$DISPLAY_NUMBER" "$kelto" 2>/dev/null |
        awk '{print "tcp_" $1, $2}' >>"$results"
done

echo "load after:  $(load)   CPU busy: $(cpu_busy)%"
python3 "$root/bench/summarize.py" "$results"
