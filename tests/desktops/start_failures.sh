#!/bin/bash
# Starts that cannot work, and a toolkit that gives up later: each ends with status 1 and one
# line "kelto: error: ..." on stderr that says what is missing; no abort, no core file, no
# toolkit text.
# usage: start_failures.sh KELTO LATE_FATAL
kelto=$(realpath "$1")
late_fatal=$(realpath "$2")
# The depth-8 display below comes from the shared session helper, without a window manager.
KELTO_WM=none
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
# Failed starts are what is looked at here: a failing command must not end the script.
set +e
work=$WORK
cd "$work" || exit 1
ulimit -c unlimited 2>/dev/null
failures=0

# expect_failure NAME PATTERN COMMAND...: status 1, one stderr line matching PATTERN.
expect_failure() {
    local name=$1 pattern=$2
    shift 2
    rm -f core core.*
    timeout 20 "$@" >"$work/out" 2>"$work/err"
    local status=$? lines
    lines=$(wc -l <"$work/err")
    echo "$name: status $status, $lines line(s): $(head -c 300 "$work/err")"
    local problem=
    [ "$status" -eq 1 ] || problem="status $status"
    [ "$lines" -eq 1 ] || problem="$problem; $lines lines on stderr"
    grep -Eq "^kelto: error: $pattern\$" "$work/err" || problem="$problem; line does not say /$pattern/"
    [ ! -s "$work/out" ] || problem="$problem; output on stdout"
    ! compgen -G "core*" >/dev/null || problem="$problem; core file left"
    if [ -n "$problem" ]; then
        echo "FAIL: $name: ${problem#; }"
        failures=$((failures + 1))
    fi
}

# A display number nobody serves.
free=999
while [ -e "/tmp/.X$free-lock" ] || [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
clean=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE
    -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS XDG_RUNTIME_DIR="$work")

expect_failure "no DISPLAY" 'cannot open an X display: DISPLAY is not set' \
    "${clean[@]}" "$kelto"
expect_failure "DISPLAY=:$free" "cannot open display \":$free\"" \
    "${clean[@]}" DISPLAY=":$free" "$kelto"
expect_failure "QT_QPA_PLATFORM=nonsense" 'no Qt platform plugin "nonsense" \(there are: .*xcb.*\)' \
    "${clean[@]}" DISPLAY=":$free" QT_QPA_PLATFORM=nonsense "$kelto"
expect_failure "Wayland without its display" \
    'cannot connect to Wayland display "kelto-missing" \(No such file or directory\)' \
    "${clean[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kelto-missing "$kelto"
# A Wayland session whose compositor is gone, and no X display to fall back on: both said.
expect_failure "Wayland session, no display at all" \
    'cannot connect to Wayland display "kelto-missing" .*; cannot open an X display: DISPLAY is not set' \
    "${clean[@]}" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=kelto-missing \
    QT_QPA_PLATFORM='wayland;xcb' "$kelto"
expect_failure "fatal toolkit message after start" 'The toolkit gave up' \
    "${clean[@]}" QT_QPA_PLATFORM=offscreen "$late_fatal"

# An 8-bit colour-map display, where the toolkit paints nothing: one line, not a flood.
KELTO_SCREEN=1024x768x8 start_display
expect_failure "depth 8" 'the display has 8-bit colour; kelto needs 16-bit colour or more' \
    "${clean[@]}" DISPLAY="$DISPLAY" "$kelto"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo PASS
