#!/bin/bash
# `cmake --install` into a throw-away prefix, then check what landed there; then the uninstall
# target must leave the prefix as it was: no file and no empty folder of the install's own, and
# the folders that were there before (one empty, one shared with another program) untouched.
# Usage: check_install.sh <build-dir> <icon-checker> <version>
set -euo pipefail
build=$1
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
mkdir -p "$prefix/share/icons" "$prefix/share/applications"
echo '[Desktop Entry]' >"$prefix/share/applications/other.desktop"
before=$(cd "$root" && find . | sort)

cmake --install "$build" --prefix "$prefix" >/dev/null
"$here/check_desktop_files.sh" "$prefix" "$2"
"$here/check_version_note.sh" "$prefix/bin/kelto"
"$here/check_man_page.sh" "$prefix"
"$here/check_docs.sh" "$prefix" "$3"

# Twice, as a user who installs again after an upgrade would: the second install must not
# take the folders the first one made for folders that were there before.
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --build "$build" --target uninstall >"$root/uninstall.log" 2>&1 ||
    { cat "$root/uninstall.log"; fail "the uninstall target failed"; }
after=$(cd "$root" && find . ! -name uninstall.log | sort)
[[ $after == "$before" ]] || fail "the uninstall did not leave the prefix as it was:
$(diff <(echo "$before") <(echo "$after"))"
echo "install and uninstall: the prefix is as it was"
