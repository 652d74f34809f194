# shellcheck shell=bash
# The desktop tests' session: the real-window one, and what they all look at.
# shellcheck source-path=SCRIPTDIR source=../realwindow/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/../realwindow/lib.sh"

# The client area as WIDTHxHEIGHT.
client_size() { xwininfo -id "$WID" | sed -n 's/^ *Width: //p; s/^ *Height: //p' | paste -sd x; }
# ends_cleanly HOW: once HOW asked it to, the viewer ends with status 0, nothing on stderr.
ends_cleanly() {
    await_exit 10
    check "$1 ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
    check "nothing on stderr [$(head -c 300 "$WORK/kelto.err")]" test ! -s "$WORK/kelto.err"
}
