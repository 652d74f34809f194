#!/usr/bin/env bash
# The X server dies under the running viewer: one line on stderr and exit status 1 (so no
# signal and no core file). Once at the start pace, once at the fastest pace while keys are
# being typed. How soon it ends is logged; the check only waits, generously, for the end.
# Environment: KELTO_BIN, KELTO_OBSERVER, KELTO_HOLDER_DUMP, KELTO_XTEST_FLOOD.
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
: "${KELTO_XTEST_FLOOD:?path of xtest_flood}"

for round in start-pace fastest-pace-typing; do
    start_display
    start_kelto
    typist=
    if [ "$round" = fastest-pace-typing ]; then
        pointer_inner 0 0
        "$KELTO_XTEST_FLOOD" keys 1000000 2>/dev/null &
        typist=$!
        changes_within 20 10 || fail "$round: the cam does not run fast under typing"
    fi
    lose_display
    ends_with 1 "$round: the lost display" 20 '.*X11 connection broke.*'
    end_process "$typist"
    check "$round: no lock file of the lost display is left" test ! -e "/tmp/.X$DISPLAY_NUMBER-lock"
done
finish
