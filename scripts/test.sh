#!/usr/bin/env bash
# Builds Tavisto three ways and runs every test:
#  - build/release: the whole product with the Qt window, all tests;
#  - build/asan: the core without Qt under AddressSanitizer and UBSan, its tests;
#  - build/tsan: the tests that run threads (virtual display, workflows against it)
#    under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_BUILD_GUI=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVISTO_BUILD_GUI=OFF \
    -DTAVISTO_SANITIZE=ON -DTAVISTO_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

threaded_tests=(sim_tests protocol_sim_tests app_tests transfer_sim_tests)
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVISTO_BUILD_GUI=OFF \
    -DTAVISTO_SANITIZE_THREAD=ON -DTAVISTO_BUILD_BENCH=OFF
cmake --build build/tsan -j "$jobs" --target "${threaded_tests[@]}"
ctest --test-dir build/tsan --output-on-failure -j "$jobs" \
    -R "^($(IFS='|'; echo "${threaded_tests[*]}"))\$"
