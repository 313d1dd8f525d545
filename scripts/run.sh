#!/usr/bin/env bash
# Installs what the build needs, builds Korvel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-release
exec ./build-release/ui/qt/korvel "$@"
