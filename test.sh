#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on a virtual X server.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/build.sh --with-tests
cd build
xvfb-run -a -s "-screen 0 1600x900x24" ctest --output-on-failure "$@"
