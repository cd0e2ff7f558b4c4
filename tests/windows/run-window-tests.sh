#!/usr/bin/env bash
# Runs a Windows window-test program under wine with Qt's windows platform plugin on
# an Xvfb display of its own, in a scratch wine prefix (ctest's emulator for them):
#   run-window-tests.sh QT_BIN_FOLDER PROGRAM.exe [arguments...]
# The Qt DLLs are found through WINEPATH, the plugins through QT_PLUGIN_PATH.
set -euo pipefail
qt_bin=$(realpath "$1")
program=$(realpath "$2")
shift 2
source "$(dirname "$0")/../../scripts/windows/wine-session.sh"

wine_session_start_bare
cp "$program" "$scratch/tests.exe"
as_wine_user_owns "$scratch"
run_wine wineboot --init >/dev/null 2>&1
"${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" HOME="$HOME" DISPLAY="$DISPLAY" \
    WINEPATH="$(winpath "$qt_bin")" QT_PLUGIN_PATH="$(winpath "$qt_bin/../plugins")" \
    QT_QPA_PLATFORM=windows "$wine_bin" "$scratch/tests.exe" "$@"
