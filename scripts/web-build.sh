#!/usr/bin/env bash
# Builds Korvel for the browser with Debian's Emscripten, installing what it needs: the site in
# BUILD_DIR/site (korvel.js and korvel.wasm beside the page's own files) and, unless --site-only
# is given, the suites of the model, MIDI and core layers for node.
# Usage: scripts/web-build.sh [BUILD_DIR] [--site-only]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
tests=ON
targets=()
if [ "${2:-}" = --site-only ]; then
  tests=OFF
  targets=(--target korvel_web korvel_site)
fi

scripts/install-deps.sh emscripten binaryen node-acorn googletest python3
command -v npm >/dev/null || scripts/install-deps.sh npm

# pkg-config would find the machine's JACK and ALSA, which the browser has neither of.
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
export PKG_CONFIG_LIBDIR=$empty
# An optimized link runs Emscripten's JavaScript optimizer, which needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_GUI=OFF \
  -DKORVEL_BUILD_TESTS="$tests" -DKORVEL_GTEST_SOURCE=/usr/src/googletest \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch" >/dev/null
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
