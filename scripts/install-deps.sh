#!/usr/bin/env bash
# Installs the Debian packages Quiverfall needs, only those that are missing, for one or more
# profiles at once (one apt-get run); "test" holds every other profile's packages.
# Usage: scripts/install-deps.sh [run|headless|web|web-test|windows|windows-test|test]...
# ./test.sh installs the test profile once and exports QUIVERFALL_DEPS_INSTALLED=1: with it set,
# this script does nothing, so the builds and suites that test.sh starts skip their own check.
set -euo pipefail
if [[ -n ${QUIVERFALL_DEPS_INSTALLED:-} ]]; then
    exit 0
fi

build_packages=(cmake make g++ pkg-config libglfw3-dev libglew-dev libglm-dev libassimp-dev
                libfreeimage-dev libx11-dev libgl1-mesa-dri)
virtual_display_packages=(xvfb xauth)
# Without a display the demo is recorded as a video, which ffmpeg encodes; the tests read the
# videos back with its ffprobe.
video_packages=(ffmpeg)
# The browser build: Debian's emscripten, what scripts/build-web-deps.sh needs to fetch and build
# Assimp's source package, the header-only libraries, and Python's web server.
web_packages=(emscripten dpkg-dev cmake make pkgconf patch xz-utils bzip2 libglm-dev libstb-dev
              python3)
# The browser suite: headless Chromium, and Node.js for puppeteer. Node.js from elsewhere
# (NodeSource, nvm) brings its own npm; Debian's would replace it.
browser_test_packages=(chromium-headless-shell)
if ! command -v npm >/dev/null 2>&1; then
    browser_test_packages+=(nodejs npm)
fi
# The Windows build: Debian's mingw-w64 cross-compiler (its -posix variant has std::thread), its
# zlib, what scripts/build-windows-deps.sh needs to fetch and build GLFW, GLEW and Assimp from
# Debian's source packages, the header-only libraries, and zip for the package.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
                  cmake make dpkg-dev patch xz-utils bzip2 libglm-dev libstb-dev zip unzip)
# The Windows program's tests: Wine runs it on the virtual X server.
windows_test_packages=(wine wine64 xvfb xauth xdotool)
# glslang-tools: the reference compiler the tests check the shaders' browser form with.
test_packages=(libgtest-dev xdotool clang-format glslang-tools)

packages=()
for profile in "${@:-run}"; do
    case "$profile" in
        run) packages+=("${build_packages[@]}") ;;
        headless) packages+=("${build_packages[@]}" "${virtual_display_packages[@]}"
                             "${video_packages[@]}") ;;
        web) packages+=("${web_packages[@]}") ;;
        web-test) packages+=("${web_packages[@]}" "${browser_test_packages[@]}") ;;
        windows) packages+=("${windows_packages[@]}") ;;
        windows-test) packages+=("${windows_packages[@]}" "${windows_test_packages[@]}") ;;
        test) packages+=("${build_packages[@]}" "${virtual_display_packages[@]}"
                         "${video_packages[@]}" "${test_packages[@]}" "${web_packages[@]}"
                         "${browser_test_packages[@]}" "${windows_packages[@]}"
                         "${windows_test_packages[@]}") ;;
        *) echo "usage: $0 [run|headless|web|web-test|windows|windows-test|test]..." >&2; exit 2 ;;
    esac
done

# Profiles share packages: each is checked, and named to apt, once.
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
    echo "Quiverfall needs these Debian packages (or your system's equivalents): ${missing[*]}" >&2
    exit 1
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Quiverfall needs these Debian packages: ${missing[*]}" >&2
        echo "Install them as root, then run this again:" >&2
        echo "    apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    # sudo starts from a clean environment: the setting goes on its command line instead.
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
# apt's output is kept and shown only when a step fails, with the reason it gives.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run_apt() {
    if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@" >"$log" 2>&1; then
        echo "apt-get $1 failed:" >&2
        cat "$log" >&2
        exit 1
    fi
}
run_apt update -qq
run_apt install -y -qq --no-install-recommends "${missing[@]}"
