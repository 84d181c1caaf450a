#!/usr/bin/env bash
# Builds the browser version into build-web/: index.html, index.js, index.wasm and index.data,
# a static folder any web server can serve. Installs Debian's emscripten and the header-only
# libraries when missing and builds the WebAssembly libraries once (scripts/build-web-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for package in libglm-dev libstb-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [[ ${#missing[@]} -ne 0 ]]; then
    as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
fi
scripts/build-web-deps.sh build-web/deps >/dev/null

# Debian's emscripten 3.1.6 runs Node.js tools that do not search Debian's Node modules.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j "$(nproc)"
echo "Browser build: build-web/index.html (with index.js, index.wasm, index.data)"
