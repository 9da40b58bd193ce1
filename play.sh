#!/usr/bin/env bash
# Builds Bolt Fever and plays it. Arguments go to the game (./play.sh --help lists them).
# The game runs in the caller's folder, so relative paths and a boltfever.cfg there mean what
# they would for the installed game; it finds maps.dat beside itself in the build folder.
set -euo pipefail
here=$PWD
cd "$(dirname "$0")"
source scripts/deps.sh
install_packages "${GAME_PACKAGES[@]}"
cmake --preset default >/dev/null
# The game and what installs with it, so `sudo cmake --install build/default` works next.
cmake --build --preset default --target boltfever man-page
game=$PWD/build/default/boltfever
cd "$here"
exec "$game" "$@"
