# Installs the Debian packages a build needs when any of them is missing.
# Sourced by play.sh, web.sh and test.sh; usage: install_packages pkg...
install_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    # Another install on this machine holds dpkg's lock for a while: wait for it, not fail.
    local wait=(-o DPkg::Lock::Timeout=900)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" update -q &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" install -y -q \
            --no-install-recommends "${missing[@]}"
}

# help2man writes the man pages from the programs' --help. The world server takes requests
# with cpp-httplib, writes JSON with nlohmann-json, keeps its table in SQLite or PostgreSQL
# (libpqxx) and tells replays apart by OpenSSL's SHA-256 (libssl-dev, which cpp-httplib needs
# too).
GAME_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libpng-dev libgtest-dev libbenchmark-dev
    help2man libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev libssl-dev)
# dpkg-shlibdeps (dpkg-dev), which needs file, names the Debian package's dependencies.
PACKAGE_PACKAGES=("${GAME_PACKAGES[@]}" dpkg-dev file)
# lintian checks the Debian package as Debian checks its own; python3 runs the check of the
# layers' includes; the world server's tests start a PostgreSQL 15 of their own.
TEST_PACKAGES=("${PACKAGE_PACKAGES[@]}" clang libclang-rt-14-dev sox lintian python3
    postgresql-15)
# The page for browsers: emscripten compiles it (the native build makes its data first); the
# page's test plays it in chromium.
WEB_PACKAGES=("${GAME_PACKAGES[@]}" emscripten python3)
PAGE_TEST_PACKAGES=(chromium)
