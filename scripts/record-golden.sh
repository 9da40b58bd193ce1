#!/usr/bin/env bash
# Records the golden replays again, on purpose. They are long runs of the automatic player that
# ./test.sh plays back, picture and sound hashes checked every 60 pictures: any change to what the
# game shows or plays fails them. When such a change is meant, run this after building, look at
# what the new runs cover (their reports are printed), and say in the commit why they changed.
#
#   scripts/record-golden.sh [NAME...]     (default: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
game=$root/build/default/boltfever
[ -x "$game" ] || { echo "no $game: build first (cmake --build --preset default)" >&2; exit 1; }

# name, seed, the level to start at (0: through the title screen), pictures (0: as long as the
# run goes), and the player: the automatic one, or an input script in tests/golden/. Each is
# chosen for what it covers (see tests/golden/README.md). A folder tests/golden/NAME/ is the
# data folder the run starts with (settings, high scores and their replays).
replays=(
    "title 280 0 30000 autoplay"
    "level09 1 9 20000 autoplay"
    "level14 11 14 20000 autoplay"
    "level16 5 16 20000 autoplay"
    "scores 4 0 0 scores.txt"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for entry in "${replays[@]}"; do
    read -r name seed level pictures player <<<"$entry"
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    # A home of its own: the default settings, no best level reached, nothing of the player's
    # but what tests/golden/NAME/ holds.
    home=$work/$name
    mkdir -p "$home/.local/share/boltfever"
    [ -d "tests/golden/$name" ] && cp "tests/golden/$name"/* "$home/.local/share/boltfever/"
    args=(--headless --seed "$seed")
    [ "$pictures" -gt 0 ] && args+=(--frames "$pictures")
    [ "$level" -gt 0 ] && args+=(--level "$level")
    if [ "$player" = autoplay ]; then args+=(--autoplay); else args+=(--input "$root/tests/golden/$player"); fi
    (cd "$home" && HOME=$home XDG_DATA_HOME= "$game" "${args[@]}" \
        --record "$root/tests/golden/$name.bfr" --report "$home/report.json")
    echo "== $name: $(stat -c %s "tests/golden/$name.bfr") bytes"
    python3 - "$home/report.json" <<'PY' || cat "$home/report.json"
import json, sys
r = json.load(open(sys.argv[1]))
made = [k for k, v in r["actors"].items() if v["created"]]
print(f"   levels completed {r['levels_completed']}, game overs {r['game_overs']}, "
      f"ends at level {r['level']}; high scores entered {r['high_scores_entered']}, replays "
      f"watched {r['replays_watched']} ({r['replays_not_matching']} not matching); "
      f"made: {' '.join(made)}")
PY
done
