#!/bin/bash
# The viewer under one window manager, as a user meets it: a 483x483 client that asks for a
# title bar without buttons, menu or icon but allows the desktop's close; keys step the cam;
# resize, maximise and fullscreen requests leave the client at 483x483; the desktop's close
# (Alt+F4, a task list's Close) ends it with status 0; nothing on stderr on the way.
# usage: matrix.sh WINDOW_MANAGER   (openbox xfwm4 icewm fluxbox metacity mutter twm none)
KELTO_WM=${1:?window manager}
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
# shellcheck disable=SC2034  # read by log
TEST_NAME="desktop-$KELTO_WM"
command -v wmctrl >/dev/null || { echo "SKIP: wmctrl is not installed"; exit 77; }
# Neither twm nor no window manager at all offers maximise, fullscreen or a close of its own.
case $KELTO_WM in none | twm) desktop_offers= ;; *) desktop_offers=1 ;; esac

start_display
# A desktop without a runtime folder: the viewer keeps no files and must not remark on it.
start_program env -u XDG_RUNTIME_DIR "$KELTO_BIN"
[ "$KELTO_WM" = none ] || check "$KELTO_WM frames the window" wait_until 10 framed_window "$WID"
check "client area is 483x483 (got $(client_size))" test "$(client_size)" = 483x483

# _MOTIF_WM_HINTS: flags, functions, decorations. Functions: move and close, neither
# minimise (8) nor maximise (16); decorations: no menu (16), minimise (32) or maximise (64).
read -r _ functions decorations _ < <(xprop -id "$WID" _MOTIF_WM_HINTS | sed 's/.*= *//; s/,//g')
check "the desktop's close is allowed ($functions)" test $((functions & 32)) -ne 0
check "no minimise or maximise function ($functions)" test $((functions & 24)) -eq 0
check "no menu, minimise or maximise decoration ($decorations)" test $((decorations & 112)) -eq 0
# The icons the window hands out: window managers draw the size nearest to the place. openbox's
# title bar (14 pixels) takes a clear 24 and stays empty, its switcher (36) the stock 32; icewm
# takes 16, 32 and 48 only when they are there exactly and scales the largest otherwise, so a
# clear 16 would fill its task bar with a black square.
got=$(probe icons "$(dirname "$0")/../../packaging/icons/kelto-32.xpm")
check "the title bar gets a clear icon, switchers and task lists the stock icon (got [$got])" \
    test "$got" = "24x24 clear 32x32 stock"

run_cases <<'EOF'
600 5000                           | keys asterisk | rests 600  | * stops the cam
from-sent min-changes=1 1000 10000 | keys period   | steps ^1$  | . steps one frame forward
from-sent min-changes=1 1000 10000 | keys slash    | steps ^-1$ | / steps one frame back
EOF

states() { xprop -id "$WID" _NET_WM_STATE 2>/dev/null | sed 's/.*= *//'; }
fixed_and_plain() { [ "$(client_size)" = 483x483 ] && ! states | grep -q 'MAXIMIZED\|FULLSCREEN'; }
# Once the window manager had time to act, the client is back at (or never left) 483x483,
# neither maximised nor fullscreen, and stays so.
stays_fixed() { sleep 0.7 && wait_until 5 fixed_and_plain && sleep 0.5 && fixed_and_plain; }
requests=("xdotool windowsize $WID 800 800")
[ -z "$desktop_offers" ] || requests+=("wmctrl -i -r $WID -b add,maximized_vert,maximized_horz"
    "wmctrl -i -r $WID -b add,fullscreen")
for request in "${requests[@]}"; do
    $request
    check "$request leaves the client 483x483, neither maximised nor fullscreen" stays_fixed
    log "client $(client_size), state [$(states)]"
done
check "the window still shows a frame" shows_a_frame

if [ -n "$desktop_offers" ]; then
    timeout 10 xdotool windowactivate --sync "$WID" 2>/dev/null || true
    close_by_key
    ends_with 0 Alt+F4
    # A task list's Close: the close request that goes through the window manager.
    start_program env -u XDG_RUNTIME_DIR "$KELTO_BIN"
    wmctrl -i -c "$WID"
    ends_with 0 "a task list's Close"
else
    check_esc_quits
fi
finish
