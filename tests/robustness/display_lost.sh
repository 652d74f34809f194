#!/usr/bin/env bash
# The X server dies under the running viewer: one line on stderr, a non-zero exit status, no
# signal and no core file. Once at the start pace, once at the fastest pace while keys are
# being typed. How soon it ends is logged; the check only waits, generously, for the end.
# Environment: KELTO_BIN, KELTO_OBSERVER, KELTO_HOLDER_DUMP, KELTO_XTEST_FLOOD.
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
: "${KELTO_XTEST_FLOOD:?path of xtest_flood}"
cd "$WORK"
ulimit -c unlimited 2>/dev/null || true

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
    await_exit 20
    end_process "$typist"
    log "$round: exit status $EXIT_STATUS after $ELAPSED_MS ms; stderr:"
    cat "$WORK/kelto.err"
    check "$round: exit status 1 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 1
    check "$round: one line on stderr" test "$(wc -l <"$WORK/kelto.err")" -eq 1
    check "$round: it says the X11 connection broke" grep -q '^kelto: error: .*X11 connection broke' "$WORK/kelto.err"
    check "$round: no core file" test -z "$(compgen -G "$WORK/core*")"
    check "$round: no lock file of the lost display is left" test ! -e "/tmp/.X$DISPLAY_NUMBER-lock"
done
finish
