#!/usr/bin/env bash
# Korvel's ALSA sequencer input and output, tested for real: this machine has no sound devices,
# so scripts/alsa-e2e-guest.sh runs in a QEMU guest with the ALSA sequencer's virtual MIDI
# ports (scripts/vm-run.sh). Usage: scripts/alsa-e2e.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
out="$build/alsa-e2e"
rm -rf "$out"
mkdir -p "$out"
started=$(date +%s)
status=0
scripts/vm-run.sh "$out" scripts/alsa-e2e-guest.sh "$build" "$out" || status=$?
echo "The ALSA run took $(($(date +%s) - started)) s in the guest"
exit "$status"
