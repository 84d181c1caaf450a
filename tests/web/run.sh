#!/usr/bin/env bash
# The browser suite: builds the browser version (build-web/), serves its page folder on a free
# local port with scripts/serve-web.py (the server `./run.sh --web` starts), and runs the page's
# tests (tests/web/*.test.js) in Debian's headless Chromium with software WebGL2, driven by
# puppeteer-core from npm (no browser of its own is downloaded).
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh web-test
scripts/build-web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

# Port 0: the server takes a free port, and its first line says the page's address once it listens.
exec 3< <(exec scripts/serve-web.py build-web/site 0)
server=$!
trap 'kill "$server"' EXIT
if ! read -r listening <&3; then
    echo "the local web server did not start" >&2
    exit 1
fi
QUIVERFALL_WEB_URL="$(grep -o 'http://[^ ]*' <<<"$listening")" node --test tests/web/
