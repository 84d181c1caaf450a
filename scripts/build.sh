#!/usr/bin/env bash
# Configures and builds Quiverfall into build/. Usage: scripts/build.sh [--with-tests]
set -euo pipefail
cd "$(dirname "$0")/.."
testing=OFF
if [[ "${1:-}" == "--with-tests" ]]; then
    testing=ON
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING="$testing" >/dev/null
cmake --build build -j "$(nproc)"
