#!/usr/bin/env bash
# Installs the Debian packages Tavisto builds, runs and tests with, when missing.
# Extra package names given as arguments are installed too.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-svg-dev libgl-dev
    libicu-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev nlohmann-json3-dev libqrencode-dev
    libgtest-dev libgmock-dev libzxing-dev libcli11-dev
    libfreetype-dev fonts-dejavu-core fonts-freefont-ttf
    xvfb xauth fonts-liberation fonts-wqy-microhei
    g++-mingw-w64-x86-64-posix googletest wine wine64
    ansible-core
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
