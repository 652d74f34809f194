#!/bin/bash
# Losing the compositor ends kelto within a second with one line, "kelto: error: ...", and exit
# status 1, whether the compositor is killed or ends in order. Headless weston: nothing to see.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

WESTON_BACKEND=headless
for signal in KILL TERM; do
    start_weston --width=1024 --height=768
    start_kelto
    # Give it time to connect, show its window and enter its loop.
    sleep 2
    kelto_alive || fail "kelto ended early: $(head -c 300 "$WORK/kelto.err")"
    sent=$(date +%s%3N)
    kill "-$signal" "$WESTON_PID"
    while ! kelto_gone && [ $(($(date +%s%3N) - sent)) -lt 3000 ]; do sleep 0.01; done
    took=$(($(date +%s%3N) - sent))
    ends_with 1 "SIG$signal to weston" 5
    check "SIG$signal: within a second ($took ms)" test "$took" -le 1000
    end_process "$WESTON_PID"
    WESTON_PID=
done
finish
