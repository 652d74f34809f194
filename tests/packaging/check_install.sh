#!/bin/bash
# `cmake --install` into a throw-away prefix, then check what landed there.
# Usage: check_install.sh <build-dir> <icon-checker> <version>
set -euo pipefail
build=$1
here=$(dirname "$0")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
"$here/check_desktop_files.sh" "$root/usr" "$2"
"$here/check_version_note.sh" "$root/usr/bin/kelto"
"$here/check_man_page.sh" "$root/usr"
"$here/check_docs.sh" "$root/usr" "$3"
