#!/usr/bin/env bash
# SIGTERM and SIGINT end the viewer with the signal's conventional status (128 + signal
# number), at the start pace and at the fastest one, and say nothing; a close request from the
# desktop (Alt+F4) quits like ESC. How soon each ends is logged; the checks wait for the end.
# Environment: KELTO_BIN, KELTO_OBSERVER, KELTO_HOLDER_DUMP.
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"

start_display
for case in TERM INT TERM-fastest INT-fastest close-request; do
    start_kelto
    if [[ $case == *fastest ]]; then
        pointer_inner 0 0
        changes_within 20 10 || fail "$case: the cam does not run fast"
    fi
    signal=${case%-fastest}
    if [ "$case" = close-request ]; then
        close_by_key
        expected=0
    else
        kill -s "$signal" "$KELTO_PID"
        expected=$((128 + $(kill -l "$signal")))
    fi
    ends_with "$expected" "$case"
done
finish
