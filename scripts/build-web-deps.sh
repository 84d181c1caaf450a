#!/usr/bin/env bash
# Builds the third-party libraries of the browser (WebAssembly) build with Debian's emscripten:
# Assimp with only its OBJ importer, and the zlib and minizip (unzip) it needs. They are built from
# Debian's own source packages, of the same versions as the desktop build's libassimp-dev and
# zlib1g, so that the browser imports the models exactly as the desktop does; emscripten's own
# ports (-sUSE_ZLIB...) cannot be used because Debian ships emscripten with a frozen cache.
# Everything is installed into one prefix (include/, lib/; default build-web/deps) with a stamp:
# a rerun with everything in place does nothing. Sources and apt's lists are kept in PREFIX/work.
# PREFIX is a new or empty folder, or one this script made.
# Usage: scripts/build-web-deps.sh [PREFIX]
set -euo pipefail

# shellcheck source=scripts/deps-common.sh
. "$(dirname "${BASH_SOURCE[0]}")/deps-common.sh"
# 1. The prefix, and the tools, installed only when missing.
begin_deps build-web-deps "${1:-$root/build-web/deps}" web
script_path="$root/scripts/$(basename "${BASH_SOURCE[0]}")"
# emscripten 3.1.6's Node tools do not look in Debian's folder of Node modules (acorn...) by
# themselves.
export NODE_PATH=/usr/share/nodejs

# The source versions to build: those of the desktop build's Debian packages.
assimp_version="$(source_version libassimp-dev libassimp5)"
zlib_version="$(source_version zlib1g-dev zlib1g)"
[[ -n $assimp_version && -n $zlib_version ]] || fail "cannot tell which assimp and zlib to build"

stamp="$prefix/build-web-deps.stamp"
recipe="assimp $assimp_version
zlib $zlib_version
script $(sha256sum "$script_path" "$root/scripts/deps-common.sh" | cut -d' ' -f1 | tr '\n' ' ')"

print_usage() {
    cat <<EOF
build-web-deps: Assimp $assimp_version (OBJ importer only), zlib and minizip $zlib_version for wasm:
  include dir: $prefix/include
  lib dir:     $prefix/lib
  compile:     -I$prefix/include
  link:        -L$prefix/lib -lassimp -lminizip -lz -fexceptions
  CMake:       find_package(assimp CONFIG), target assimp::assimp, with
               -DCMAKE_FIND_ROOT_PATH=$prefix (emscripten's toolchain re-roots CMAKE_PREFIX_PATH)
Assimp is compiled with -fexceptions: it throws to report import errors and catches inside
ReadFile. Link with -fexceptions so that libc++'s own exceptions (std::bad_alloc...) are caught too.
EOF
}

up_to_date() {
    [[ -f $stamp && "$(cat "$stamp")" == "$recipe" ]] || return 1
    local file
    for file in lib/libassimp.a lib/libminizip.a lib/libz.a include/assimp/Importer.hpp \
        include/assimp/config.h include/zlib.h include/minizip/unzip.h; do
        [[ -f $prefix/$file ]] || return 1
    done
}

if up_to_date; then
    print_usage
    exit 0
fi

rm -f "$stamp"
downloads="$work/downloads"
build="$work/build"
logs="$work/logs"
mkdir -p "$downloads"
rm -rf "$build" "$logs"
mkdir -p "$build" "$logs"

# 2. Debian's source packages.
if ! "$root/scripts/fetch-debian-sources.sh" "$downloads" "$logs/apt.log" \
    assimp "$assimp_version" zlib "$zlib_version"; then
    fail "could not download the sources of assimp and zlib (log: $logs/apt.log)"
fi
log "sources of assimp $assimp_version and zlib $zlib_version in place"
dsc_of() { echo "$downloads/${1}_${2#*:}.dsc"; }
utf8cpp_include="$(utf8cpp_include "$downloads" "$build/utf8cpp")"

log "unpacking"
run_logged unpack dpkg-source -x "$(dsc_of zlib "$zlib_version")" "$build/zlib"
unpack_assimp_for_obj "$(dsc_of assimp "$assimp_version")" "$build/assimp"

# What an earlier build installed goes.
rm -rf "$prefix/include/assimp" "$prefix/include/minizip" "$prefix/include/zlib.h" \
    "$prefix/include/zconf.h" "$prefix/lib/libassimp.a" "$prefix/lib/libminizip.a" \
    "$prefix/lib/libz.a" "$prefix/lib/pkgconfig/assimp.pc" "$prefix/lib/pkgconfig/zlib.pc" \
    "$prefix/lib/pkgconfig/minizip.pc" "$prefix/lib/cmake/assimp-"*
mkdir -p "$prefix/include/minizip" "$prefix/lib/pkgconfig"

# zlib, compiled directly. Like zlib's configure does, its zconf.h says once and for all that
# unistd.h and stdarg.h exist, so that the library and its users see the same declarations.
log "building zlib"
zlib_src="$build/zlib"
sed -i -e '/^#ifdef HAVE_UNISTD_H.* may be/s/def HAVE_UNISTD_H\(.*\) may be/ 1\1 was/' \
    -e '/^#ifdef HAVE_STDARG_H.* may be/s/def HAVE_STDARG_H\(.*\) may be/ 1\1 was/' \
    "$zlib_src/zconf.h"
[[ $(grep -c '^#if 1 .* was set to #if 1' "$zlib_src/zconf.h") -eq 2 ]] ||
    fail "zconf.h of zlib $zlib_version is not as expected"
c_flags=(-O2 -DHAVE_UNISTD_H)
zlib_objects=(adler32 crc32 deflate infback inffast inflate inftrees trees zutil
              compress uncompr gzclose gzlib gzread gzwrite)
(cd "$zlib_src" && printf '%s\n' "${zlib_objects[@]}" |
    run_logged zlib xargs -P "$jobs" -I{} emcc "${c_flags[@]}" -c {}.c -o {}.o)
(cd "$zlib_src" && run_logged zlib emar rcs "$prefix/lib/libz.a" "${zlib_objects[@]/%/.o}")
cp "$zlib_src/zlib.h" "$zlib_src/zconf.h" "$prefix/include/"
zlib_upstream_version="$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$zlib_src/zlib.h")"
cat >"$prefix/lib/pkgconfig/zlib.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: zlib
Description: zlib compression library (WebAssembly)
Version: $zlib_upstream_version
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
EOF

# minizip: only its unzip part, which is all Assimp uses.
log "building minizip"
minizip_src="$zlib_src/contrib/minizip"
(cd "$minizip_src" && printf '%s\n' ioapi unzip |
    run_logged minizip xargs -P "$jobs" -I{} emcc "${c_flags[@]}" -I"$zlib_src" -c {}.c -o {}.o)
(cd "$minizip_src" && run_logged minizip emar rcs "$prefix/lib/libminizip.a" ioapi.o unzip.o)
cp "$minizip_src/unzip.h" "$minizip_src/ioapi.h" "$prefix/include/minizip/"
cat >"$prefix/lib/pkgconfig/minizip.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: minizip
Description: minizip's unzip (WebAssembly)
Version: $zlib_upstream_version
Requires: zlib
Libs: -L\${libdir} -lminizip
Cflags: -I\${includedir}/minizip
EOF

# 3. Assimp: a static library with the OBJ importer only and no exporters (with
# ASSIMP_NO_EXPORT=ON the ASSIMP_BUILD_*_EXPORTER options do not exist). It finds minizip through
# pkg-config, which must see only the wasm libraries. -fexceptions: Assimp throws to report import
# errors.
log "building assimp (about two minutes)"
assimp_build="$build/assimp-build"
run_logged assimp env PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH= \
    emcmake cmake -S "$build/assimp" -B "$assimp_build" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS="-fexceptions -I$utf8cpp_include" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DASSIMP_LIB_INSTALL_DIR=lib \
    -DASSIMP_INCLUDE_INSTALL_DIR=include \
    -DASSIMP_BIN_INSTALL_DIR=bin \
    -DBUILD_SHARED_LIBS=OFF \
    -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF \
    -DASSIMP_BUILD_OBJ_IMPORTER=ON \
    -DASSIMP_NO_EXPORT=ON \
    -DASSIMP_BUILD_TESTS=OFF \
    -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
    -DASSIMP_BUILD_SAMPLES=OFF \
    -DASSIMP_BUILD_DOCS=OFF \
    -DASSIMP_BUILD_DRACO=OFF \
    -DASSIMP_BUILD_ZLIB=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DASSIMP_WARNINGS_AS_ERRORS=OFF \
    -DASSIMP_INJECT_DEBUG_POSTFIX=OFF \
    -DASSIMP_IGNORE_GIT_HASH=ON \
    -DASSIMP_INSTALL=ON
grep -q '^UNZIP_FOUND:INTERNAL=1' "$assimp_build/CMakeCache.txt" ||
    fail "Assimp's configuration did not find the wasm minizip (see $logs/assimp.log)"
run_logged assimp cmake --build "$assimp_build" -j "$jobs"
run_logged assimp cmake --install "$assimp_build"
# Assimp's exported CMake target and pkg-config file name minizip and zlib without their folder
# (and the pkg-config file forgets minizip): both are pointed at the libraries in the prefix.
targets=("$prefix"/lib/cmake/assimp-*/assimpTargets.cmake)
# shellcheck disable=SC2016 # ${_IMPORT_PREFIX} is CMake's
libraries='${_IMPORT_PREFIX}/lib/libminizip.a;${_IMPORT_PREFIX}/lib/libz.a'
sed -i -e "s|^\( *INTERFACE_LINK_LIBRARIES \).*|\1\"$libraries\"\n  INTERFACE_LINK_OPTIONS \"-fexceptions\"|" \
    "${targets[0]}"
grep -q 'INTERFACE_LINK_OPTIONS "-fexceptions"' "${targets[0]}" ||
    fail "unexpected ${targets[0]}"
sed -i -e 's|^Libs.private:.*|Libs.private: -lminizip -lz -fexceptions|' \
    "$prefix/lib/pkgconfig/assimp.pc"
grep -q '^Libs.private: -lminizip -lz' "$prefix/lib/pkgconfig/assimp.pc" ||
    fail "unexpected $prefix/lib/pkgconfig/assimp.pc"

# 4. Done: the unpacked sources and build trees go, the downloads stay for a rebuild.
for file in lib/libassimp.a lib/libminizip.a lib/libz.a include/assimp/Importer.hpp; do
    [[ -f $prefix/$file ]] || fail "$prefix/$file was not installed"
done
rm -rf "$build"
echo "$recipe" >"$stamp"
print_usage
