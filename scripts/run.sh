#!/usr/bin/env bash
# Builds Tavisto and starts the window connected to a virtual display, so it can
# be tried without hardware. Extra arguments go to the program
# (default: --simulate KT350-MK). Without a desktop session it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

# ImageMagick takes screenshots of the window on the Xvfb display (README).
scripts/install-deps.sh imagemagick

export CCACHE_BASEDIR="$PWD" CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_BUILD_GUI=ON
cmake --build build/release -j "$(nproc)" --target tavisto tavisto-cli tavisto-sim

args=("$@")
((${#args[@]})) || args=(--simulate KT350-MK)

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec build/release/src/app/ui/tavisto "${args[@]}"
fi
echo "No desktop session found: running the window under Xvfb (display :99)."
exec xvfb-run -n 99 -s "-screen 0 1280x1024x24" build/release/src/app/ui/tavisto "${args[@]}"
