#!/bin/bash
# Bolt Fever on an SDL2-based Linux handheld, in the way its port managers lay out a port: this
# script beside the folder boltfever/, which holds the game for 64-bit (boltfever.aarch64) and
# 32-bit ARM systems (boltfever.armhf), maps.dat, and in libs.ARCH/ the libraries a firmware may
# lack. Nothing is installed into the system. Arguments go to the game.

here=$(cd "$(dirname "$0")" && pwd)
GAMEDIR=$here/boltfever

# PortMaster, where the firmware has it, knows the device: its controls file gives SDL the
# mapping of the handheld's buttons as a game controller. Without it SDL's own mappings serve.
for folder in /opt/system/Tools/PortMaster /opt/tools/PortMaster \
    "${XDG_DATA_HOME:-$HOME/.local/share}/PortMaster" /roms/ports/PortMaster; do
    if [ -f "$folder/control.txt" ]; then
        controlfolder=$folder
        # shellcheck disable=SC1091
        source "$folder/control.txt"
        get_controls
        [ -n "${sdl_controllerconfig:-}" ] && export SDL_GAMECONTROLLERCONFIG="$sdl_controllerconfig"
        break
    fi
done

# The game for this machine: by the system's programs, not the kernel's (a 64-bit kernel may run
# a 32-bit system, whose programs are armhf).
case "${DEVICE_ARCH:-$(uname -m)}" in
    aarch64 | arm64) arch=aarch64 ;;
    armv7* | armv8l | armhf | arm) arch=armhf ;;
    *)
        echo "Bolt Fever: no game in $GAMEDIR for this machine ($(uname -m))" >&2
        exit 1
        ;;
esac
if [ "$arch" = aarch64 ] && [ ! -e /lib/ld-linux-aarch64.so.1 ] && [ -e /lib/ld-linux-armhf.so.3 ]; then
    arch=armhf
fi
export LD_LIBRARY_PATH="$GAMEDIR/libs.$arch${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"

# The settings, keys and high scores go to the home's data folder, or into this folder when the
# home cannot be written (a firmware whose home is read-only).
data=${XDG_DATA_HOME:-$HOME/.local/share}
if ! mkdir -p "$data" 2>/dev/null || [ ! -w "$data" ]; then
    export XDG_DATA_HOME="$GAMEDIR/data"
fi

# The whole screen at the largest whole scale (640 x 480: twice), with the handheld's buttons as
# a game controller.
cd "$GAMEDIR" || exit 1
exec "./boltfever.$arch" --fullscreen "$@"
