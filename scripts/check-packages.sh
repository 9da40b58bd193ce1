#!/usr/bin/env bash
# What a player downloads holds what it must, and runs: the ARM Debian packages, the Windows .zip
# and the handheld folder, each unpacked and its game started under its emulator, from a folder
# of its own. The handheld's launch script must pick the game for the machine it runs on.
#   scripts/check-packages.sh    (after the packages are made; ./test.sh runs it)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=$(sed -n 's/^project(boltfever VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$root/build/package-check
rm -rf "$work"
mkdir -p "$work"
failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}
# has FOLDER FILE...: each file is there
has() {
    local folder=$1
    shift
    for file in "$@"; do [ -e "$folder/$file" ] || fail "${folder#"$work"/} lacks $file"; done
}
# plays LABEL COMMAND...: a few headless pictures from a folder of its own, with a home of its own
plays() {
    local label=$1 run=$work/run-$1
    shift
    mkdir -p "$run"
    (cd "$run" && HOME=$run XDG_DATA_HOME= "$@" --headless --seed 1 --frames 30 \
        >"$run.log" 2>&1) || fail "$label does not play: $(cat "$run.log")"
}

for target in "arm64 aarch64-linux-gnu qemu-aarch64" "armhf arm-linux-gnueabihf qemu-arm"; do
    read -r arch triplet qemu <<<"$target"
    deb=build/linux-$arch/boltfever_${version}_$arch.deb
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "$deb is not for $arch"
    dpkg-deb -x "$deb" "$work/$arch"
    has "$work/$arch" usr/games/boltfever usr/share/boltfever/maps.dat \
        usr/share/man/man6/boltfever.6.gz usr/share/applications/boltfever.desktop \
        usr/share/doc/boltfever/copyright
    cmp -s "$work/$arch/usr/share/boltfever/maps.dat" build/default/maps.dat ||
        fail "$deb: maps.dat is not the levels"
    plays "$arch.deb" "$qemu" -L "/usr/$triplet" "$work/$arch/usr/games/boltfever"
done

zip=build/windows-x64/boltfever-$version-windows-x64.zip
mkdir -p "$work/windows"
(cd "$work/windows" && cmake -E tar xf "$root/$zip")
windows=$work/windows/boltfever-$version-windows-x64
has "$windows" boltfever.exe SDL2.dll maps.dat README.md LICENSE
# Every library the program names is in the .zip or is Windows' own; it runs from anywhere.
for dll in $(x86_64-w64-mingw32-objdump -p "$windows/boltfever.exe" | sed -n 's/^\tDLL Name: //p'); do
    [ -e "$windows/$dll" ] || [[ "${dll,,}" =~ ^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|shell32|advapi32|version|setupapi|msvcrt|psapi)\.dll$ ]] ||
        fail "boltfever.exe needs $dll, which neither the .zip nor Windows has"
done
plays windows.zip "$root/scripts/wine.sh" "$windows/boltfever.exe"

handheld=build/handheld/boltfever-$version-handheld.zip
mkdir -p "$work/handheld"
(cd "$work/handheld" && cmake -E tar xf "$root/$handheld")
port=$work/handheld
has "$port" "Bolt Fever.sh" boltfever/boltfever.aarch64 boltfever/boltfever.armhf \
    boltfever/maps.dat boltfever/LICENSE
[ -x "$port/Bolt Fever.sh" ] || fail "the launch script is not executable"
# The script on each machine (as uname says it): the game it starts is that machine's. This
# machine cannot start an ARM program itself, so what the script tried to start is read from
# strace; then that game plays under qemu with the libraries of its folder.
mkdir -p "$work/machine"
firmware_has=$(grep -v '^#' packaging/handheld/firmware-libraries.txt | paste -sd '|')
for target in "aarch64 aarch64 qemu-aarch64 aarch64-linux-gnu" "armv7l armhf qemu-arm arm-linux-gnueabihf" \
    "x86_64 none"; do
    read -r machine arch qemu triplet <<<"$target"
    printf '#!/bin/sh\necho %s\n' "$machine" >"$work/machine/uname"
    chmod +x "$work/machine/uname"
    started=$(PATH=$work/machine:$PATH HOME=$work/machine strace -f -qq -e trace=execve -o /dev/stdout \
        bash "$port/Bolt Fever.sh" --version 2>/dev/null | grep -o "execve(\"$port/boltfever/boltfever\.[a-z0-9]*\"" |
        sed 's/.*\///; s/"$//' || true)
    want=boltfever.$arch
    [ "$arch" = none ] && want=
    [ "$started" = "$want" ] || fail "on $machine the launch script started '${started}', not '$want'"
    [ "$arch" = none ] && continue
    # Every library the game and its libraries need is in its folder or is the firmware's own.
    for file in "$port/boltfever/boltfever.$arch" "$port/boltfever/libs.$arch"/*; do
        for lib in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -Ev "$firmware_has"); do
            [ -e "$port/boltfever/libs.$arch/$lib" ] || fail "$arch: ${file##*/} needs $lib, which the folder lacks"
        done
    done
    plays "handheld-$arch" "$qemu" -L "/usr/$triplet" -E "LD_LIBRARY_PATH=$port/boltfever/libs.$arch" \
        "$port/boltfever/boltfever.$arch"
done

[ "$failed" -eq 0 ] || exit 1
for file in build/clang-release/boltfever_*.deb build/clang-release/boltfever-*.tar.gz \
    build/linux-*/boltfever_*.deb "$zip" "$handheld"; do
    printf '%10d  %s\n' "$(stat -c %s "$file")" "$file"
done
echo "The packages hold what they must, and each one's game plays"
