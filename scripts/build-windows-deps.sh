#!/usr/bin/env bash
# Builds the third-party libraries of the Windows build with Debian's mingw-w64: GLFW, GLEW (with
# GLEW_STATIC) and Assimp with only its OBJ importer, plus the minizip (unzip) Assimp needs, as
# static libraries. They are built from Debian's own source packages, of the same versions as
# the desktop build's -dev packages; zlib is Debian's libz-mingw-w64-dev. Everything is installed
# into one prefix (include/, lib/; default build-windows/deps) with a stamp: a rerun with
# everything in place does nothing. Sources and logs are kept in PREFIX/work.
# Usage: scripts/build-windows-deps.sh [PREFIX]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
prefix="${1:-$root/build-windows/deps}"
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
work="$prefix/work"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
# At most two compile jobs: the machines that run this are small and shared.
jobs=$(($(nproc) < 2 ? $(nproc) : 2))

log() { echo "build-windows-deps: $*"; }
fail() { echo "build-windows-deps: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

"$root/scripts/install-deps.sh" windows

# The source versions: those of the desktop build's Debian packages (installed or, when not,
# apt's candidates).
source_version() {
    if installed "$1"; then
        dpkg-query -W -f='${source:Version}' "$1"
        return
    fi
    apt-cache show --no-all-versions "$1" | awk '
        /^Version:/ { version = $2 }
        /^Source:/ && $3 != "" { source = $3; gsub(/[()]/, "", source) }
        END { print (source != "" ? source : version) }'
}
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
script $(sha256sum "${BASH_SOURCE[0]}" "$toolchain" | cut -d' ' -f1 | tr '\n' ' ')"
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
run_logged() {
    local name="$1"
    shift
    if ! "$@" >>"$logs/$name.log" 2>&1; then
        tail -n 40 "$logs/$name.log" >&2
        fail "failed: $* (whole log: $logs/$name.log)"
    fi
}

log "sources of GLFW $glfw_version, GLEW $glew_version, Assimp $assimp_version, zlib $zlib_version"
"$root/scripts/fetch-debian-sources.sh" "$downloads" "$logs/apt.log" glfw3 "$glfw_version" \
    glew "$glew_version" assimp "$assimp_version" zlib "$zlib_version" ||
    fail "could not download the sources"
dsc_of() { echo "$downloads/${1}_${2#*:}.dsc"; }
for package in glfw3:$glfw_version glew:$glew_version assimp:$assimp_version zlib:$zlib_version; do
    name="${package%%:*}"
    run_logged unpack dpkg-source -x "$(dsc_of "$name" "${package#*:}")" "$build/$name"
done
# Debian's repack of Assimp drops its bundled utf8cpp: Debian's (header-only) package instead.
utf8cpp_deb="$(find "$downloads" -maxdepth 1 -name 'libutfcpp-dev_*.deb' | head -n 1)"
if [[ -z $utf8cpp_deb ]]; then
    sandbox=()
    [[ $(id -u) -eq 0 ]] && sandbox=(-o APT::Sandbox::User=root)
    (cd "$downloads" && run_logged apt apt-get "${sandbox[@]}" download libutfcpp-dev)
    utf8cpp_deb="$(find "$downloads" -maxdepth 1 -name 'libutfcpp-dev_*.deb' | head -n 1)"
fi
dpkg-deb -x "$utf8cpp_deb" "$build/utf8cpp"
utf8cpp_include="$build/utf8cpp/usr/include/utf8cpp"
# One of Debian's patches makes Assimp require the draco library, which the OBJ importer does not
# use: it is taken back out.
draco_patch=debian/patches/use-system-libdraco.patch
if [[ -f $build/assimp/$draco_patch ]]; then
    (cd "$build/assimp" && run_logged unpack patch -R -p1 -i "$draco_patch")
fi

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
