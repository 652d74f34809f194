#!/bin/bash
# A file gzipped as the package carries it (gzip -9n): intact, at the best compression, and
# with no file name or time stamp in its header, so that two builds give the same bytes.
# Usage: check_gzip_header.sh <file.gz>...
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
for file in "$@"; do
    [[ -f $file ]] || fail "missing $file"
    gzip -t "$file" || fail "$file is not an intact gzip file"
    read -r -a header < <(od -An -tu1 -N10 "$file")
    ((header[0] == 31 && header[1] == 139)) || fail "$file has no gzip magic number"
    # FLG bit 3: an original file name follows the header.
    ((header[3] & 8)) && fail "$file records its original name (gzip without -n)"
    ((header[4] == 0 && header[5] == 0 && header[6] == 0 && header[7] == 0)) ||
        fail "$file records a time stamp (gzip without -n)"
    # XFL 2: compressed with the slowest, best setting.
    ((header[8] == 2)) || fail "$file is not compressed with -9 (XFL ${header[8]})"
done
echo "gzip headers of $# file(s) are -9n"
