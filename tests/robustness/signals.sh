#!/usr/bin/env bash
# SIGTERM and SIGINT end the viewer at once with the signal's conventional status
# (128 + signal number); a close request from the desktop (Alt+F4) quits like ESC.
# usage: signals.sh DISPLAY KELTO XTEST_FLOOD
set -u
source "$(dirname "$0")/xsession.sh"
display=$1 kelto=$(realpath "$2")

start_session "$display"
for case in TERM INT TERM-fastest INT-fastest close-request; do
    start_viewer "$kelto"
    if [[ $case == *fastest ]]; then
        read -r x y < <(inner_origin)
        xdotool mousemove "$x" "$y"
        sleep 0.3
    fi
    signal=${case%-fastest}
    if [[ $case == close-request ]]; then
        xdotool key --window "$window_id" alt+F4
        expected=0
    else
        kill -s "$signal" "$viewer_pid"
        expected=$((128 + $(kill -l "$signal")))
    fi
    wait_viewer_end 3000
    echo "$case: exit status $status after $elapsed ms"
    [[ $status == "$expected" ]] || fail "$case: expected status $expected, got $status"
    ((elapsed < 1000)) || fail "$case: took $elapsed ms to end"
    [[ ! -s "$viewer_err" ]] || fail "$case: unexpected output on stderr"
done
echo PASS
