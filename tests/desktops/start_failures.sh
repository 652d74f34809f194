#!/bin/bash
# Starts that cannot work, and a toolkit that gives up later: each ends with status 1 and one
# line "kelto: error: ..." on stderr that says what is missing; no abort, no core file, no
# toolkit text, nothing on stdout.
# usage: start_failures.sh KELTO LATE_FATAL
# The rows below name both programs without their folders.
PATH=$(dirname "$(realpath "$1")"):$(dirname "$(realpath "$2")"):$PATH
# The depth-8 display below comes from the shared session helper, without a window manager.
KELTO_WM=none
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
cd "$WORK"
ulimit -c unlimited 2>/dev/null || true

# fails_with PATTERN COMMAND...: status 1, one stderr line "kelto: error: PATTERN" and nothing
# else, no core file.
fails_with() {
    local pattern=$1 status=0
    shift
    rm -f core core.*
    timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS "$@" >out 2>err || status=$?
    log "status $status, $(wc -c <out) bytes on stdout, core files [$(compgen -G 'core*')]," \
        "$(wc -l <err) line(s) on stderr: $(head -c 300 err)"
    [ "$status" -eq 1 ] && only_error_line err "$pattern" && [ ! -s out ] &&
        ! compgen -G 'core*' >/dev/null
}

# An 8-bit colour-map display, where the toolkit paints nothing: one line, not a flood.
KELTO_SCREEN=1024x768x8 start_display
# A display number nobody serves.
free=999
while [ -e "/tmp/.X$free-lock" ] || [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
# Rows: the start, and what its one line must say.
while IFS='|' read -r -u 3 run pattern; do
    [[ $run != \#* ]] || continue
    read -r -a run <<<"$run"
    check "${run[*]}: status 1, one line \"kelto: error: ${pattern# }\"" \
        fails_with "${pattern# }" "${run[@]}"
done 3<<EOF
kelto                                                | cannot open an X display: DISPLAY is not set
DISPLAY=:$free kelto                                 | cannot open display ":$free"
DISPLAY=:$free QT_QPA_PLATFORM=nonsense kelto        | no Qt platform plugin "nonsense" \(there are: .*xcb.*\)
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kelto-missing kelto | cannot connect to Wayland display "kelto-missing" \(No such file or directory\)
# A Wayland session whose compositor is gone, and no X display to fall back on: both said.
XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=kelto-missing QT_QPA_PLATFORM=wayland;xcb kelto | cannot connect to Wayland display "kelto-missing" .*; cannot open an X display: DISPLAY is not set
QT_QPA_PLATFORM=offscreen late_fatal                 | The toolkit gave up
DISPLAY=$DISPLAY kelto                               | the display has 8-bit colour; kelto needs 16-bit colour or more
EOF
finish
