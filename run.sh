#!/usr/bin/env bash
# Installs what is missing, builds, and starts the demo from the repository root. Without a
# display, records the whole demo off-screen instead (a video, stills and a contact sheet) and says
# where they are. With --web, builds the browser version into build-web/ and serves its page
# folder, build-web/site/, on http://127.0.0.1:8080 (PORT in the environment picks another port)
# until stopped. With --windows, cross-builds the Windows program and writes
# dist/quiverfall-windows-x64.zip; with a display and Wine, it then starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == "--web" ]]; then
    scripts/build-web.sh
    # The server says the page's address once it listens.
    exec scripts/serve-web.py build-web/site "${PORT:-8080}"
elif [[ "${1:-}" == "--windows" ]]; then
    scripts/build-windows.sh
    if [[ -n "${DISPLAY:-}" ]] && command -v wine >/dev/null 2>&1; then
        folder=build-windows/unpacked
        rm -rf "$folder"
        mkdir -p "$folder"
        (cd "$folder" && unzip -q ../../dist/quiverfall-windows-x64.zip)
        cd "$folder"
        WINEDLLOVERRIDES="mscoree,mshtml=" exec wine quiverfall.exe
    fi
    exit 0
elif [[ $# -ne 0 ]]; then
    echo "usage: $0 [--web|--windows]" >&2
    exit 2
fi

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    scripts/install-deps.sh run
    scripts/build.sh
    exec build/quiverfall
fi

echo "No display found: recording the demo off-screen as a video instead."
scripts/install-deps.sh headless
scripts/build.sh
# 15 frames a second of demo time: a machine without a display renders with software GL, about
# 0.3 s a frame on two cores, so the whole run (about 570 frames) takes under four minutes. With
# a GPU, quiverfall-capture --fps 30 or 60 gives a smoother video.
status=0
xvfb-run -a -s "-screen 0 1600x900x24" build/tools/capture/quiverfall-capture --fps 15 \
    --out out/capture --video out/quiverfall.mp4 || status=$?
if [[ -f out/quiverfall.mp4 ]]; then
    echo "Video of the whole run: out/quiverfall.mp4"
fi
echo "Frames of the flight and the volley: out/capture/frame_*.png"
echo "Contact sheet: out/capture/contact_sheet.png"
exit "$status"
