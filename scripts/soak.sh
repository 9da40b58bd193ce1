#!/usr/bin/env bash
# The soak: the automatic player under AddressSanitizer and UndefinedBehaviorSanitizer, starting
# at each of the sixteen levels in turn, over a million world updates in all. A crash, anything a
# sanitizer finds, a leak at exit or a run that hangs fails it. Each run reports its resident
# memory once its level has started and at its end: it should stay flat from the first level to
# the last. (Within a run it grows by what AddressSanitizer keeps of freed blocks to catch late
# uses, up to its quarantine; ASAN_OPTIONS=quarantine_size_mb=1 shows the game's own, flat.)
#
#   scripts/soak.sh            16 runs of 32,000 pictures: about 1,020,000 world updates
#   scripts/soak.sh --short    16 runs of 5,000 pictures, for ./test.sh (well under a minute)
set -euo pipefail
cd "$(dirname "$0")/.."
game=$PWD/build/asan/boltfever
[ -x "$game" ] || { echo "no $game: build the asan preset first" >&2; exit 1; }
pictures=32000
wanted=1000000
if [ "${1:-}" = --short ]; then
    pictures=5000
    wanted=0
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

# Each run has a folder of its own under the build folder: its working folder and its home.
work=$PWD/build/asan/soak
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
field() { grep -o "\"$1\": [0-9]*" "$2" | head -n 1 | grep -o '[0-9]*$'; }

printf '%5s %8s %9s %8s %11s %11s\n' level pictures updates 'pics/s' 'RSS start' 'RSS end'
updates=0
for level in $(seq 1 16); do
    dir=$work/$level
    mkdir -p "$dir"
    began=$(date +%s%N)
    # A home of its own, so that the player's settings are neither read nor written.
    status=0
    (cd "$dir" && HOME=$dir XDG_DATA_HOME=$dir/.local/share timeout -k 10 900 "$game" \
        --headless --autoplay --seed "$level" --level "$level" --frames "$pictures" \
        --report report.json >log 2>&1) || status=$?
    if [ "$status" -ne 0 ]; then
        echo "level $level: the run failed (status $status):" >&2
        tail -n 30 "$dir/log" >&2
        exit 1
    fi
    ms=$((($(date +%s%N) - began) / 1000000))
    n=$(field world_updates "$dir/report.json")
    shown=$(field pictures "$dir/report.json")
    rss=$(grep -o '"resident_kb": {"start": [0-9]*, "end": [0-9]*}' "$dir/report.json" |
        grep -o '[0-9]*' | tr '\n' ' ')
    read -r start end <<<"${rss:-0 0}"
    printf '%5d %8d %9d %8d %8d KB %8d KB\n' "$level" "$shown" "$n" \
        $((shown * 1000 / (ms > 0 ? ms : 1))) "$start" "$end"
    updates=$((updates + n))
done
echo "world updates in all: $updates"
if [ "$updates" -lt "$wanted" ]; then
    echo "fewer than $wanted world updates" >&2
    exit 1
fi
