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

# name, seed, the level to start at (0: through the title screen), pictures. Each is chosen for
# what it covers (see tests/golden/README.md).
replays=(
    "title 280 0 30000"
    "level09 1 9 20000"
    "level14 11 14 20000"
    "level16 5 16 20000"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for entry in "${replays[@]}"; do
    read -r name seed level pictures <<<"$entry"
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    # A home of its own: the default settings, no best level reached, nothing of the player's.
    home=$work/$name
    mkdir -p "$home"
    args=(--headless --autoplay --seed "$seed" --frames "$pictures")
    [ "$level" -gt 0 ] && args+=(--level "$level")
    (cd "$home" && HOME=$home XDG_DATA_HOME= "$game" "${args[@]}" \
        --record "$root/tests/golden/$name.bfr" --report "$home/report.json")
    echo "== $name: $(stat -c %s "tests/golden/$name.bfr") bytes"
    python3 - "$home/report.json" <<'PY' || cat "$home/report.json"
import json, sys
r = json.load(open(sys.argv[1]))
made = [k for k, v in r["actors"].items() if v["created"]]
print(f"   levels completed {r['levels_completed']}, game overs {r['game_overs']}, "
      f"ends at level {r['level']}; made: {' '.join(made)}")
PY
done
