#!/bin/bash
# The executable carries its version record as an ELF note that readelf can show.
# Usage: check_version_note.sh <executable>
set -euo pipefail
binary=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ -x $binary ]] || fail "$binary is not an executable"

section=.note.kelto.version
readelf -S -W "$binary" | grep -E "\\$section +NOTE +" >/dev/null ||
    fail "no note section $section in $binary"
readelf -n "$binary" | grep -A1 "notes found in: $section" >/dev/null || fail "note not listed"
readelf -n -W "$binary" | grep -E '^ +KELTO +0x[0-9a-f]+' >/dev/null || fail "note owner is not KELTO"

record=$(readelf -p "$section" "$binary" | sed -n 's/^ *\[ *[0-9a-f]*\]  //p' | grep '=')
expected='FileVersion=1.00
ProductVersion=1.00
ProductName=KELTO
InternalName=KELTO1
OriginalFilename=KELTO1.exe'
[[ $record == "$expected" ]] || fail "version record reads:
$record
expected:
$expected"
echo "version record of $binary:"
echo "$record"
