#!/usr/bin/env bash
# Configures and builds Quiverfall. Usage: scripts/build.sh [--with-tests] [--sanitize]
# The normal build goes to build/; --sanitize builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/. QUIVERFALL_WARNINGS_AS_ERRORS=ON in the
# environment makes compiler warnings errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
testing=OFF
sanitize=OFF
build_dir=build
for argument in "$@"; do
    case "$argument" in
        --with-tests) testing=ON ;;
        --sanitize) sanitize=ON; build_dir=build-sanitize ;;
        *) echo "usage: $0 [--with-tests] [--sanitize]" >&2; exit 2 ;;
    esac
done
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING="$testing" \
    -DQUIVERFALL_SANITIZE="$sanitize" \
    -DQUIVERFALL_WARNINGS_AS_ERRORS="${QUIVERFALL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
