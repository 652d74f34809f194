#!/bin/bash
# At output scale 2 the frames are doubled with crisp lines: every frame pixel shows as 2x2
# device pixels of its own colour, the run goes on one step at a time, each frame standing for
# most of its pass (the toolkit paints them here, and each repaint must go out in its own pass),
# and the caption is whole.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1300 1220
SCALE=2
start_weston --width=620 --height=590 --scale=2
start_kelto

check "the caption bar holds the whole caption at twice the size" wait_until 5 probe caption "$CAPTION"
seen=$(observe 3000 3000 true)
check "every sample shows a holder picture, each pixel doubled exactly" judge "$seen" exact
check "frames follow each other one step forward, at least 8" \
    judge "$seen" steps '^1(,1)*$' changes-at-least 8
check "frames stand for most of their pass (at most 2 under 100 ms)" \
    judge "$seen" short-at-most 2 100
finish
