#!/usr/bin/env bash
# Builds the libraries the Windows build links, for Windows, from Debian's own source packages
# (`apt-get source`): zlib and libpng as static libraries, SDL2 as SDL2.dll, as SDL's makers
# advise. They go to build/windows-deps/, where the windows-x64 preset finds them; a second run
# with the same source versions finds them there and does nothing, so CI may keep that folder.
#   scripts/windows-deps.sh    (./test.sh runs it)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
add_source_packages

root=$PWD/build/windows-deps
prefix=$root/prefix
sources=(zlib libpng1.6 libsdl2)
# The newest version of each, or where a mirror lacks that one's files (a security update's),
# the release's own. What is built is known by its .dsc files.
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
fetch() {  # fetch PACKAGE: into the working folder
    apt-get source -q "$1" >/dev/null 2>&1 || { rm -rf "$1"*; apt-get source -q "$1/$release" >/dev/null; }
}
# The downloads stay in build/windows-deps/src (apt-get source skips what it has); the unpacked
# trees go.
mkdir -p "$root/src"
find "$root/src" -mindepth 1 -maxdepth 1 -type d -exec rm -rf {} +
(cd "$root/src" && for source in "${sources[@]}"; do fetch "$source"; done)
wanted=$(cd "$root/src" && ls ./*.dsc | sort)
if [ -f "$prefix/built-from" ] && [ "$(cat "$prefix/built-from")" = "$wanted" ]; then
    echo "Windows libraries: built already from $(echo $wanted)"
    find "$root/src" -mindepth 1 -maxdepth 1 -type d -exec rm -rf {} +
    exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
dir() { find "$root/src" -maxdepth 1 -type d -name "$1-*" | head -n 1; }
jobs=$(nproc)
cross=(-Wno-dev -Wno-deprecated -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/x86_64-w64-mingw32.cmake")

echo "== zlib"
cmake -S "$(dir zlib)" -B "$root/build-zlib" "${cross[@]}" >/dev/null
cmake --build "$root/build-zlib" -j "$jobs" --target zlibstatic >/dev/null
install -D -m 644 -t "$prefix/include" "$(dir zlib)/zlib.h" "$root/build-zlib/zconf.h"
install -D -m 644 "$root/build-zlib/libzlibstatic.a" "$prefix/lib/libz.a"

echo "== libpng"
cmake -S "$(dir libpng1.6)" -B "$root/build-png" "${cross[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    >/dev/null
cmake --build "$root/build-png" -j "$jobs" >/dev/null
cmake --install "$root/build-png" >/dev/null

echo "== SDL2"
cmake -S "$(dir libsdl2)" -B "$root/build-sdl" "${cross[@]}" -DSDL_SHARED=ON -DSDL_STATIC=OFF \
    -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON >/dev/null
cmake --build "$root/build-sdl" -j "$jobs" >/dev/null
cmake --install "$root/build-sdl" --strip >/dev/null

echo "$wanted" >"$prefix/built-from"
find "$root/src" -mindepth 1 -maxdepth 1 -type d -exec rm -rf {} +
rm -rf "$root/build-zlib" "$root/build-png" "$root/build-sdl"
echo "Windows libraries built from: $(echo $wanted)"
