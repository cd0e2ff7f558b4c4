#!/usr/bin/env bash
# Runs a Windows window-test program under wine with Qt's windows platform plugin on
# an Xvfb display of its own, in a scratch wine prefix (ctest's emulator for them):
#   run-window-tests.sh QT_BIN_FOLDER PROGRAM.exe [arguments...]
set -euo pipefail
qt_bin=$(realpath "$1")
program=$(realpath "$2")
shift 2
source "$(dirname "$0")/../../scripts/windows/wine-session.sh"

wine_session_start_bare
# The program beside the DLLs and plugins it needs, as an installed program has them
# (the wine user may not read the build's folders).
cp "$program" "$scratch/tests.exe"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Test; do
    cp "$qt_bin/$dll.dll" "$scratch/"
done
mkdir -p "$scratch/platforms" "$scratch/styles"
cp "$qt_bin/../plugins/platforms/qwindows.dll" "$scratch/platforms/"
cp "$qt_bin/../plugins/styles/qwindowsvistastyle.dll" "$scratch/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$scratch/"
done
mkdir -p "$scratch/logs"
as_wine_user_owns "$scratch"
run_wine wineboot --init >/dev/null 2>&1
# QtTest's output does not come through wine's standard output here: one log a class.
status=0
"${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" HOME="$HOME" DISPLAY="$DISPLAY" \
    WINEDEBUG="${TAVISTO_WINEDEBUG:--all}" QT_QPA_PLATFORM=windows \
    TAVISTO_WINDOW_TEST_LOGS="$(winpath "$scratch/logs")" TAVISTO_UNDER_WINE=1 \
    "$wine_bin" "$scratch/tests.exe" "$@" || status=$?
cat "$scratch"/logs/*.txt 2>/dev/null | grep -v '^PASS   :' || true
exit $status
