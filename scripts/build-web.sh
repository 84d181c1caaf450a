#!/usr/bin/env bash
# Builds the browser version into build-web/, its page into build-web/site/: index.html,
# index.js, index.wasm and index.data, a static folder any web server can serve. scripts/build-web-deps.sh installs what the browser
# build needs when missing (scripts/install-deps.sh web) and builds the WebAssembly libraries once.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/deps-common.sh
. scripts/deps-common.sh
hold_build_folder build-web

scripts/build-web-deps.sh build-web/deps >/dev/null

# Debian's emscripten 3.1.6 runs Node.js tools that do not search Debian's Node modules.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j "$(nproc)"
echo "Browser build: build-web/site/index.html (with index.js, index.wasm, index.data)"
