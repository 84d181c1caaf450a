#!/usr/bin/env bash
# Installs what is missing, builds, and starts the demo from the repository root.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: Quiverfall needs a desktop session to open its window." >&2
    exit 1
fi
exec build/quiverfall
