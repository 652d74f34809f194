#!/usr/bin/env bash
# Installs the Debian packages this project needs, only when some are missing.
set -euo pipefail

build_packages=(cmake g++ make qt6-base-dev libgl-dev zlib1g-dev)
test_packages=(libgtest-dev xvfb xauth xdotool x11-utils openbox imagemagick
    desktop-file-utils appstream libxml2-utils dpkg-dev file libxtst-dev
    clang libclang-rt-14-dev weston qt6-wayland)

packages=("${build_packages[@]}")
if [[ "${1:-}" == "--with-tests" ]]; then
    packages+=("${test_packages[@]}")
fi

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
