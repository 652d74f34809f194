#!/bin/bash
# The in-process pass check on a real X server: with frames kept on the server (scale 1) and
# with the toolkit's painting (a whole scale factor of 2). Every pass must leave the whole
# window exact.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
: "${KELTO_REPAINT_CHECK:?path of repaint_check}"

KELTO_SCREEN=1280x1100x24 start_display
for factor in 1 2; do
    status=0
    QT_SCALE_FACTOR=$factor "$KELTO_REPAINT_CHECK" 200 >"$WORK/repaint-$factor.out" 2>&1 ||
        status=$?
    sed "s/^/  /" "$WORK/repaint-$factor.out" | tail -n 6
    check "scale $factor: every pass leaves the whole window exact" test "$status" -eq 0
done
finish
