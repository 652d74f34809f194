# shellcheck shell=bash
# Sourced by the packaging checks: fail, a work folder that goes with the script, here, and the
# two helpers that several checks share.
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck disable=SC2034 # used by the scripts that source this
here=$(dirname "${BASH_SOURCE[0]}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect_rows: reads rows "getter argument expected" from stdin and fails on the
# first whose "getter argument" prints something else. Expected is a bash pattern (extglob),
# so a row can ask for a part, "*KELTO*", or a choice, "@(unstable|bookworm)".
expect_rows() {
    local getter arg want got
    shopt -s extglob
    while read -r getter arg want; do
        [[ -n $getter && $getter != '#'* ]] || continue
        got=$("$getter" "$arg") || true
        # shellcheck disable=SC2053 # want is a pattern on purpose
        [[ $got == $want ]] || fail "$getter $arg is '$got', expected '$want'"
    done
}

# make_deb BUILD_DIR: builds the .deb into $work/out with CPack and sets deb to its path.
make_deb() {
    cpack --config "$1/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack"; }
    deb=$work/out/kelto_1.00_amd64.deb
    [[ -f $deb ]] || fail "no $(basename "$deb"); made: $(ls "$work/out")"
}
