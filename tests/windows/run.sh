#!/usr/bin/env bash
# The Windows suite: builds dist/quiverfall-windows-x64.zip (scripts/build-windows.sh) and runs
# build/tests/windows_tests against it under Wine on a virtual X server. Wine keeps its prefix in
# build-windows/wine (made on the first run, about 10 s) and is not asked to install Mono or Gecko.
# The screen is larger than the window, which Wine may place away from its corner.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh windows-test
scripts/build-windows.sh
export QUIVERFALL_WINDOWS_ZIP="$PWD/dist/quiverfall-windows-x64.zip"
export WINEPREFIX="$PWD/build-windows/wine"
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 2400x1350x24 -noreset" build/tests/windows_tests --gtest_color=no
