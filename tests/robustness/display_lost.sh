#!/usr/bin/env bash
# The X server dies under the running viewer: one line on stderr, a non-zero exit within a
# second, no signal and no core file. Once at the start pace, once at the fastest pace
# while keys are being typed.
# usage: display_lost.sh DISPLAY KELTO XTEST_FLOOD
set -u
source "$(dirname "$0")/xsession.sh"
display=$1 kelto=$(realpath "$2") flood=$(realpath "$3")
cd "$work_dir"
ulimit -c unlimited 2>/dev/null

for round in start-pace fastest-pace-typing; do
    start_session "$display"
    start_viewer "$kelto"
    typist=
    if [[ $round == fastest-pace-typing ]]; then
        read -r x y < <(inner_origin)
        xdotool mousemove "$x" "$y"
        "$flood" keys 1000000 2>/dev/null &
        typist=$!
        sleep 0.5
    fi
    kill -KILL "$xvfb_pid"
    wait_viewer_end 3000
    [[ -n "$typist" ]] && { kill "$typist" 2>/dev/null; wait "$typist" 2>/dev/null; }
    wait 2>/dev/null
    session_pids=()
    echo "$round: exit status $status after $elapsed ms; stderr:"
    cat "$viewer_err"
    [[ $status != hang ]] || fail "$round: still running ${elapsed} ms after the display died"
    ((status != 0 && status < 128)) || fail "$round: exit status $status"
    ((elapsed < 1000)) || fail "$round: took $elapsed ms to end"
    (($(wc -l <"$viewer_err") == 1)) || fail "$round: expected one line on stderr"
    grep -q 'X11 connection broke' "$viewer_err" || fail "$round: unclear message"
    compgen -G "core*" >/dev/null && fail "$round: core file left behind"
done
echo PASS
