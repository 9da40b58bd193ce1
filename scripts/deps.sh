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
# with cpp-httplib (and the game asks it with cpp-httplib's client), writes JSON with nlohmann-json, keeps its table in SQLite or PostgreSQL
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

# The other machines the game is built for. The ARM builds take Debian's cross compilers and
# the target's own SDL2, libpng and GoogleTest from Debian's multiarch packages, and run under
# qemu-user; the Windows build takes mingw-w64 (with POSIX threads, for std::thread's sleeps),
# builds its libraries from Debian's source packages (scripts/windows-deps.sh), and runs under
# wine, headless or on Xvfb's display (xauth for xvfb-run). strace tells what the handheld's launch
# script starts (scripts/check-packages.sh).
CROSS_ARCHITECTURES=(arm64 armhf)
CROSS_PACKAGES=(g++-aarch64-linux-gnu g++-arm-linux-gnueabihf g++-mingw-w64-x86-64-posix
    libsdl2-dev:arm64 libpng-dev:arm64 libgtest-dev:arm64
    libsdl2-dev:armhf libpng-dev:armhf libgtest-dev:armhf
    qemu-user wine wine64 xvfb xauth dpkg-dev strace)

# Runs a command as root (through sudo when not root).
as_root() {
    if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# Lets dpkg install the cross builds' architectures beside the machine's own.
add_architectures() {
    for arch in "${CROSS_ARCHITECTURES[@]}"; do
        dpkg --print-foreign-architectures | grep -qx "$arch" || as_root dpkg --add-architecture "$arch"
    done
}

# Debian's source packages, for `apt-get source`: a deb-src entry in a file of our own for each
# Debian archive this machine's apt already uses, so the sources come from the same mirror.
SOURCES_LIST=/etc/apt/sources.list.d/boltfever-src.list
add_source_packages() {
    [ -s "$SOURCES_LIST" ] && return 0
    local entries
    entries=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
        'Identifier: Packages' 'Origin: Debian' | sort -u | sed 's/^/deb-src /')
    [ -n "$entries" ] || { echo "no Debian archive among apt's sources" >&2; return 1; }
    printf '# Debian source packages for Bolt Fever'"'"'s Windows build (scripts/deps.sh)\n%s\n' \
        "$entries" | as_root tee "$SOURCES_LIST" >/dev/null
    as_root apt-get -o DPkg::Lock::Timeout=900 update -q
}
