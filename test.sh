#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on a virtual X server twice: as
# normally built (build/) and built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-sanitize/, whose programs carry the sanitizers' settings); then the Windows
# program's suite under Wine (tests/windows/run.sh) and the browser build's suite in headless
# Chromium (tests/web/run.sh). Tests run as many at a time as there are cores. Arguments go to
# both ctest runs (for example -R to pick tests) and then leave the Windows and browser suites
# out; the script fails if any run fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/check-format.sh
scripts/build.sh --with-tests
scripts/build.sh --with-tests --sanitize

# The screen is larger than the demo's window, so that the window tests can resize it to
# 2400x1350 and still read all of it back. -noreset: by default the X server resets whenever its
# last client disconnects, and a program that connects during the reset fails to open its window;
# tests start and end many programs.
xvfb_arguments="-screen 0 2400x1350x24 -noreset"

run_suite() {
    local build_dir=$1
    shift
    (cd "$build_dir" &&
        xvfb-run -a -s "$xvfb_arguments" ctest --output-on-failure -j "$(nproc)" "$@")
}

failed=()
echo "== Tests, normal build"
run_suite build "$@" || failed+=(build)
echo "== Tests, sanitizer build"
run_suite build-sanitize "$@" || failed+=(build-sanitize)
# The Windows and browser suites have no CTest names to pick: they run when no arguments pick
# desktop tests.
if [[ $# -eq 0 ]]; then
    echo "== Tests, Windows build under Wine"
    tests/windows/run.sh || failed+=(windows)
    echo "== Tests, browser build"
    tests/web/run.sh || failed+=(browser)
fi
if [[ ${#failed[@]} -ne 0 ]]; then
    echo "Tests failed in: ${failed[*]}" >&2
    exit 1
fi
