#!/bin/bash
# The installed manual page kelto(1): gzipped -9n, rendered by man and by groff without a
# single warning, and telling every key, the mouse, the exit status and the environment.
# Usage: check_man_page.sh <prefix>
set -euo pipefail
prefix=$1
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in man groff col; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done
page=$prefix/share/man/man1/kelto.1.gz
[[ -f $page ]] || fail "missing $page"
"$here/check_gzip_header.sh" "$page"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# man drops root's privileges to read the page; a private temporary folder would hide it.
chmod 755 "$work"
zcat "$page" >"$work/kelto.1"

# Both renderers must be silent on stderr; shown on a page with a fault, they are not.
render() { MANWIDTH=80 LC_ALL=C man --warnings -l "$1" 2>"$work/man.err" | col -bx; }
warnings() {
    render "$1" >/dev/null
    LC_ALL=C groff -ww -z -man "$1" 2>"$work/groff.err" || true
    cat "$work/man.err" "$work/groff.err"
}
found=$(warnings "$work/kelto.1")
[[ -z $found ]] || fail "the page renders with warnings:
$found"
{ cat "$work/kelto.1"; printf '.BR\n\\fXbad font\n'; } >"$work/broken.1"
[[ -n $(warnings "$work/broken.1") ]] || fail "the renderers stay silent on a faulty page"

text=$(render "$work/kelto.1")
[[ -n $text ]] || fail "man renders nothing"
section() { sed -n "/^$1\$/,/^[A-Z][A-Z ]*\$/p" <<<"$text"; }
for name in NAME SYNOPSIS DESCRIPTION OPTIONS KEYS MOUSE 'EXIT STATUS' ENVIRONMENT FILES LIMITS; do
    grep -qx "$name" <<<"$text" || fail "no section $name"
done
grep -Eq '^ +kelto - .+' <<<"$(section NAME)" || fail "NAME does not read 'kelto - ...'"
grep -F -q 'KELTO Valve Control         Use:  +-/*mouse,.        ESC to Quit' <<<"$text" ||
    fail "the caption is not quoted exactly"

# Each key is the tag of its own entry: "+ or ,", "-", "* or .", "/", "Esc".
keys=$(section KEYS)
tag() { grep -E "^ {7}(\\S+ or )?$1( |\$)" <<<"$keys" >/dev/null; }
for key in '\+' ',' '-' '\*' '\.' '/' 'Esc'; do
    tag "$key" || fail "KEYS has no entry for $key"
done
mouse=$(section MOUSE)
for entry in 'Pointer over the picture' 'Left click' 'Left double-click'; do
    grep -Eq "^ {7}$entry\$" <<<"$mouse" || fail "MOUSE has no entry '$entry'"
done
grep -q 'no options' <<<"$(section OPTIONS)" || fail "OPTIONS does not say there are none"
status=$(section 'EXIT STATUS')
grep -Eq '^ {7}0 ' <<<"$status" || fail "EXIT STATUS has no entry for 0"
grep -Eq '^ {7}1 ' <<<"$status" || fail "EXIT STATUS has no entry for 1"
grep -q 'kelto: error:' <<<"$status" || fail "EXIT STATUS does not show the error line"
environment=$(section ENVIRONMENT)
for variable in QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS; do
    grep -q "$variable" <<<"$environment" || fail "ENVIRONMENT does not name $variable"
done
echo "manual page $page renders cleanly and covers keys, mouse, status and environment"
