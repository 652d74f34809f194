#!/usr/bin/env bash
# Floods the real window through the X server at the fastest pace: twice 50000 typed
# characters and 100000 pointer moves, a key held at a 5 ms auto-repeat, and drags to the
# screen's corners. The viewer must stay up, its memory must not grow from one flood to
# the next, and ESC afterwards must still end it at once.
# usage: xflood.sh DISPLAY KELTO XTEST_FLOOD
set -u
source "$(dirname "$0")/xsession.sh"
display=$1 kelto=$(realpath "$2") flood=$(realpath "$3")

start_session "$display"
start_viewer "$kelto"
read -r x y < <(inner_origin)
xdotool mousemove "$x" "$y"
sleep 0.5
echo "resident at start: $(rss_kib "$viewer_pid") KiB"

declare -a resident
for round in 1 2; do
    start=$(now_ms)
    "$flood" keys 50000 || fail "key flood could not be sent"
    "$flood" moves 100000 "$x" "$y" || fail "move flood could not be sent"
    sent=$(now_ms)
    alive || fail "viewer ended during flood $round"
    # The flood is only over once the viewer has drained it; it does so between passes.
    sleep 1
    alive || fail "viewer ended after flood $round"
    resident[round]=$(rss_kib "$viewer_pid")
    echo "flood $round: sent in $((sent - start)) ms; resident ${resident[round]} KiB"
done
growth=$((resident[2] - resident[1]))
! memory_checked || ((growth < 2048)) || fail "resident memory grew by $growth KiB from one flood to the next"

"$flood" hold asterisk 3000 || fail "could not hold a key"
alive || fail "viewer ended under auto-repeat"
"$flood" drag $((x + 240)) $((y + 240)) || fail "could not drag"
alive || fail "viewer ended after dragging to the screen corners"
echo "after auto-repeat and drags: resident $(rss_kib "$viewer_pid") KiB"

xdotool mousemove "$x" "$y"
sleep 0.3
alive || fail "viewer ended before ESC was typed"
xdotool windowactivate --sync "$window_id" && xdotool key Escape
wait_viewer_end 2000
echo "ESC after the floods: exit status $status after $elapsed ms"
[[ $status == 0 ]] || fail "expected exit status 0 after ESC, got $status"
((elapsed < 1000)) || fail "ESC took $elapsed ms to end the viewer"
[[ ! -s "$viewer_err" ]] || fail "unexpected output on stderr"
echo PASS
