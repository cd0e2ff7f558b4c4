#!/usr/bin/env bash
# Builds the fuzz targets with Clang (core instrumented, ASan + UBSan) in build/fuzz
# and runs each one for the given number of seconds (default 60), one after the
# other, starting from the seeds in fuzz/corpus/<name>/. New inputs that libFuzzer
# finds go to build/fuzz/corpus/<name>/ so the committed seeds stay small; crashes
# are written to build/fuzz/findings/.
#
#   scripts/fuzz.sh [seconds] [name...]     e.g. scripts/fuzz.sh 120 png jpeg
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang libclang-rt-14-dev

seconds=${1:-60}
shift || true
all=(settings_text png jpeg bmp hex code_page frame_parser profile)
names=("$@")
[ ${#names[@]} -eq 0 ] && names=("${all[@]}")

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DTAVISTO_BUILD_GUI=OFF -DTAVISTO_BUILD_FUZZ=ON -DTAVISTO_SANITIZE=ON
cmake --build build/fuzz -j 2 --target "${names[@]/%/_fuzz}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build/fuzz/findings
status=0
for name in "${names[@]}"; do
    echo "=== $name: ${seconds}s"
    mkdir -p "build/fuzz/corpus/$name"
    build/fuzz/fuzz/"${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="build/fuzz/findings/${name}-" -print_final_stats=1 \
        "build/fuzz/corpus/$name" "fuzz/corpus/$name" || status=1
done
exit $status
