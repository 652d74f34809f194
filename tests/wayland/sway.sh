#!/bin/bash
# The window on sway, a tiling Wayland compositor that offers to draw title bars: kelto asks to
# draw its own bar and gives its one size as minimum and maximum, so sway floats the window with
# no bar of its own: one title bar, the program's, with the whole caption. A resize leaves the
# window as it is, full screen keeps the client 1:1 and kelto running, frames change, each shown
# exactly and in order; tiled by hand it gets sway's bar and drops its own; Esc quits with
# status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_xvfb 1100 860
start_sway
KELTO_WAYLAND_DEBUG=1 start_kelto

check_terms_asked
floating_mode_agreed() { ! grep -qw 2 <<<"$(protocol_log told-modes)"; }
check "sway does not insist on its own bar (answers: $(protocol_log told-modes))" \
    floating_mode_agreed
check "sway floats the window" swaymsg -q '[app_id="kelto" floating] nop'
check "one title bar: the program's, with the whole caption" wait_until 5 probe caption "$CAPTION"
check "one title bar: none of sway's above it" probe nothing-above

check_frames_run

read -r _ _ digest frame < <(stop_and_look) || fail "no client to look at"
client_as_before() { same_client - - "$digest"; }
unchanged_inside() { shows_frame "$frame"; }

swaymsg -q '[app_id="kelto"] resize set 800 600' || true
sleep 1
check "a resize leaves the window as it was" wait_until 5 client_as_before

swaymsg -q '[app_id="kelto"] fullscreen enable' || fail "sway could not make the window full screen"
sleep 1
check "full screen: kelto runs and shows its frame 1:1" unchanged_inside
swaymsg -q '[app_id="kelto"] fullscreen disable'
check "back from full screen: the window as before" wait_until 5 client_as_before

# Tiled by hand, the window gets sway's bar, which sway then insists on: the program drops its
# own, and its client stays 1:1 in the tile.
swaymsg -q '[app_id="kelto"] floating disable' || fail "sway could not tile the window"
sway_insists() { [[ "$(protocol_log told-modes)" == *"2 " ]]; }
check "tiled: sway insists on its own bar" wait_until 5 sway_insists
log "sway's answers: $(protocol_log told-modes)"
own_bar_gone() { unchanged_inside && ! probe caption "$CAPTION" >/dev/null; }
check "tiled: the program's bar is gone, the frame shows 1:1" wait_until 5 own_bar_gone

probe save "$WORK/sway.png" || true
check_esc_quits 5
finish
