#!/bin/bash
# The installed copyright file (Debian's machine-readable format) and changelog.gz (a
# native package's changelog, gzipped -9n) under <prefix>/share/doc/kelto.
# Usage: check_docs.sh <prefix> <version>
set -euo pipefail
prefix=$1
version=$2
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v dpkg-parsechangelog >/dev/null || fail "dpkg-parsechangelog is not installed"
docs=$prefix/share/doc/kelto
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# copyright: every line a field, a continuation or a blank; a Format header first; each
# Files paragraph with Copyright and License; each licence it names given its text,
# either in that paragraph or in a stand-alone License paragraph.
copyright_problems() {
    awk '
        function finish() {
            if (nfields == 0) return
            if (paragraph == 1 && !("Format" in f)) print "the first paragraph has no Format field"
            if ("Files" in f) {
                if (!("Copyright" in f)) print "Files " f["Files"] " has no Copyright"
                if (!("License" in f)) print "Files " f["Files"] " has no License"
                else if (!licence_text) used[f["License"]] = 1
            } else if ("License" in f && paragraph > 1) {
                if (!licence_text) print "License " f["License"] " paragraph has no text"
                given[f["License"]] = 1
            }
            delete f; nfields = 0; licence_text = 0; last = ""
        }
        /^[ \t]*$/ { finish(); next }
        /^[ \t]/ { if (last == "") print "line " NR " continues nothing"
                   if (last == "License") licence_text = 1
                   next }
        /^[A-Za-z][A-Za-z0-9-]*:/ {
            if (nfields == 0) paragraph++
            name = $0; sub(/:.*/, "", name)
            value = $0; sub(/^[^:]*:[ \t]*/, "", value)
            if (name in f) print "line " NR " repeats " name
            f[name] = value; nfields++; last = name
            next
        }
        { print "line " NR " is neither a field nor a continuation: " $0 }
        END {
            finish()
            if (paragraph == 0) print "the file is empty"
            for (name in used) if (!(name in given)) print "licence " name " has no text"
        }' "$1"
}
copyright=$docs/copyright
[[ -f $copyright ]] || fail "missing $copyright"
problems=$(copyright_problems "$copyright")
[[ -z $problems ]] || fail "$copyright is not well-formed:
$problems"
head -n1 "$copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "$copyright does not start with the format's Format line"
sed -n '/^Files: \*$/,/^$/p' "$copyright" | grep -qx 'License: Expat' ||
    fail "Files: * is not under the Expat (MIT) licence"
sed -n '/^Files: \*$/,/^$/p' "$copyright" | grep -qx 'Copyright: 2026 KELTO developers' ||
    fail "Files: * does not name 2026 KELTO developers"
# The checker must see the faults it looks for.
sed '/^License: Expat$/,$d' "$copyright" >"$work/no-licence-text"
[[ -n $(copyright_problems "$work/no-licence-text") ]] || fail "a missing licence text passes"
sed '0,/^Copyright: /{/^Copyright: /d}' "$copyright" >"$work/no-copyright"
[[ -n $(copyright_problems "$work/no-copyright") ]] || fail "a missing Copyright field passes"

# changelog.gz: dpkg-parsechangelog reads it without a complaint, and its one entry is
# this version of kelto.
changelog=$docs/changelog.gz
"$here/check_gzip_header.sh" "$changelog"
zcat "$changelog" >"$work/changelog"
parse() { dpkg-parsechangelog -l "$1" "${@:2}" 2>"$work/parse.err"; }
parse "$work/changelog" >/dev/null || fail "dpkg-parsechangelog rejects $changelog: $(cat "$work/parse.err")"
[[ ! -s $work/parse.err ]] || fail "dpkg-parsechangelog warns on $changelog: $(cat "$work/parse.err")"
# It only warns, with status 0, on a malformed entry: hence the look at stderr above.
sed 's/^\( -- .*>\)  .*/\1  not a date/' "$work/changelog" >"$work/broken"
parse "$work/broken" >/dev/null || true
[[ -s $work/parse.err ]] || fail "dpkg-parsechangelog does not notice a trailer without a date"

field() { parse "$work/changelog" -S "$1"; }
[[ $(field Source) == kelto ]] || fail "changelog is for '$(field Source)'"
[[ $(field Version) == "$version" ]] || fail "changelog version is '$(field Version)', not $version"
[[ $(field Distribution) =~ ^(unstable|bookworm)$ ]] ||
    fail "changelog distribution is '$(field Distribution)'"
maintainer=$(field Maintainer)
[[ $maintainer =~ ^[^@\<]+\ \<[^@\>]+@[a-z0-9-]+(\.[a-z0-9-]+)+\>$ && $maintainer != *localhost* ]] ||
    fail "changelog maintainer '$maintainer' is not a real address"
entries=$(grep -c '^kelto (' "$work/changelog")
[[ $entries == 1 ]] || fail "changelog has $entries entries; a first release has one"
echo "copyright and changelog.gz under $docs are well-formed"
