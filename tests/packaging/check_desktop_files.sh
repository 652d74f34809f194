#!/bin/bash
# Checks an installed tree (a prefix such as /usr, staged anywhere): the executable, the
# desktop entry, the icons in the hicolor theme and the AppStream metainfo, run through
# the desktop's own validators.
# Usage: check_desktop_files.sh <prefix> <icon-checker>
set -euo pipefail
prefix=$1
icon_checker=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli xmllint; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done

desktop=$prefix/share/applications/kelto.desktop
metainfo=$prefix/share/metainfo/io.kelto.viewer.metainfo.xml
icons=$prefix/share/icons
for file in "$prefix/bin/kelto" "$desktop" "$metainfo" \
    "$icons/hicolor/16x16/apps/kelto.png" "$icons/hicolor/32x32/apps/kelto.png" \
    "$icons/hicolor/scalable/apps/kelto.svg" "$icons/HighContrast/32x32/apps/kelto.png"; do
    [[ -f $file ]] || fail "missing $file"
done
[[ -x $prefix/bin/kelto ]] || fail "kelto is not executable"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $metainfo"

# The validators must see a broken file as broken, or their passing means nothing.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
grep -v '^Name=' "$desktop" >"$scratch/kelto.desktop"
if desktop-file-validate "$scratch/kelto.desktop" >/dev/null 2>&1; then
    fail "desktop-file-validate accepts an entry without Name"
fi
sed 's|<id>.*</id>||' "$metainfo" >"$scratch/broken.metainfo.xml"
if appstreamcli validate --no-net "$scratch/broken.metainfo.xml" >/dev/null 2>&1; then
    fail "appstreamcli accepts metainfo without an id"
fi

entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Name) == "KELTO Valve Control" ]] || fail "Name is '$(entry Name)'"
[[ $(entry Exec) == kelto ]] || fail "Exec is '$(entry Exec)'"
[[ $(entry Icon) == kelto ]] || fail "Icon is '$(entry Icon)'"
[[ $(entry Type) == Application ]] || fail "Type is '$(entry Type)'"
[[ $(entry StartupWMClass) == kelto ]] || fail "StartupWMClass does not match the window class kelto"
[[ ";$(entry Categories)" == *";Education;"* ]] || fail "Categories lack Education"

xpath() { xmllint --xpath "$1" "$metainfo"; }
[[ $(xpath 'string(/component/id)') == io.kelto.viewer ]] || fail "component id"
[[ $(xpath 'string(/component/launchable[@type="desktop-id"])') == kelto.desktop ]] ||
    fail "metainfo launches something other than the installed desktop entry"
[[ $(xpath 'string(/component/provides/binary)') == kelto ]] || fail "provided binary"
[[ $(xpath 'count(/component/releases/release)') == 1 ]] || fail "one release expected"
[[ $(xpath 'string(/component/releases/release/@version)') == 1.00 ]] ||
    fail "release version is '$(xpath 'string(/component/releases/release/@version)')'"
custom() { xpath "string(/component/custom/value[@key=\"KELTO::$1\"])"; }
[[ $(custom ProductName) == KELTO ]] || fail "ProductName"
[[ $(custom InternalName) == KELTO1 ]] || fail "InternalName"
[[ $(custom OriginalFilename) == KELTO1.exe ]] || fail "OriginalFilename"

"$icon_checker" "$icons/hicolor/16x16/apps/kelto.png" "$icons/hicolor/32x32/apps/kelto.png" \
    "$icons/HighContrast/32x32/apps/kelto.png" "$icons/hicolor/scalable/apps/kelto.svg" ||
    fail "installed icons"
echo "installed tree under $prefix is complete and valid"
