#!/bin/bash
# `cmake --install` into a throw-away prefix, then check what landed there; then the uninstall
# target must leave the prefix as it was: no file and no empty folder of the install's own, and
# the folders that were there before (one empty, one shared with another program) untouched.
# Usage: check_install.sh <build-dir> <source-dir> <icon-checker> <version>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
build=$1 prefix=$work/root/usr
mkdir -p "$prefix/share/icons" "$prefix/share/applications"
echo '[Desktop Entry]' >"$prefix/share/applications/other.desktop"
listing() { (cd "$work/root" && find . | sort); }
before=$(listing)

cmake --install "$build" --prefix "$prefix" >/dev/null
"$here/check_tree.sh" "$prefix" "$2" "$3" "$4"

# Twice, as a user who installs again after an upgrade would: the second install must not
# take the folders the first one made for folders that were there before.
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --build "$build" --target uninstall >"$work/uninstall.log" 2>&1 ||
    { cat "$work/uninstall.log"; fail "the uninstall target failed"; }
[[ $(listing) == "$before" ]] || fail "the uninstall did not leave the prefix as it was:
$(diff <(echo "$before") <(listing))"
echo "install and uninstall: the prefix is as it was"
