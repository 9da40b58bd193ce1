#!/usr/bin/env bash
# Makes the folder for SDL2-based Linux handhelds from the two ARM builds, laid out as their
# port managers lay out a port, and packs it as build/handheld/boltfever-VERSION-handheld.zip:
#   Bolt Fever.sh                      the launch script (packaging/handheld/)
#   boltfever/boltfever.aarch64        the game for 64-bit ARM systems
#   boltfever/boltfever.armhf          the game for 32-bit ARM systems
#   boltfever/libs.aarch64, libs.armhf the libraries they need that a firmware may lack
#   boltfever/maps.dat, README.md, LICENSE
# A firmware for SDL2 games has the C library, the C++ and compiler runtimes, zlib and an SDL2
# built for its display (packaging/handheld/firmware-libraries.txt). The rest (libpng, and the
# X11 client libraries the window asks a window manager through) come from Debian's packages
# for that machine.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(boltfever VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/handheld
name=boltfever-$version-handheld
rm -rf "${out:?}/$name" "$out/$name.zip"
game=$out/$name/boltfever
mkdir -p "$game"
# The firmware's own libraries (packaging/handheld/firmware-libraries.txt).
firmware_has=$(grep -v '^#' packaging/handheld/firmware-libraries.txt | paste -sd '|')

# The libraries a program or library needs (readelf's NEEDED), one a line.
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }

for target in "aarch64 linux-arm64 aarch64-linux-gnu" "armhf linux-armhf arm-linux-gnueabihf"; do
    read -r arch preset triplet <<<"$target"
    "$triplet-strip" -o "$game/boltfever.$arch" "build/$preset/boltfever"
    libs=$game/libs.$arch
    mkdir -p "$libs"
    todo=("$game/boltfever.$arch")
    while [ ${#todo[@]} -gt 0 ]; do
        file=${todo[0]}
        todo=("${todo[@]:1}")
        for lib in $(needed "$file" | grep -Ev "$firmware_has"); do
            [ -e "$libs/$lib" ] && continue
            from=$(readlink -f "/usr/lib/$triplet/$lib")
            [ -f "$from" ] || { echo "$lib for $arch: not in /usr/lib/$triplet" >&2; exit 1; }
            "$triplet-strip" --strip-unneeded -o "$libs/$lib" "$from"
            todo+=("$libs/$lib")
        done
    done
done
cp "packaging/handheld/Bolt Fever.sh" "$out/$name/"
cp build/default/maps.dat README.md LICENSE "$game/"
(cd "$out/$name" && cmake -E tar cf "../$name.zip" --format=zip -- *)
echo "The handheld folder: $out/$name.zip, $(stat -c %s "$out/$name.zip") bytes"
