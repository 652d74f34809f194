#!/bin/bash
# Builds the .deb with CPack and runs Debian's lintian on it: no error and no warning.
# Exits 77 (a skip) when lintian is not installed: scripts/install-deps.sh --with-tests.
# Usage: check_lintian.sh <build-dir>
set -euo pipefail
if ! command -v lintian >/dev/null; then
    echo "SKIP: lintian is not installed (bash scripts/install-deps.sh --with-tests installs it)"
    exit 77
fi
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
make_deb "$1"

# Errors and warnings are what a maintainer must fix; info tags (I:) are shown only. Lintian
# leaves its caches (mldbm-elf-*) in TMPDIR: the work folder, which goes with the test.
mkdir "$work/tmp"
run_lintian() { TMPDIR=$work/tmp lintian --display-info --no-tag-display-limit "$1" 2>&1 | grep -v '^running with root'; }
report=$(run_lintian "$deb") || true
echo "lintian on $(basename "$deb"):"
echo "${report:-(nothing)}"
tags=$(grep -E '^[EW]: ' <<<"$report") || true
[[ -z $tags ]] || fail "lintian reports errors or warnings:
$tags"

# An override silences a tag; each must say why, in a comment right above it.
dpkg -x "$deb" "$work/root"
overrides=$work/root/usr/share/lintian/overrides/kelto
if [[ -f $overrides ]]; then
    unexplained=$(awk '!/^#/ && NF && prev !~ /^#/ { print } { prev = $0 }' "$overrides")
    [[ -z $unexplained ]] || fail "overrides without a reason: $unexplained"
fi

# Lintian must see a fault in a package that has one: the same package without copyright.
dpkg-deb -R "$deb" "$work/broken"
rm "$work/broken/usr/share/doc/kelto/copyright"
sed -i '/usr\/share\/doc\/kelto\/copyright$/d' "$work/broken/DEBIAN/md5sums"
dpkg-deb --root-owner-group -b "$work/broken" "$work/broken.deb" >/dev/null
grep -q '^E: kelto: no-copyright-file' <<<"$(run_lintian "$work/broken.deb")" ||
    fail "lintian does not notice a package without a copyright file"
echo "lintian reports no error and no warning on $(basename "$deb")"
