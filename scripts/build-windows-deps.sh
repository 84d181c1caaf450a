#!/usr/bin/env bash
# Builds the third-party libraries of the Windows build with Debian's mingw-w64: GLFW, GLEW (with
# GLEW_STATIC) and Assimp with only its OBJ importer, plus the minizip (unzip) Assimp needs, as
# static libraries. They are built from Debian's own source packages, of the same versions as
# the desktop build's -dev packages; zlib is Debian's libz-mingw-w64-dev. Everything is installed
# into one prefix (include/, lib/; default build-windows/deps) with a stamp: a rerun with
# everything in place does nothing. Sources and logs are kept in PREFIX/work. PREFIX is a new or
# empty folder, or one this script made: a rebuild replaces its include/ and lib/.
# Usage: scripts/build-windows-deps.sh [PREFIX]
set -euo pipefail

# shellcheck source=scripts/deps-common.sh
. "$(dirname "${BASH_SOURCE[0]}")/deps-common.sh"
begin_deps build-windows-deps "${1:-$root/build-windows/deps}" windows
toolchain="$root/cmake/mingw-w64-x86_64.cmake"

# The source versions: those of the desktop build's Debian packages.
glfw_version="$(source_version libglfw3-dev)"
glew_version="$(source_version libglew-dev)"
assimp_version="$(source_version libassimp-dev)"
zlib_version="$(source_version zlib1g-dev)"
[[ -n $glfw_version && -n $glew_version && -n $assimp_version && -n $zlib_version ]] ||
    fail "cannot tell which versions of GLFW, GLEW, Assimp and zlib to build"

stamp="$prefix/build-windows-deps.stamp"
recipe="glfw3 $glfw_version
glew $glew_version
assimp $assimp_version
zlib $zlib_version
script $(sha256sum "${BASH_SOURCE[0]}" "$root/scripts/deps-common.sh" "$toolchain" |
    cut -d' ' -f1 | tr '\n' ' ')"
libraries=(lib/libglfw3.a lib/libglew32.a lib/libassimp.a lib/libminizip.a
           include/GLFW/glfw3.h include/GL/glew.h include/assimp/Importer.hpp)
up_to_date() {
    [[ -f $stamp && "$(cat "$stamp")" == "$recipe" ]] || return 1
    local file
    for file in "${libraries[@]}"; do
        [[ -f $prefix/$file ]] || return 1
    done
}
if up_to_date; then
    exit 0
fi

downloads="$work/downloads"
build="$work/build"
logs="$work/logs"
rm -f "$stamp"
rm -rf "$build" "$logs"
mkdir -p "$downloads" "$build" "$logs"
log "sources of GLFW $glfw_version, GLEW $glew_version, Assimp $assimp_version, zlib $zlib_version"
"$root/scripts/fetch-debian-sources.sh" "$downloads" "$logs/apt.log" glfw3 "$glfw_version" \
    glew "$glew_version" assimp "$assimp_version" zlib "$zlib_version" ||
    fail "could not download the sources"
dsc_of() { echo "$downloads/${1}_${2#*:}.dsc"; }
for package in glfw3:$glfw_version glew:$glew_version zlib:$zlib_version; do
    name="${package%%:*}"
    run_logged unpack dpkg-source -x "$(dsc_of "$name" "${package#*:}")" "$build/$name"
done
unpack_assimp_for_obj "$(dsc_of assimp "$assimp_version")" "$build/assimp"
utf8cpp_include="$(utf8cpp_include "$downloads" "$build/utf8cpp")"

rm -rf "$prefix/include" "$prefix/lib"
mkdir -p "$prefix/include/minizip" "$prefix/lib"
cmake_cross=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix"
             -DBUILD_SHARED_LIBS=OFF)

log "building GLFW"
run_logged glfw cmake -S "$build/glfw3" -B "$build/glfw-build" "${cmake_cross[@]}" \
    -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
run_logged glfw cmake --build "$build/glfw-build" -j "$jobs"
run_logged glfw cmake --install "$build/glfw-build"

log "building GLEW"
run_logged glew cmake -S "$build/glew/build/cmake" -B "$build/glew-build" "${cmake_cross[@]}" \
    -DBUILD_UTILS=OFF -DGLEW_REGAL=OFF -DGLEW_OSMESA=OFF
run_logged glew cmake --build "$build/glew-build" -j "$jobs" --target glew_s
cp "$build/glew-build/lib/libglew32.a" "$prefix/lib/"
mkdir -p "$prefix/include/GL"
cp "$build/glew/include/GL/"*.h "$prefix/include/GL/"

# minizip: only its unzip part, which is all Assimp uses.
log "building minizip"
minizip_src="$build/zlib/contrib/minizip"
(cd "$minizip_src" && for part in ioapi unzip; do
    run_logged minizip x86_64-w64-mingw32-gcc-posix -O2 -c "$part.c" -o "$part.o"
done)
(cd "$minizip_src" && run_logged minizip x86_64-w64-mingw32-ar rcs "$prefix/lib/libminizip.a" \
    ioapi.o unzip.o)
cp "$minizip_src/unzip.h" "$minizip_src/ioapi.h" "$prefix/include/minizip/"
mkdir -p "$prefix/lib/pkgconfig"
cat >"$prefix/lib/pkgconfig/minizip.pc" <<EOF
prefix=$prefix
Name: minizip
Description: minizip's unzip (mingw-w64)
Version: 1
Libs: -L\${prefix}/lib -lminizip -lz
Cflags: -I\${prefix}/include/minizip
EOF

log "building Assimp (about two minutes)"
run_logged assimp env PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH= \
    cmake -S "$build/assimp" -B "$build/assimp-build" "${cmake_cross[@]}" \
    -DCMAKE_CXX_FLAGS="-I$utf8cpp_include" \
    -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_OBJ_IMPORTER=ON \
    -DASSIMP_NO_EXPORT=ON -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
    -DASSIMP_BUILD_SAMPLES=OFF -DASSIMP_BUILD_DOCS=OFF -DASSIMP_BUILD_DRACO=OFF \
    -DASSIMP_BUILD_ZLIB=OFF -DASSIMP_WARNINGS_AS_ERRORS=OFF -DASSIMP_INJECT_DEBUG_POSTFIX=OFF \
    -DASSIMP_IGNORE_GIT_HASH=ON -DASSIMP_INSTALL=ON -DASSIMP_LIB_INSTALL_DIR=lib \
    -DASSIMP_INCLUDE_INSTALL_DIR=include -DASSIMP_BIN_INSTALL_DIR=bin
grep -q '^UNZIP_FOUND:INTERNAL=1' "$build/assimp-build/CMakeCache.txt" ||
    fail "Assimp's configuration did not find minizip (see $logs/assimp.log)"
run_logged assimp cmake --build "$build/assimp-build" -j "$jobs"
run_logged assimp cmake --install "$build/assimp-build"

for file in "${libraries[@]}"; do
    [[ -f $prefix/$file ]] || fail "$prefix/$file was not installed"
done
rm -rf "$build"
echo "$recipe" >"$stamp"
log "done: $prefix"
