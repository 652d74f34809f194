#!/bin/bash
# Every pixel of the client area on Wayland, edge and background included, after each of 18
# single steps: the frame cut off at the inner area, the edge whole, the background row.
#   whole.sh [dark]     dark: in a GNOME session with a dark GTK theme, whose colours the edge
#                       and the background must take
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

if [ "${1:-}" = dark ]; then
    dpkg-query -W -f='${Status}' qt6-gtk-platformtheme 2>/dev/null | grep -q 'ok installed' ||
        { echo "SKIP: the GTK theme plugin (qt6-gtk-platformtheme) is not installed"; exit 77; }
    # Both the program and the probe that draws the expected window take these.
    export XDG_CURRENT_DESKTOP=GNOME GTK_THEME=Adwaita:dark
fi

start_xvfb 1100 860
start_weston --width=1024 --height=768
start_kelto

keys asterisk
check_whole_steps
if [ "${1:-}" = dark ]; then
    # The probe's picture of the window is dark too; the window itself must be.
    probe background >"$WORK/background.txt" || fail "no frame on the output"
    level=$(cat "$WORK/background.txt")
    check "the background row takes the dark theme's colour (grey level $level, under 100)" \
        test "$level" -lt 100
fi
# The caption bar drawn by kelto takes the theme's colours as the edge does.
bar=$(probe bar) || fail "no frame on the output"
if [ "${1:-}" = dark ]; then
    check "the caption bar takes the dark theme's colour (grey level $bar, under 100)" \
        test "$bar" -lt 100
else
    check "the caption bar is light in a light theme (grey level $bar, over 180)" \
        test "$bar" -gt 180
fi
finish
