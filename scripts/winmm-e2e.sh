#!/usr/bin/env bash
# Windows MIDI for real: korvel-cli.exe and korvel.exe of the Windows build run under Wine in a
# QEMU guest with the ALSA sequencer's virtual MIDI ports (scripts/vm-run.sh), where Wine's
# WinMM carries their bytes. The Wine prefix is made on this machine, where wineboot is fast;
# the guest writes into it over 9p. Usage: scripts/winmm-e2e.sh LINUX_BUILD [WINDOWS_STAGE]
# (the stage is the folder windows-test.sh installs, by default build-windows/Korvel).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
stage=$(cd "${2:-build-windows/Korvel}" && pwd)
scripts/install-deps.sh wine wine64 xvfb xauth xdotool
out="$build/winmm-e2e"
rm -rf "$out"
mkdir -p "$out"

started=$(date +%s)
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEARCH=win64 LANG=C.UTF-8 LC_ALL=C.UTF-8
DISPLAY='' wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
# The window sends to the port the set-up names, without a pause between messages.
appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local"
mkdir -p "$appdata"
printf '[MIDI]\r\nOutput Port=VirMIDI 0-1\r\nMessage Pause=0\r\n' >"$appdata/korvel.INI"
echo "time: the prefix on this machine: $(($(date +%s) - started)) s"
cp -r "$stage" "$out/Korvel"

status=0
KORVEL_VM_MEMORY=2048 KORVEL_VM_SECONDS=1500 scripts/vm-run.sh "$out" \
  scripts/winmm-e2e-guest.sh "$out/Korvel" "$out" "$build/tests/korvel_make_dump" || status=$?
echo "The Windows MIDI run took $(($(date +%s) - started)) s"
exit "$status"
