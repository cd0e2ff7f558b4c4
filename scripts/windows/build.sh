#!/usr/bin/env bash
# Cross-builds Tavisto for Windows against the Windows libraries in PREFIX, installs
# it into build/windows-app/Tavisto and packs that folder as an installer and a zip:
#   build.sh PREFIX
# The Linux build build/release gives what the cross-build cannot make itself: the
# font images and pictures drawn at build time, the icon, and the virtual display and
# code-page recorder the tests under wine use.
set -euo pipefail
cd "$(dirname "$0")/../.."
prefix=$1
jobs=$(nproc)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache

host=build/release
cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_BUILD_GUI=ON \
    -DTAVISTO_BUILD_BENCH=OFF -DTAVISTO_WERROR=ON >/dev/null
cmake --build "$host" -j "$jobs" --target tavisto_resources tavisto_icons tavisto-sim \
    tavisto_record_code_pages

out=build/windows-app
mingw=/usr/x86_64-w64-mingw32
export TAVISTO_WINDOWS_PREFIX="$prefix" PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISTO_WERROR=ON -DTAVISTO_BUILD_GUI=ON \
    -DTAVISTO_BUILD_BENCH=OFF -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DTAVISTO_GENERATED_RESOURCES="$PWD/$host/resources" -DTAVISTO_HOST_BUILD="$PWD/$host" \
    -DZLIB_LIBRARY="$mingw/lib/libz.a" -DZLIB_INCLUDE_DIR="$mingw/include" >/dev/null
cmake --build "$out" -j "$jobs"
# The window's COM-port test runs from the installed folder, which has every DLL it
# needs but QtTest's.
cp "$prefix/bin/Qt6Test.dll" "$out/tests/windows/"

# The folder a user gets, with the debugging information stripped from the programs and
# every DLL (it would double the folder's size).
folder=$out/Tavisto
rm -rf "$folder"
cmake --install "$out" --prefix "$folder" >/dev/null
find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

version=$(sed -n 's/^project(Tavisto VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=$out/tavisto-$version-setup.exe
zip=$out/tavisto-$version-windows-x64.zip
# Packing takes most of a minute of CPU (a solid LZMA installer, a zip at -9): when the
# folder's files, the installer script and this script are what the last packing had,
# its installer and zip stand.
pack() {
    # The installer's file lists, from the folder's listing.
    files=$out/nsis-files.nsh
    remove=$out/nsis-remove.nsh
    : >"$files"
    : >"$remove"
    (cd "$folder" && find . -type d | sort) | while read -r dir; do
        dir=${dir#.}
        dir=${dir#/}
        win=${dir//\//\\}
        echo "SetOutPath \"\$INSTDIR${win:+\\$win}\"" >>"$files"
        (cd "$folder/$dir" && find . -maxdepth 1 -type f | sort) | while read -r file; do
            file=${file#./}
            echo "File \"$PWD/$folder${dir:+/$dir}/$file\"" >>"$files"
            echo "Delete \"\$INSTDIR${win:+\\$win}\\$file\"" >>"$remove"
        done
    done
    (cd "$folder" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
        dir=${dir#./}
        echo "RMDir \"\$INSTDIR\\${dir//\//\\}\"" >>"$remove"
    done
    size_kb=$(du -sk "$folder" | cut -f1)
    makensis -V2 -DVERSION="$version" -DFILES="$PWD/$files" -DREMOVE="$PWD/$remove" \
        -DICON="$PWD/$host/packaging/icons/tavisto.ico" -DOUT="$PWD/$setup" -DSIZE_KB="$size_kb" \
        packaging/windows/tavisto.nsi
    rm -f "$zip"
    (cd "$out" && zip -qr9 "$(basename "$zip")" Tavisto)
}
packed=$out/packed.sha256
fingerprint=$({
    find "$folder" -type f -print0 | sort -z | xargs -0 sha256sum
    sha256sum packaging/windows/tavisto.nsi scripts/windows/build.sh \
        "$host/packaging/icons/tavisto.ico"
} | sha256sum)
if [[ -f $setup && -f $zip && -f $packed && $(<"$packed") == "$fingerprint" ]]; then
    echo "The installer and the zip hold this folder already: not packed again"
else
    rm -f "$packed"
    pack
    echo "$fingerprint" >"$packed"
fi
echo "Windows folder: $folder ($(du -sh "$folder" | cut -f1))"
echo "Installer: $setup ($(du -h "$setup" | cut -f1))"
echo "Zip: $zip ($(du -h "$zip" | cut -f1))"
