#!/usr/bin/env bash
# Builds Korvel's site and serves it on this machine's localhost, a secure context where the
# browser offers Web MIDI. Ctrl-C ends it. Usage: scripts/serve-web.sh [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-8080}
scripts/web-build.sh build-web --site-only
echo "Korvel is served at http://localhost:$port/ (open it in Chrome or Edge; Ctrl-C ends it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
