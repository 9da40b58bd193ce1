#!/usr/bin/env bash
# Builds everything and runs the whole suite: the tests and the golden replays, both again under
# AddressSanitizer and UndefinedBehaviorSanitizer with a short soak, and the fuzzers for a bounded
# time; then builds the release with clang, packages it and has lintian check the package; builds
# the game for 64-bit and 32-bit ARM Linux and for Windows, runs their tests and golden replays
# under qemu-user and wine, and packages them; and plays the page for browsers in headless
# chromium.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
add_architectures
install_packages "${TEST_PACKAGES[@]}" "${CROSS_PACKAGES[@]}"

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=$(nproc)

# Each step says how long the one before it took.
step() {
    [ -n "${step_name:-}" ] && printf -- '-- %s: %d s\n' "$step_name" $((SECONDS - step_start))
    step_name=$*
    step_start=$SECONDS
    printf '\n== %s\n' "$*"
}

step "build and test"
cmake --preset default
cmake --build --preset default -j "$JOBS"
ctest --preset default

step "build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan

step "a short soak: the automatic player at every level under the sanitizers"
scripts/soak.sh --short

step "fuzz (${FUZZ_SECONDS} s per target)"
cmake --preset fuzz
cmake --build --preset fuzz -j "$JOBS"
for fuzzer in build/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    corpus="build/fuzz/corpus/$(basename "$fuzzer")"
    mkdir -p "$corpus"
    seeds="tests/fuzz/seeds/$(basename "$fuzzer")"
    [ -d "$seeds" ] || seeds=
    echo "-- $(basename "$fuzzer")"
    "$fuzzer" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 \
        "$corpus" ${seeds:+"$seeds"} 2>&1 | tail -n 3
done

step "release build with clang, and its packages"
# Only the game and its tools: the suite has already run twice. Warnings are errors here too,
# so a plain release build stays clean with both compilers.
cmake --preset clang-release
cmake --build --preset clang-release -j "$JOBS"
rm -f build/clang-release/boltfever_*.deb build/clang-release/boltfever-*.tar.gz
(cd build/clang-release && cpack -G "DEB;TGZ")
# Debian's own checks of the package: an error fails the run; warnings and notes are shown.
lintian --fail-on error --display-info build/clang-release/boltfever_*.deb

step "the Windows build's libraries, from Debian's source packages (kept in build/windows-deps)"
scripts/windows-deps.sh

# Another machine's build: the game, its tests (the ARM ones: under qemu-user; the Windows
# build's goldens: under wine, headless), and its package.
for preset in linux-arm64 linux-armhf windows-x64; do
    step "$preset: build, and the tests and golden replays under its emulator"
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$JOBS"
    ctest --preset "$preset"
    rm -f build/"$preset"/boltfever_*.deb build/"$preset"/boltfever-*.zip
    if [ "$preset" = windows-x64 ]; then
        (cd build/"$preset" && cpack -G ZIP)
    else
        (cd build/"$preset" && cpack -G DEB)
        lintian --fail-on error --display-info build/"$preset"/boltfever_*.deb
    fi
done

step "the handheld folder, and what the packages hold"
scripts/package-handheld.sh
scripts/check-packages.sh

step "the Windows build's window under wine, on a virtual display"
scripts/wine-window-test.sh

step "the page for browsers, played in headless chromium"
./web.sh --test

step "all passed"
