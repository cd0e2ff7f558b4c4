#!/usr/bin/env bash
# Builds the Windows libraries Tavisto needs, once, from Debian's source packages of
# the versions this machine's Linux build uses, into a cache outside the clone:
#   libraries.sh CACHE_ROOT          builds what is missing, prints the prefix (CACHE_ROOT/KEY)
#   libraries.sh --ready CACHE_ROOT  prints the prefix when it is built, else nothing
# KEY names the versions and the recipe's number, so a new version or a change of
# recipe builds a new prefix and later runs (in any clone) reuse a finished one.
#   Qt 6 qtbase (Core, Gui, Widgets, Test, the windows platform plugin and the
#   Windows styles; its own bundled zlib, PNG, JPEG, FreeType, HarfBuzz, PCRE2),
#   libjpeg-turbo, libpng and libqrencode (static); zlib is mingw's libz-mingw-w64-dev.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
ready_only=0
if [[ $1 == --ready ]]; then
    ready_only=1
    shift
fi
root=$1
toolchain=$here/../../cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

# The versions the Linux build uses (installed binary packages) key the cache; the
# source fetched is the same version when the archive still has it, else the newest of
# the same upstream version that can be fetched (a security update of the release).
declare -A binaries=([qt6-base]=qt6-base-dev [libjpeg-turbo]=libjpeg62-turbo-dev
                     [libpng1.6]=libpng-dev [qrencode]=libqrencode-dev)
declare -A sources=()
for package in "${!binaries[@]}"; do
    sources[$package]=$(dpkg-query -W -f='${Version}' "${binaries[$package]}")
done
fetch_source() {
    local installed=$2 candidate
    for candidate in "$installed" $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' |
                                    grep -F "${installed%-*}-" | sort -rV); do
        if apt-get source -qq "$1=$candidate" >/dev/null 2>&1; then
            echo "fetched the source of $1 $candidate" >&2
            return 0
        fi
    done
    # The archive may hold the upstream tarball without the Debian part of an old
    # revision: build the upstream source then.
    local tarball
    tarball=$(ls "$1"_"${installed%-*}".orig.tar.* 2>/dev/null | head -n 1)
    if [[ -n $tarball ]]; then
        mkdir "$1-${installed%-*}"
        tar -xf "$tarball" -C "$1-${installed%-*}" --strip-components=1
        echo "fetched the upstream source of $1 ${installed%-*} (Debian's changes of" \
             "$installed could not be fetched)" >&2
        return 0
    fi
    echo "no source package of $1 ${installed%-*} could be fetched" >&2
    return 1
}
# The recipe's number: raise it when a configure option below changes, so that the
# libraries are built anew.
recipe=1
qt_version=${sources[qt6-base]%%+*}
key="qt-$qt_version-jpeg-${sources[libjpeg-turbo]#*:}-png-${sources[libpng1.6]%%-*}"
key+="-qrencode-${sources[qrencode]%%-*}-r$recipe"
prefix=$root/$key
if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
fi
((ready_only)) && exit 0

work=$root/work-$key
rm -rf "$prefix" "$root"/work-*
mkdir -p "$work" "$prefix"
cd "$work"
for package in "${!sources[@]}"; do
    fetch_source "$package" "${sources[$package]}"
done
export TAVISTO_WINDOWS_PREFIX=$prefix
cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
       -DCMAKE_INSTALL_PREFIX="$prefix")

echo "building libjpeg-turbo, libpng and libqrencode for Windows" >&2
cmake -S libjpeg-turbo-*/ -B build-jpeg "${cross[@]}" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_SYSTEM_PROCESSOR=AMD64 -DREQUIRE_SIMD=OFF -DWITH_SIMD=OFF >build-jpeg.log
cmake --build build-jpeg -j "$jobs" >>build-jpeg.log
cmake --install build-jpeg >>build-jpeg.log
cmake -S libpng1.6-*/ -B build-png "${cross[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF >build-png.log
cmake --build build-png -j "$jobs" >>build-png.log
cmake --install build-png >>build-png.log
cmake -S qrencode-*/ -B build-qrencode "${cross[@]}" -DBUILD_SHARED_LIBS=OFF -DWITH_TOOLS=OFF \
    -DWITH_TESTS=OFF >build-qrencode.log
cmake --build build-qrencode -j "$jobs" >>build-qrencode.log
cmake --install build-qrencode >>build-qrencode.log

echo "building Qt $qt_version for Windows (about 1,200 steps: 75 CPU minutes, some 40 minutes on" \
     "2 quiet cores)" >&2
# Debian's source leaves out the Wintab headers the tablet support needs. OpenGL stays
# (dynamic): the Windows platform plugin of this version does not build without it.
cmake -S qt6-base-*/ -B build-qt "${cross[@]}" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_opengl_dynamic=ON -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF >build-qt.log
cmake --build build-qt -j "$jobs" >>build-qt.log
cmake --install build-qt >>build-qt.log

touch "$prefix/.complete"
cd "$root"
rm -rf "$work"
echo "$prefix"
