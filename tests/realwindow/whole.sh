#!/bin/bash
# Every pixel of the client area, edge and background included, after each of 18 single steps,
# against the window as it must look: the frame cut off at the inner area, the sunken edge
# whole, the background row below the frame, all in the desktop's colours.
#   whole.sh [fast|scaled|dark]
# fast: frames kept on the X server; scaled: the toolkit's painting at a whole scale factor of
# 2; dark: a GNOME session with a dark GTK theme, whose colours the edge and background take.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

path=${1:-fast}
case $path in
    fast) ;;
    scaled) export QT_SCALE_FACTOR=2 KELTO_SCREEN=1280x1100x24 ;;
    dark)
        dpkg-query -W -f='${Status}' qt6-gtk-platformtheme 2>/dev/null | grep -q 'ok installed' ||
            { echo "SKIP: the GTK theme plugin (qt6-gtk-platformtheme) is not installed"; exit 77; }
        # Both the program and the probe that draws the expected window take these.
        export XDG_CURRENT_DESKTOP=GNOME GTK_THEME=Adwaita:dark
        ;;
    *) fail "unknown path $path" ;;
esac

start_display
start_kelto

observe sync min-changes=1 1000 10000 keys asterisk >/dev/null
check_whole_steps

if [ "$path" = dark ]; then
    # The dark theme must reach the window, not only the probe's picture of it.
    probe save "$WORK/dark.png"
    level=$(/usr/bin/convert "$WORK/dark.png" -crop 1x1+240+482 +repage -colorspace Gray \
        -format '%[fx:int(255*p{0,0})]' info:)
    check "the background row takes the dark theme's colour (grey level $level, under 100)" \
        test "$level" -lt 100
fi

check_esc_quits
finish
