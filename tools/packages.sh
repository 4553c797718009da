#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, with apt-get, the Debian packages a step needs and that are missing.
# Usage: tools/packages.sh build|test

set -euo pipefail

build_packages=(build-essential g++ cmake ninja-build ccache qt6-base-dev libgl-dev
                qt6-translations-l10n qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho
                libfontconfig-dev libcli11-dev nlohmann-json3-dev libdxflib-dev qt6-svg-dev libpolyclipping-dev
                lib3mf-dev libzip-dev libocct-foundation-dev libocct-modeling-data-dev
                libocct-modeling-algorithms-dev libocct-data-exchange-dev
                qt6-gtk-platformtheme qt6-xdgdesktopportal-platformtheme qt6-l10n-tools qt6-tools-dev)
test_packages=(googletest libgtest-dev xvfb xauth xdotool xclip x11-utils imagemagick
               cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
               clang libclang-rt-14-dev libbenchmark-dev
               python3-ezdxf python3-shapely librsvg2-bin appstream desktop-file-utils groff-base locales admesh)

wanted=("${build_packages[@]}")
if [ "${1:-build}" = test ]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
