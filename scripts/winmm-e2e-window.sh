# Sourced by winmm-e2e-guest.sh when the stage holds the window: korvel.exe opens the dump, its
# Send button is pressed, the question is answered with the keys (the backup box cleared), and
# what went out is read back from the port's cable end.
display=:5
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done
# Waits for a visible window whose title matches, and prints its number.
window_named() {
  local found
  for _ in $(seq 1200); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)
    [ -n "$found" ] && [ "$found" != "${2:-}" ] && { echo "$found"; return 0; }
    sleep 0.5
  done
  return 1
}
python3 "$here/raw_midi.py" record /dev/snd/midiC0D1 "$work/window.syx" 5 1200 >"$work/window-time" &
window_reader=$!
wine /tmp/Korvel/korvel.exe "$(winepath -w "$work/sent.syx")" >"$work/window.log" 2>&1 &
main=$(window_named '^Korvel$')
sleep 5
measure "the window's start"
# The left pane's Send button, where the window's form puts it.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH * 365 / 1000)) $((Y + HEIGHT * 660 / 1000)) click 1
window_named '^Korvel$' "$main" >/dev/null
sleep 3
import -window root "$work/window-question.png" 2>/dev/null || true
# The question opens on Send; the check box follows it, and Return answers Send.
xdotool key --delay 400 Tab space Return
measure "the window's Send asked"
wait "$window_reader"
import -window root "$work/window-sent.png" 2>/dev/null || true
check "the window's Send, read back byte for byte" cmp "$work/sent.syx" "$work/window.syx"
measure "the window's send"
kill "$xvfb" 2>/dev/null || true
