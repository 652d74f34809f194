#!/usr/bin/env bash
# Installs the Debian packages this project needs, only when some are missing.
#   scripts/install-deps.sh [--with-tests] [--with-package] [--with-valgrind] [--with-bench]
# Without options: what building the viewer needs. --with-tests: the test and fuzzing tools
# (and what packaging needs, with lintian and man to check the package); --with-package: what
# `cpack -G DEB` needs (file, and dpkg-shlibdeps, which fills in the package's dependencies);
# --with-valgrind: valgrind; --with-bench: Google Benchmark, Python, gifsicle and the GTK
# theme plugin for bench/run.sh.
set -euo pipefail

build_packages=(cmake g++ make qt6-base-dev qt6-base-private-dev libgl-dev libxcb1-dev libxkbcommon-dev
    libwayland-dev wayland-protocols pkg-config)
package_packages=(dpkg-dev file)
test_packages=(libgtest-dev xvfb xauth xdotool x11-utils openbox imagemagick qt6-gtk-platformtheme
    desktop-file-utils appstream libxml2-utils libxtst-dev clang libclang-rt-14-dev llvm-14
    clang-format weston qt6-wayland wmctrl dbus-daemon xfwm4 xfconf icewm fluxbox metacity mutter twm
    i3-wm sway kwin-wayland lintian man-db groff-base bsdextrautils
    "${package_packages[@]}")

packages=("${build_packages[@]}")
for option in "$@"; do
    case $option in
        --with-tests) packages+=("${test_packages[@]}") ;;
        --with-package) packages+=("${package_packages[@]}") ;;
        --with-valgrind) packages+=(valgrind) ;;
        --with-bench) packages+=(libbenchmark-dev python3 gifsicle qt6-gtk-platformtheme) ;;
        *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo_cmd=()
if ((EUID != 0)); then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
