#!/bin/bash
# Builds the .deb with CPack, unpacks it into a throw-away root with dpkg -x and checks
# its control fields, its files and that the unpacked program starts.
# Usage: check_deb.sh <build-dir> <icon-checker>
set -euo pipefail
build=$1
icon_checker=$2
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source-path=SCRIPTDIR source=make_deb.sh
. "$(dirname "$0")/make_deb.sh"
make_deb "$build"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == kelto ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == 1.00 ]] || fail "Version is '$(field Version)'"
[[ $(field Architecture) == amd64 ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Maintainer) == "KELTO developers <maintainers@kelto.io>" ]] ||
    fail "Maintainer is '$(field Maintainer)'"
[[ $(field Description) == *KELTO* ]] || fail "Description does not name KELTO"

# Depends: the Qt 6 runtime (libraries and the platform plugins they load), the C and C++
# runtimes, xcb, through which the window's hints reach X11 desktops, and the Wayland client
# library, through which the window's title bar and size are settled with Wayland compositors;
# nothing else.
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | sed -e 's/^ *//' -e 's/[ (].*//')
# qt6-base-abi: following a fractional scale on Wayland sets the toolkit's own screen factor,
# a private symbol, which ties the package to the exact Qt build it was made against.
for name in $names; do
    case $name in
    libqt6core6 | libqt6gui6 | libqt6widgets6 | qt6-qpa-plugins | libc6 | libstdc++6 | libgcc-s1 | \
        libxcb1 | libwayland-client0 | qt6-base-abi) ;;
    *) fail "unexpected dependency $name in: $depends" ;;
    esac
done
for name in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libxcb1; do
    grep -qx "$name" <<<"$names" || fail "$name missing from Depends: $depends"
done

# Qt's Wayland plugin is recommended, not required: without it the window opens through X11.
[[ $(field Recommends) == qt6-wayland ]] || fail "Recommends is '$(field Recommends)'"

dpkg -x "$deb" "$work/root"
echo "unpacked files:"
(cd "$work/root" && find . -type f | sort)
unexpected=$(cd "$work/root" && find . -type f | grep -v -e '^./usr/bin/kelto$' \
    -e '^./usr/share/applications/' -e '^./usr/share/metainfo/' -e '^./usr/share/icons/' \
    -e '^./usr/share/man/man1/kelto.1.gz$' -e '^./usr/share/doc/kelto/copyright$' \
    -e '^./usr/share/doc/kelto/changelog.gz$') || true
[[ -z $unexpected ]] || fail "unexpected files in the package: $unexpected"
"$here/check_desktop_files.sh" "$work/root/usr" "$icon_checker"
"$here/check_version_note.sh" "$work/root/usr/bin/kelto"
"$here/check_man_page.sh" "$work/root/usr"
# The changelog's entry is the package's own version.
"$here/check_docs.sh" "$work/root/usr" "$(field Version)"

# The unpacked program finds its libraries and keeps running (it only ends on ESC or a
# double-click), so a timeout is the expected way out.
# A runtime folder of its own: without one the toolkit makes $TMPDIR/runtime-$USER and leaves it.
mkdir -m 700 "$work/runtime"
status=0
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen timeout 3 "$work/root/usr/bin/kelto" \
    >"$work/run.log" 2>&1 || status=$?
[[ $status == 124 ]] || { cat "$work/run.log"; fail "kelto from the package exited with $status"; }
echo "package $(basename "$deb") is complete and its program starts"
