#!/usr/bin/env bash
# Cross-builds the Windows program with Debian's mingw-w64 into build-windows/ and packages it as
# dist/quiverfall-windows-x64.zip: quiverfall.exe (linked statically: no DLL beside it), Shader/,
# Models/ and a README.txt. scripts/build-windows-deps.sh installs what is missing and builds
# GLFW, GLEW and Assimp for Windows once.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/deps-common.sh
. scripts/deps-common.sh
hold_build_folder build-windows

scripts/build-windows-deps.sh build-windows/deps
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DQUIVERFALL_WINDOWS_DEPS="$PWD/build-windows/deps" \
    -DQUIVERFALL_WARNINGS_AS_ERRORS="${QUIVERFALL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
cmake --build build-windows -j "$(nproc)"

# The zip holds one folder's contents, as a user unpacks it; README.txt with Windows' line ends.
package="build-windows/package"
rm -rf "$package"
mkdir -p "$package" dist
cp build-windows/quiverfall.exe "$package/"
cp -r Shader Models "$package/"
sed 's/$/\r/' packaging/windows/README.txt >"$package/README.txt"
rm -f dist/quiverfall-windows-x64.zip
(cd "$package" && zip -q -r -X ../../dist/quiverfall-windows-x64.zip .)
echo "Windows package: dist/quiverfall-windows-x64.zip" \
    "($(du -k dist/quiverfall-windows-x64.zip | cut -f1) KB)"
