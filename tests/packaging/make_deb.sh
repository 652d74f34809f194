# shellcheck shell=bash
# make_deb BUILD_DIR: builds the .deb from BUILD_DIR into "$work/out" and sets deb to its path.
# The caller has defined fail and made the folder work.
make_deb() {
    cpack --config "$1/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack"; }
    deb=$work/out/kelto_1.00_amd64.deb
    [[ -f $deb ]] || fail "no $(basename "$deb"); made: $(ls "$work/out")"
}
