#!/bin/bash
# Takes a screenshot of the window with its title bar, as openbox shows it on Xvfb, the cam
# standing at one frame. Run from anywhere:
#   docs/take-screenshot.sh [BUILD_DIR] [FRAME] [OUTPUT]
# FRAME (0..17, default 2) is the position to stop at. OUTPUT defaults to
# BUILD_DIR/screenshot.png; give docs/screenshot.png to renew the README's picture. Without
# BUILD_DIR it installs what it needs and builds the viewer, screen_observer and holder_dump in a
# build folder of its own, build/screenshot (the tests' tools need a build with tests on).
# The PNG carries no time stamp: the same pixels give the same bytes.
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-}
target=${2:-2}
if [ -z "$build" ]; then
    build=$root/build/screenshot
    bash "$root/scripts/install-deps.sh" --with-tests || exit 1
    echo "take-screenshot: building kelto, screen_observer and holder_dump in build/screenshot"
    cmake --preset release -B "$build" -DKELTO_BUILD_TESTS=ON >/dev/null || exit 1
    cmake --build "$build" -j2 --target kelto screen_observer holder_dump || exit 1
fi
output=${3:-$build/screenshot.png}
export KELTO_BIN="$build/src/kelto"
export KELTO_OBSERVER="$build/tests/observer/screen_observer"
export KELTO_HOLDER_DUMP="$build/tests/realwindow/holder_dump"
# shellcheck source-path=SCRIPTDIR source=../tests/realwindow/lib.sh
. "$root/tests/realwindow/lib.sh"
command -v import >/dev/null || fail "ImageMagick's import is needed"

start_display
start_kelto
keys asterisk
frame=$(settled_frame 1000 15000) || fail "the cam does not come to rest"
# Stopped: each "." steps one frame forward.
steps=$(((target - frame + 18) % 18))
for ((i = 0; i < steps; i++)); do
    keys period
    frame=$(change_from "$frame" 15000) || fail "no step after ."
done
xdotool mousemove 1010 750
sleep 0.3

# The frame window is the client's parent that openbox made; its geometry includes the title bar.
frame_window=$(xwininfo -id "$WID" -children | awk '/Parent window id:/ {print $4}')
read -r x y w h < <(xwininfo -id "$frame_window" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
         /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}')
mkdir -p "$(dirname "$output")"
import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip "$output"
log "$output: ${w}x$h at frame $frame"
keys Escape
await_exit 20
