#!/usr/bin/env bash
# The browser suite: builds the browser version (build-web/), serves it on a free local port as
# `./run.sh --web` does, and runs the page's tests (tests/web/*.test.js) in Debian's headless
# Chromium with software WebGL2, driven by puppeteer-core from npm (no browser of its own is
# downloaded).
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh web-test
scripts/build-web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
PORT="$port" ./run.sh --web >/dev/null 2>&1 &
server=$!
trap 'kill "$server"' EXIT
python3 - "$port" <<'PY'
import socket, sys, time
for _ in range(600):
    try:
        socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=1).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
sys.exit("the local web server did not start")
PY
QUIVERFALL_WEB_URL="http://127.0.0.1:$port/" node --test tests/web/
