#!/usr/bin/env bash
# Tests the Windows build of scripts/windows/build.sh under wine:
#   check.sh
# the platform layers' test program against virtual displays on COM ports and the
# window's tests (ctest in build/windows-app), then the installer and the installed
# programs (try-under-wine.sh); a screenshot of the installed window after Connect
# goes to build/windows-app/screenshots.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/windows-app
version=$(sed -n 's/^project(Tavisto VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
ctest --test-dir "$out" --output-on-failure
scripts/windows/try-under-wine.sh "$out/tavisto-$version-setup.exe" "$out" build/release \
    "$out/screenshots"
