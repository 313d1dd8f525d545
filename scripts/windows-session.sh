#!/usr/bin/env bash
# A session in Korvel's window as a user has it, under Wine in the caller's virtual display
# (scripts/windows-test.sh sets up Wine and the display): `korvel.exe LEFT RIGHT` opens two dumps
# named outside ASCII, the window's own keys select a track in each tree, copy it across and
# save, and the saved dump and side file must equal what korvel-cli gives for the same copy.
# korvel.INI must land in the Windows user's settings folder and be read by the next start.
# Usage: scripts/windows-session.sh INSTALLED_FOLDER BUILD_FOLDER [LINUX_BUILD]
set -euo pipefail
stage=$1
out=$2
linux_build=${3:-}

work="$out/session"
rm -rf "$work"
mkdir -p "$work/Müll"
wine "$out/build/tests/korvel_make_dump.exe" "$work/left.syx"
wine "$out/build/tests/korvel_make_dump.exe" "$work/right.syx" 150 90
cp "$work/left.syx" "$work/Müll/Bäss Ω.syx"
cp "$work/right.syx" "$work/Müll/right.syx"
settings="$WINEPREFIX/drive_c/users/$USER/AppData/Local/korvel.INI"
rm -f "$settings"

korvel_pid=""
# Started from the dumps' folder, where a first Save offers to save.
start() {
  (cd "$work/Müll" && exec wine "$stage/korvel.exe" "$@") &
  korvel_pid=$!
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Korvel$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  echo "the window did not appear" >&2
  return 1
}
finish() {
  xdotool key --window "$window" Escape
  for _ in $(seq 100); do
    kill -0 "$korvel_pid" 2>/dev/null || { wait "$korvel_pid"; return 0; }
    sleep 0.1
  done
  echo "the window did not close" >&2
  return 1
}
wait_for() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  echo "gave up waiting for: $*; the screen then: $out/window-failed.png" >&2
  import -window root "$out/window-failed.png"
  return 1
}
keys() {
  xdotool key --delay 60 "$@"
  sleep 0.3
}

folder=$(winepath -w "$work/Müll")
start "$folder\\Bäss Ω.syx" "$folder\\right.syx"
xdotool windowfocus --sync "$window" 2>/dev/null || true
eval "$(xdotool getwindowgeometry --shell "$window")"
# The left tree has the focus at start: its first bank's first track.
keys Home Right Down Down
# A click into the right tree gives it the focus; the same track there, then "-->" and Save.
xdotool mousemove $((X + WIDTH * 70 / 100)) $((Y + HEIGHT * 30 / 100)) click 1
sleep 0.3
keys Home Right Down Down ctrl+Right
keys ctrl+s
wait_for xdotool search --onlyvisible --name '^Save$'
sleep 0.5
keys End shift+Home  # the proposed name, replaced by what is typed
xdotool type --delay 60 "saved.syx"
keys Return
wait_for test -s "$work/Müll/saved.bnl"
sleep 0.5
import -window root "$out/window.png"
finish

test -f "$settings" || { echo "korvel.INI is not in the user's settings folder" >&2; exit 1; }
grep -q "Müll/saved.syx" "$settings"
# The next start reads the settings: what it writes back still names the dump saved before.
start
sleep 1
finish
grep -q "Müll/saved.syx" "$settings" || { echo "korvel.INI was not read back" >&2; exit 1; }

if [ -n "$linux_build" ]; then
  "$linux_build/cli/korvel-cli" copy "$work/left.syx" B01T01 "$work/right.syx" B01T01 \
    -o "$work/expected.syx"
  cmp "$work/Müll/saved.syx" "$work/expected.syx"
  cmp "$work/Müll/saved.bnl" "$work/expected.bnl"
fi
echo "The window's session passed; its screenshot is $out/window.png"
