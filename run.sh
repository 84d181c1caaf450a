#!/usr/bin/env bash
# Installs what is missing, builds, and starts the demo from the repository root. Without a
# display, renders the demo's scripted flight off-screen instead and says where the pictures are.
set -euo pipefail
cd "$(dirname "$0")"

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    scripts/install-deps.sh run
    scripts/build.sh
    exec build/quiverfall
fi

echo "No display found: rendering the demo's camera flight off-screen instead."
scripts/install-deps.sh headless
scripts/build.sh
output=out/capture
xvfb-run -a -s "-screen 0 1600x900x24" build/tools/capture/quiverfall-capture --dt 0.0667 --out "$output"
echo "Frames of the flight and the volley: $output/frame_*.png"
echo "Contact sheet: $output/contact_sheet.png"
