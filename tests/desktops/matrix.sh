#!/bin/bash
# The viewer under one window manager, as a user meets it: the window appears at 483x483
# with its caption, asks for a title bar without buttons, menu or icon while allowing the
# desktop's close, keys step the cam, maximise, fullscreen and resize requests leave the
# client at 483x483, the desktop's close (Alt+F4, and a task list's Close) ends it with
# status 0, and nothing is written to stderr on the way.
# usage: matrix.sh WINDOW_MANAGER   (openbox xfwm4 icewm fluxbox metacity mutter twm none)
KELTO_WM=${1:?window manager}
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "$0")/../realwindow/lib.sh"
# shellcheck disable=SC2034  # read by log
TEST_NAME="desktop-$KELTO_WM"
if ! command -v wmctrl >/dev/null; then
    echo "SKIP: wmctrl is not installed"
    exit 77
fi
WM=$KELTO_WM

start_display
# A desktop without a runtime folder: the viewer keeps no files and must not remark on it.
start_program env -u XDG_RUNTIME_DIR "$KELTO_BIN"
if [ "$WM" != none ]; then
    check "$WM frames the window" wait_until 10 framed_window "$WID"
fi

client_size() { xwininfo -id "$WID" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}'; }
states() { xprop -id "$WID" _NET_WM_STATE 2>/dev/null | sed 's/.*= *//'; }
check "client area is 483x483 (got $(client_size))" test "$(client_size)" = 483x483

# _MOTIF_WM_HINTS: flags, functions, decorations. Functions: move and close, neither
# minimise (8) nor maximise (16); decorations: no menu (16), minimise (32) or maximise (64).
read -r flags functions decorations < <(xprop -id "$WID" _MOTIF_WM_HINTS |
    sed 's/.*= *//; s/,//g' | awk '{print $1, $2, $3}')
log "motif hints: flags $flags functions $functions decorations $decorations"
check "the desktop's close is allowed" test $((functions & 32)) -ne 0
check "no minimise or maximise function" test $((functions & 24)) -eq 0
check "no menu, minimise or maximise decoration" test $((decorations & 112)) -eq 0
# The icons the window hands out: window managers draw the size nearest to the place. openbox's
# title bar (14 pixels) takes a clear 24 and stays empty, its switcher (36) the stock 32; icewm
# takes 16, 32 and 48 only when they are there exactly and scales the largest otherwise, so a
# clear 16 would fill its task bar with a black square.
got=$(probe icons "$(dirname "$0")/../../packaging/icons/kelto-32.xpm")
check "the title bar gets a clear icon, switchers and task lists the stock icon (got [$got])" \
    test "$got" = "24x24 clear 32x32 stock"

keys asterisk
frame=$(settled_frame 600 5000) || fail "no steady frame after *"
keys period
next=$(change_from "$frame" 5000) || fail "no step after ."
check "'.' steps one frame forward ($frame -> $next)" test "$(step_between "$frame" "$next")" -eq 1
keys slash
back=$(change_from "$next" 5000) || fail "no step after /"
check "'/' steps one frame back ($next -> $back)" test "$back" -eq "$frame"

# stays_fixed WHAT: waits a little for the window manager to act, then the client must be
# back at (or never have left) 483x483 with neither maximised nor fullscreen state, and stay so.
fixed_and_plain() { [ "$(client_size)" = 483x483 ] && ! states | grep -q 'MAXIMIZED\|FULLSCREEN'; }
stays_fixed() {
    sleep 0.7
    local ok=0
    wait_until 5 fixed_and_plain || ok=1
    sleep 0.5
    check "$1 leaves the client 483x483 and not maximised (got $(client_size), state [$(states)])" \
        test "$ok" -eq 0 -a "$(client_size)" = 483x483
}
xdotool windowsize "$WID" 800 800
stays_fixed "a resize request"
if [ "$WM" != none ] && [ "$WM" != twm ]; then
    wmctrl -i -r "$WID" -b add,maximized_vert,maximized_horz
    stays_fixed "maximise"
    wmctrl -i -r "$WID" -b add,fullscreen
    stays_fixed "fullscreen"
fi
check "the window still shows a frame" shows_a_frame

if [ "$WM" = none ] || [ "$WM" = twm ]; then
    # Neither offers a close of its own by key; ESC is the way out.
    keys Escape
    how=ESC
else
    timeout 10 xdotool windowactivate --sync "$WID" 2>/dev/null || true
    close_by_key
    how=Alt+F4
fi
await_exit 10
check "$how ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
check "nothing on stderr ($(wc -l <"$WORK/kelto.err") lines)" test ! -s "$WORK/kelto.err"
[ -s "$WORK/kelto.err" ] && head -n 5 "$WORK/kelto.err"

if [ "$WM" != none ] && [ "$WM" != twm ]; then
    # A task list's Close: the close request that goes through the window manager.
    start_program env -u XDG_RUNTIME_DIR "$KELTO_BIN"
    wmctrl -i -c "$WID"
    await_exit 10
    check "a task list's Close ends the program with status 0 (got $EXIT_STATUS)" \
        test "$EXIT_STATUS" -eq 0
fi
finish
