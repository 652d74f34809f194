#!/bin/bash
# An installed tree (a prefix such as /usr, staged anywhere): every file of installed-files is
# there and is what it must be, the tool that knows each format accepts it, and the fields that
# desktops, man and dpkg show say what they must.
# Usage: check_tree.sh <prefix> <source-dir> <icon-checker> <version>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
prefix=$1 source=$2 icon_checker=$3 version=$4
for tool in desktop-file-validate appstreamcli xmllint dpkg-parsechangelog man groff col; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done

while read -r path how from; do
    file=$prefix/$path
    [[ -f $file ]] || fail "missing $file"
    case $how in
    copy) cmp "$source/$from" "$file" || fail "$file is not $from" ;;
    gzip) gzip -9n -c "$source/$from" | cmp - "$file" || fail "$file is not gzip -9n of $from" ;;
    esac
done < <(grep -v '^#' "$here/installed-files")
[[ -x $prefix/bin/kelto ]] || fail "kelto is not executable"
"$here/check_version_note.sh" "$prefix/bin/kelto"
icons=$prefix/share/icons
"$icon_checker" "$icons"/hicolor/{16x16,32x32}/apps/kelto.png \
    "$icons/HighContrast/32x32/apps/kelto.png" "$icons/hicolor/scalable/apps/kelto.svg" ||
    fail "installed icons"

# The formats' own tools decide, on plain copies; man reads the page as another user.
chmod 755 "$work"
cp "$prefix"/share/{applications/kelto.desktop,metainfo/io.kelto.viewer.metainfo.xml} "$work"
cp "$prefix/share/doc/kelto/copyright" "$work"
zcat "$prefix/share/man/man1/kelto.1.gz" >"$work/kelto.1"
zcat "$prefix/share/doc/kelto/changelog.gz" >"$work/changelog"
desktop() { desktop-file-validate "$1"; }
metainfo() { appstreamcli validate --no-net --pedantic "$1"; }
man_page() { MANWIDTH=80 LC_ALL=C man --warnings -l "$1" >/dev/null && LC_ALL=C groff -ww -z -man "$1"; }
changelog() { dpkg-parsechangelog -l "$1" >/dev/null; }
# Debian's copyright format: dpkg's own parser reads the paragraphs and stops at a line that is
# neither a field nor a continuation, or at a repeated field. On top: a Format header, Copyright
# and License in each Files paragraph, and a text for each licence, where it is named or in a
# License paragraph of its own.
copyright() {
    perl -MDpkg::Control::HashCore -e '
        open(my $in, "<", $ARGV[0]) or die "$!\n";
        my ($n, %named, %given) = (0);
        while ((my $p = Dpkg::Control::HashCore->new)->parse($in, $ARGV[0])) {
            my ($licence, $text) = split /\n/, $p->{License} // "", 2;
            $n++ or exists $p->{Format} or die "no Format header\n";
            if (exists $p->{Files}) {
                exists $p->{$_} or die "Files $p->{Files} has no $_\n" for qw(Copyright License);
                $named{$licence} = 1 unless $text;
            } elsif (exists $p->{License}) {
                $text or die "License $licence has no text\n";
                $given{$licence} = 1;
            }
        }
        $n or die "no paragraph\n";
        $given{$_} or die "licence $_ has no text\n" for keys %named;' "$1"
}
# A tool accepts a file when it exits 0 and warns of nothing: dpkg-parsechangelog and man only
# warn, with status 0, on a faulty entry or page.
accepts() { "$1" "$2" >"$work/out" 2>"$work/err" && [[ ! -s $work/err ]]; }
mkdir "$work/broken"
# Each tool must also reject its file with a fault put in, or its passing means nothing.
while read -r checker file fault; do
    accepts "$checker" "$work/$file" || fail "$checker rejects $file: $(cat "$work/out" "$work/err")"
    sed "$fault" "$work/$file" >"$work/broken/$file"
    if accepts "$checker" "$work/broken/$file"; then fail "$checker accepts $file after sed '$fault'"; fi
done <<'EOF'
desktop    kelto.desktop                 /^Name=/d
metainfo   io.kelto.viewer.metainfo.xml  s|<id>.*</id>||
man_page   kelto.1                       $s/$/\n.BR\n\\fXbad font/
changelog  changelog                     s/^\( -- .*>\)  .*/\1  not a date/
copyright  copyright                     /^License: Expat$/,$d
copyright  copyright                     0,/^Copyright: /{/^Copyright: /d}
EOF

entry() { sed -n "s/^$1=//p" "$work/kelto.desktop"; }
xpath() { xmllint --xpath "$1" "$work/io.kelto.viewer.metainfo.xml"; }
custom() { xpath "string(/component/custom/value[@key=\"KELTO::$1\"])"; }
first_line() { head -n1 "$work/$1"; }
files_star() { sed -n "/^Files: \\*\$/,/^\$/s/^$1: //p" "$work/copyright"; }
change() { dpkg-parsechangelog -l "$work/changelog" -S "$1"; }
entries() { grep -c "^$1 (" "$work/changelog"; }
expect_rows <<EOF
entry       Name            KELTO Valve Control
entry       Exec            kelto
entry       Icon            kelto
entry       Type            Application
entry       StartupWMClass  kelto
entry       Categories      ?(*;)Education;*
xpath       string(/component/id)                              io.kelto.viewer
xpath       string(/component/launchable[@type="desktop-id"])  kelto.desktop
xpath       string(/component/provides/binary)                 kelto
xpath       count(/component/releases/release)                 1
xpath       string(/component/releases/release/@version)       $version
custom      ProductName       KELTO
custom      InternalName      KELTO1
custom      OriginalFilename  KELTO1.exe
first_line  copyright  Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
files_star  Copyright  2026 KELTO developers
files_star  License    Expat
change      Source        kelto
change      Version       $version
change      Distribution  @(unstable|bookworm)
change      Maintainer    KELTO developers <maintainers@kelto.io>
entries     kelto         1
EOF

# The page as man shows it: each section, and in it what a user looks for (extended regexps).
text=$(MANWIDTH=80 LC_ALL=C man -l "$work/kelto.1" 2>/dev/null | col -bx)
section() { sed -n "/^${1//_/ }\$/,/^[A-Z][A-Z ]*\$/p" <<<"$text"; }
while read -r name pattern; do
    grep -Eq -- "$pattern" <<<"$(section "$name")" || fail "man page: $name lacks /$pattern/"
done <<'EOF'
NAME         ^ +kelto - .+
SYNOPSIS     .
DESCRIPTION  KELTO Valve Control {9}Use:  \+-/\*mouse,\. {8}ESC to Quit
OPTIONS      no options
KEYS         ^ {7}(\S+ or )?\+( |$)
KEYS         ^ {7}(\S+ or )?,( |$)
KEYS         ^ {7}(\S+ or )?-( |$)
KEYS         ^ {7}(\S+ or )?\*( |$)
KEYS         ^ {7}(\S+ or )?\.( |$)
KEYS         ^ {7}(\S+ or )?/( |$)
KEYS         ^ {7}(\S+ or )?Esc( |$)
MOUSE        ^ {7}Pointer over the picture$
MOUSE        ^ {7}Left click$
MOUSE        ^ {7}Left double-click$
EXIT_STATUS  ^ {7}0 +\S
EXIT_STATUS  ^ {7}1 +\S
EXIT_STATUS  kelto: error:
ENVIRONMENT  QT_QPA_PLATFORM
ENVIRONMENT  QT_SCALE_FACTOR
ENVIRONMENT  QT_SCREEN_SCALE_FACTORS
FILES        .
LIMITS       .
EOF
echo "the tree under $prefix is complete, and each file's own tool accepts it"
