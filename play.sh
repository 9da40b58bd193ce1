#!/usr/bin/env bash
# Builds Bolt Fever and plays it. Arguments go to the game (./play.sh --help lists them).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_packages "${GAME_PACKAGES[@]}"
cmake --preset default >/dev/null
# The game and what installs with it, so `cmake --install build/default` works next.
cmake --build --preset default --target boltfever man-page
cd build/default
exec ./boltfever "$@"
