#!/usr/bin/env bash
# Runs a Windows program under wine the way the build and the tests do:
#   scripts/wine.sh PROGRAM.exe ARGS...
# with a wine prefix of its own under build/ (made on first use), and a home of its own beside
# it, since wine links the prefix's Documents and Desktop into the home: nothing of the player's
# is read or written. No display unless BOLTFEVER_WINE_DISPLAY is set (xvfb-run gives one for
# the window's test): a headless run needs none. Wine's own chatter is off.
set -euo pipefail
build=$(cd "$(dirname "$0")/.." && pwd)/build
export WINEPREFIX=${WINEPREFIX:-$build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# Neither .NET nor a browser engine: wine would offer to fetch them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export HOME=$WINEPREFIX-home
mkdir -p "$HOME"
[ -n "${BOLTFEVER_WINE_DISPLAY:-}" ] || unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
