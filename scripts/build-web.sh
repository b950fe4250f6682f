#!/usr/bin/env bash
# Builds the game for the browser (installing what is missing) in the CMake
# tree build-wasm/, then puts the page, and only the page, into build-web/:
# index.html, its scripts and style sheet, quendle.wasm, the icons, the web
# app manifest and the service worker. Serve that folder over HTTP, e.g.
# python3 -m http.server -d build-web, and open http://localhost:8000/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/deps.sh"

# shellcheck disable=SC2086
ensure_packages $QUENDLE_WEB_PACKAGES

build="$root/build-wasm"
site="$root/build-web"
mkdir -p "$build"
# Emscripten's tools run on Debian's node modules even when another node
# comes first on PATH.
export NODE_PATH=/usr/share/nodejs
# The page's icons are the window icon of the desktop game, drawn by the same
# tool: the favicon, and the two sizes an installed page needs.
g++ -std=c++17 -O2 -o "$build/make_icon" "$root/tools/make_icon.cpp"
"$build/make_icon" "$build/icon.bmp" "$build/favicon.png" 64 \
    "$build/icon-192.png" 192 "$build/icon-512.png" 512
emcmake cmake -S "$root/web" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" -- --no-print-directory
# A fresh folder each time, so that nothing of an older build is served.
rm -rf "$site"
cmake --install "$build" --prefix "$site" >/dev/null
echo "Built $site: serve it with python3 -m http.server -d $site"
