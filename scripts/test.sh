#!/usr/bin/env bash
# Builds Tavisto four ways and runs every test:
#  - build/release: the whole product with the Qt window, all tests;
#  - build/asan: the core without Qt under AddressSanitizer and UBSan, its tests;
#  - build/tsan: the tests labelled "threaded" (those that run threads or the virtual
#    display) under ThreadSanitizer;
#  - build/windows-app: when this machine has the Windows libraries scripts/windows.sh
#    builds, the whole program cross-built for Windows, its installer, and both tried
#    under wine against virtual displays of build/release (scripts/windows/check.sh);
#    otherwise build/windows: the link, files, settings and protocol layers cross-built
#    with mingw-w64, their test program run under wine (tests/platform/run-under-wine.sh).
# Warnings are errors in all four. First of all, scripts/check-layers.sh checks that
# no source file includes a header of a layer above its own.
# The benchmarks are programs run by hand: none of the builds makes them. The font
# images and default pictures are drawn once, by build/release; the sanitizer builds
# embed those files (TAVISTO_GENERATED_RESOURCES) instead of drawing them again.
# The tests labelled "realtime" wait on pseudo-terminals far more than they compute:
# they run in the background, two a core, while the next build compiles (at a lower
# priority than the tests).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-layers.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1
# Three builds of one tree: ccache lets them, and the next run in any folder, share
# compiled files.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache

build() { # build FOLDER [cmake --build options...]: compiles below the tests' priority
    nice -n 10 cmake --build "$@" -j "$jobs"
}

# The tests labelled "realtime" wait on a line far more than they compute: a build's run
# of them goes on in the background, two a core, while the next build compiles; one such
# run at a time, its output shown when it has ended.
waiting_lanes=$((2 * jobs))
waiting_run=
waiting_log=
finish_waiting_run() {
    [[ -n $waiting_run ]] || return 0
    local status=0
    wait "$waiting_run" || status=$?
    echo "== ${waiting_log%/*}: the tests labelled realtime"
    cat "$waiting_log"
    waiting_run=
    return "$status"
}
# run_tests FOLDER [ctest options...]: the tests that compute now, then those that wait
# in the background.
run_tests() {
    local folder=$1
    shift
    ctest --test-dir "$folder" --output-on-failure -j "$jobs" -LE realtime "$@"
    finish_waiting_run
    waiting_log=$folder/realtime-tests.log
    ctest --test-dir "$folder" --output-on-failure -j "$waiting_lanes" -L realtime "$@" \
        >"$waiting_log" 2>&1 &
    waiting_run=$!
}
trap 'status=$?; finish_waiting_run || status=1; exit "$status"' EXIT

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_BUILD_GUI=ON \
    -DTAVISTO_BUILD_BENCH=OFF -DTAVISTO_WERROR=ON
build build/release
run_tests build/release

# The two Font Download runs against the virtual display take half a minute of real
# time (a readiness probe for each of the 77 rows) and run the same engine threads as
# the other transfer runs, so the sanitizer builds leave them to build/release; the
# whole queue of both kinds of model runs on the virtual clock in app_tests.
sanitized_filter='-StorageSimTest.FontDownload*'

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVISTO_BUILD_GUI=OFF \
    -DTAVISTO_SANITIZE=ON -DTAVISTO_BUILD_BENCH=OFF -DTAVISTO_WERROR=ON \
    -DTAVISTO_GENERATED_RESOURCES=build/release/resources
build build/asan
GTEST_FILTER=$sanitized_filter run_tests build/asan

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVISTO_BUILD_GUI=OFF \
    -DTAVISTO_SANITIZE_THREAD=ON -DTAVISTO_BUILD_BENCH=OFF -DTAVISTO_WERROR=ON \
    -DTAVISTO_GENERATED_RESOURCES=build/release/resources
build build/tsan --target tavisto_threaded_tests
GTEST_FILTER=$sanitized_filter run_tests build/tsan -L threaded

# The whole Windows program, its installer and its try-out under wine when this machine
# has the Windows libraries scripts/windows.sh builds; else the platform layers alone.
windows_prefix=$(scripts/windows/libraries.sh --ready \
    "${TAVISTO_WINDOWS_CACHE:-$HOME/.cache/tavisto-windows}" 2>/dev/null || true)
if [[ -n $windows_prefix ]]; then
    echo "Windows: the whole program and its installer, tried under wine ($windows_prefix)"
    scripts/install-deps.sh nsis zip xdotool imagemagick fonts-wine
    nice -n 10 scripts/windows/build.sh "$windows_prefix"
    scripts/windows/check.sh
else
    echo "Windows: the platform layers only (scripts/windows.sh has not built the Windows" \
         "libraries on this machine)"
    cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_PLATFORM_LAYERS_ONLY=ON -DTAVISTO_WERROR=ON \
        -DTAVISTO_HOST_BUILD="$PWD/build/release"
    build build/windows
    ctest --test-dir build/windows --output-on-failure
fi
