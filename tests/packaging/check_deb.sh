#!/bin/bash
# Builds the .deb with CPack and checks its control fields; unpacked with dpkg -x, it must hold
# the files of installed-files and nothing else, and its program must start.
# Usage: check_deb.sh <build-dir> <source-dir> <icon-checker>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
make_deb "$1"
dpkg-deb -I "$deb"

# Qt's Wayland plugin is recommended, not required: without it the window opens through X11.
field() { dpkg-deb -f "$deb" "$1"; }
expect_rows <<'ROWS'
field  Package       kelto
field  Version       1.00
field  Architecture  amd64
field  Maintainer    KELTO developers <maintainers@kelto.io>
field  Description   *KELTO*
field  Recommends    qt6-wayland
ROWS

# Depends: the Qt 6 runtime (libraries and the platform plugins they load), the C and C++
# runtimes, xcb, through which the window's hints reach X11 desktops, and the Wayland client
# library, through which the window's title bar and size are settled with Wayland compositors;
# nothing else. qt6-base-abi: following a fractional scale on Wayland sets the toolkit's own
# screen factor, a private symbol, which ties the package to the exact Qt build it was made with.
depends=$(field Depends)
names=$(tr ',|' '\n' <<<"$depends" | sed -e 's/^ *//' -e 's/[ (].*//')
required="libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libxcb1"
allowed=" $required libc6 libstdc++6 libgcc-s1 libwayland-client0 qt6-base-abi "
for name in $names; do
    [[ $allowed == *" $name "* ]] || fail "unexpected dependency $name in: $depends"
done
for name in $required; do
    grep -qx "$name" <<<"$names" || fail "$name missing from Depends: $depends"
done

dpkg -x "$deb" "$work/root"
packed=$(cd "$work/root" && find . -type f | sed 's|^\./usr/||' | sort)
listed=$(grep -v '^#' "$here/installed-files" | cut -d' ' -f1 | sort)
[[ $packed == "$listed" ]] || fail "the package's files are not those of installed-files:
$(diff <(echo "$listed") <(echo "$packed"))"
# The changelog's entry must be the package's own version.
"$here/check_tree.sh" "$work/root/usr" "$2" "$3" "$(field Version)"

# The unpacked program finds its libraries and keeps running (it only ends on ESC or a
# double-click), so a timeout is the expected way out.
# A runtime folder of its own: without one the toolkit makes $TMPDIR/runtime-$USER and leaves it.
mkdir -m 700 "$work/runtime"
status=0
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen timeout 3 "$work/root/usr/bin/kelto" \
    >"$work/run.log" 2>&1 || status=$?
[[ $status == 124 ]] || { cat "$work/run.log"; fail "kelto from the package exited with $status"; }
echo "package $(basename "$deb") is complete and its program starts"
