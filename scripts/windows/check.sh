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
# A test program that fails is run once more: under load, wine once in several runs
# here refused to open the port of the display the platform test stops (COM6), a fault
# not yet found (docs/WINDOWS.md); a failure that repeats still fails the run.
ctest --test-dir "$out" --output-on-failure --repeat until-pass:2
scripts/windows/try-under-wine.sh "$out/tavisto-$version-setup.exe" "$out" build/release \
    "$out/screenshots"
