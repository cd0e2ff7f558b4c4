#!/usr/bin/env bash
# Builds Tavisto for 64-bit Windows, packs it, and tries the installed program under
# wine against virtual displays:
#   scripts/windows.sh            everything below
#   scripts/windows.sh --no-try   build and pack only
# 1. Installs what it needs (mingw-w64, wine, NSIS, zip) and makes apt able to fetch
#    Debian's source packages (scripts/windows/deb-src.sh).
# 2. Builds once the Windows libraries from Debian's sources of the versions the Linux
#    build uses (Qt's qtbase, libjpeg-turbo, libpng, libqrencode; zlib is mingw's) into
#    a cache outside the clone, $TAVISTO_WINDOWS_CACHE (default ~/.cache/tavisto-windows),
#    keyed by their versions (scripts/windows/libraries.sh). The first run takes 25 to
#    40 minutes; later runs, in any clone, reuse it.
# 3. Builds what the cross-build takes from a Linux build of the same sources
#    (build/release: the drawn font images, the icon, the virtual display).
# 4. Cross-builds tavisto.exe, tavisto-cli.exe and their tests (build/windows-app),
#    warnings as errors, and installs them into build/windows-app/Tavisto.
# 5. Makes build/windows-app/tavisto-VERSION-setup.exe (NSIS) and
#    tavisto-VERSION-windows-x64.zip of the same folder.
# 6. Runs the Windows test programs under wine and tries the installer and the
#    installed programs (scripts/windows/try-under-wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
try=1
[[ ${1:-} == --no-try ]] && try=0

scripts/install-deps.sh nsis zip dpkg-dev libz-mingw-w64-dev xdotool imagemagick fonts-wine
scripts/windows/deb-src.sh
cache=${TAVISTO_WINDOWS_CACHE:-$HOME/.cache/tavisto-windows}
mkdir -p "$cache"
prefix=$(scripts/windows/libraries.sh "$cache")
scripts/windows/build.sh "$prefix"
((try)) && scripts/windows/check.sh
exit 0
