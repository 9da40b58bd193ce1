#!/usr/bin/env bash
# Builds Bolt Fever for browsers into build/web and serves it on this computer.
#   ./web.sh           build, then serve at http://localhost:8000/ (PORT=8080 ./web.sh for another)
#   ./web.sh --build   build only
#   ./web.sh --test    build, then play the page in headless chromium (tests/web)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mode=${1:-serve}
case "$mode" in
    serve | --build | --test) ;;
    *)
        echo "usage: ./web.sh [--build | --test]" >&2
        exit 2
        ;;
esac

install_packages "${WEB_PACKAGES[@]}"
# Debian's emscripten finds its JavaScript helpers among Debian's node modules.
export NODE_PATH=/usr/share/nodejs

# The generated banks and maps.dat come from the native build.
cmake --preset default >/dev/null
cmake --build --preset default --target levels banks page-icons
cmake --preset web >/dev/null
cmake --build --preset web

page=(build/web/*)
raw=$(cat "${page[@]}" | wc -c)
packed=0
for file in "${page[@]}"; do packed=$((packed + $(gzip -9 -c "$file" | wc -c))); done
echo "The page: $raw bytes to download, $packed with gzip (${#page[@]} files)"

case "$mode" in
    --build) ;;
    --test)
        install_packages "${PAGE_TEST_PACKAGES[@]}"
        # The native game, which plays the page's replays and records one for the page, and the
        # world table's server, which the page sends to.
        cmake --build --preset default --target boltfever boltfever-server
        # Node.js and npm come with most machines; where they do not, Debian's are taken. A
        # machine without them must not pass the test without playing the page.
        command -v npm >/dev/null || install_packages npm
        # puppeteer-core as the lock file pins it, kept under build/ with npm's cache; it
        # drives the system's chromium and downloads no browser of its own.
        mkdir -p build/web-test
        cp tests/web/package.json tests/web/package-lock.json build/web-test/
        (cd build/web-test && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --cache "$PWD/npm-cache" \
            --no-audit --no-fund --ignore-scripts --loglevel=error)
        # The browser gets a home of its own: nothing of the player's (a chromium profile,
        # certificates, caches) is read, and nothing is written in the real home.
        home=$PWD/build/web-test/home
        rm -rf "$home"
        mkdir -p "$home"
        HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
            XDG_DATA_HOME=$home/.local/share node --test tests/web/
        ;;
    serve)
        port=${PORT:-8000}
        echo "Bolt Fever: http://localhost:$port/ (Ctrl+C stops the server)"
        exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
        ;;
esac
