#!/bin/bash
# A change of the window's state never shows the frame out of place: grab after grab, from
# before the change until long after it, the output shows one frame, in a whole client, its
# edge and background around it; never none, never two. The frame moves with the window's own
# commit at the new layout, not a pass later.
#   resize.sh           weston: maximise and full screen, each undone again
#   resize.sh sway      sway: its title bar instead of the program's and back (a change of
#                       decoration)
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1100 860
if [ "${1:-}" = sway ]; then
    start_sway
else
    start_weston --width=1024 --height=768
fi
KELTO_WAYLAND_DEBUG=1 start_kelto

# change NAME COMMAND...: the probe watches while COMMAND changes the window's state; the
# client must have moved meanwhile, and no grab may be bad (the first bad one is kept in the
# work folder). Six seconds of grabs leave a busy compositor time to make the change.
change() {
    local name=$1 samples="$WORK/placed.txt" watcher status=0 places bad
    shift
    probe placed 6000 "$WORK/bad-${name// /-}.png" >"$samples" &
    watcher=$!
    wait_until 20 test -s "$samples" || true
    sleep 0.3
    "$@" || fail "$name: could not change the window's state"
    wait "$watcher" || status=$?
    places=$(awk '$3 != "-" {print $3}' "$samples" | uniq | tr '\n' ' ')
    bad=$(grep -c bad "$samples" || true)
    log "$name: $(wc -l <"$samples") grabs, client at [$places], $bad bad"
    { grep bad "$samples" || true; } | head -n 5 | sed "s/^/  /"
    check "$name: the client moved while watched ($places)" test "$(wc -w <<<"$places")" -ge 2
    check "$name: every grab shows one frame, in place ($bad bad, status $status)" \
        test "$status" -eq 0
}
on_kelto() { swaymsg -q "[app_id=\"kelto\"] $*"; }

if [ "${1:-}" = sway ]; then
    change "sway's title bar" on_kelto border normal
    change "the program's bar again" on_kelto border csd
else
    change maximise keys super+shift+m
    change unmaximise keys super+shift+m
    change "full screen" keys super+shift+f
    change "full screen undone" keys super+shift+f
fi
# A wrong layout may show for a single redraw of the compositor's, between two grabs; the
# commits themselves tell.
check "no commit moved the frame over the old layout ($(protocol_log moves))" \
    test "$(protocol_log moves)" -eq 0
finish
