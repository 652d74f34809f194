#!/bin/bash
# The executable carries its version record as an ELF note that readelf can show.
# Usage: check_version_note.sh <executable>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
binary=$1 section=.note.kelto.version
[[ -x $binary ]] || fail "$binary is not an executable"
# grep -q would stop reading early and fail readelf with SIGPIPE: hence the >/dev/null.
readelf -S -W "$binary" | grep -E "\\$section +NOTE " >/dev/null || fail "no note section $section"
readelf -n -W "$binary" | grep "notes found in: $section" >/dev/null || fail "note not listed"
readelf -n -W "$binary" | grep -E '^ +KELTO +0x[0-9a-f]+' >/dev/null || fail "note owner is not KELTO"

record=$(readelf -p "$section" "$binary" | sed -n 's/^ *\[ *[0-9a-f]*\]  //p' | grep '=')
expected=$(printf '%s\n' FileVersion=1.00 ProductVersion=1.00 ProductName=KELTO \
    InternalName=KELTO1 OriginalFilename=KELTO1.exe)
[[ $record == "$expected" ]] || fail "version record reads:
$record
expected:
$expected"
echo "version record of $binary:"
echo "$record"
