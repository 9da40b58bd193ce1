#!/usr/bin/env bash
# The Windows build's window, under wine on Xvfb's virtual display: it plays a few seconds of a
# level from a replay the native game recorded, checking every 60th picture as it goes, and its
# screenshot of the last picture must be the native game's, byte for byte.
#   scripts/wine-window-test.sh    (after the default and windows-x64 builds; ./test.sh runs it)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/windows-x64/window-test
rm -rf "$work"
mkdir -p "$work/native" "$work/windows"
# A level's few seconds: the automatic player at level 3, recorded headless.
(cd "$work/native" && HOME=$PWD XDG_DATA_HOME= "$root/build/default/boltfever" --headless --seed 9 \
    --level 3 --autoplay --frames 400 --record ../run.bfr --screenshot ../native.png)
# Wine's server outlives its programs a moment, with the desktop it made for them: one made for a
# headless run has no display. Once it has ended, this run's wine starts anew on Xvfb's.
WINEPREFIX=${WINEPREFIX:-$root/build/wine} wineserver -w
# In the window, at the game's own pace.
status=0
(cd "$work/windows" && BOLTFEVER_WINE_DISPLAY=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine.sh" \
    "$root/build/windows-x64/boltfever.exe" --mute --replay ../run.bfr \
    --screenshot ../windows.png) || status=$?
[ "$status" -eq 0 ] || { echo "the window's replay ended with status $status" >&2; exit 1; }
cmp "$work/native.png" "$work/windows.png"
echo "The window under wine showed the native game's pictures: $work/windows.png"
