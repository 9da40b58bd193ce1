#!/usr/bin/env bash
# Builds Bolt Fever's world high-score server and runs it. Arguments go to the server
# (./server.sh --help lists them). It runs in the caller's folder, where its SQLite table,
# boltfever-world.db, is kept unless an option names another place; it plays replays with the
# game built beside it.
set -euo pipefail
here=$PWD
cd "$(dirname "$0")"
source scripts/deps.sh
install_packages "${GAME_PACKAGES[@]}"
cmake --preset default >/dev/null
cmake --build --preset default --target boltfever boltfever-server
server=$PWD/build/default/boltfever-server
cd "$here"
exec "$server" "$@"
