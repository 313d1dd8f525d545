#!/usr/bin/env bash
# The browser build's tests: the model, MIDI and core suites in WebAssembly under node, then
# the site in Debian's Chromium (headless, driven by playwright-core from npm, a fake Web MIDI
# in the page) checked against korvel-cli of the desktop build, and the browser's benchmarks.
# Screenshots and the benchmarks' figures are kept in build-web/browser.
# Usage: scripts/web-test.sh DESKTOP_BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
desktop=$(cd "${1:-build}" && pwd)
web=build-web

scripts/install-deps.sh chromium
scripts/web-build.sh "$web"
echo "-- The suites in WebAssembly, under node"
(cd "$web" && ctest --output-on-failure -j "$(nproc)" | grep -E "tests passed|Skipped|Failed|\*\*\*")

echo "-- The site in Chromium"
driver="$web/driver"
mkdir -p "$driver"
cp tests/web/package.json tests/web/package-lock.json "$driver/"
(cd "$driver" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
# The site beside a blank page, the benchmarks' baseline from the same server.
serve="$web/serve"
mkdir -p "$serve"
ln -sfn ../site "$serve/site"
printf '<!doctype html>\n<title>blank</title>\n' >"$serve/blank.html"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$serve" >"$web/http.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/blank.html')" \
    2>/dev/null && break
  sleep 0.1
done
# The desktop's Rebuild of a full tree, for the benchmark that compares the two faces.
rebuild=
if [ -x "$desktop/bench/korvel_tree_bench" ]; then
  rebuild=$(QT_QPA_PLATFORM=offscreen "$desktop/bench/korvel_tree_bench" \
    --benchmark_filter='^BM_Rebuild$' 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g' |
    awk '/BM_Rebuild_median/ {print $2}')
fi
rm -rf "$web/browser"
KORVEL_SITE="http://127.0.0.1:$port/site/" KORVEL_BLANK="http://127.0.0.1:$port/blank.html" \
  KORVEL_SITE_DIR="$web/site" KORVEL_CLI="$desktop/cli/korvel-cli" \
  KORVEL_MAKE_DUMP="$desktop/tests/korvel_make_dump" KORVEL_OUT="$web/browser" \
  KORVEL_REBUILD_NS="$rebuild" NODE_PATH="$driver/node_modules" node tests/web/browser_test.cjs
