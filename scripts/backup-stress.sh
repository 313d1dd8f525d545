#!/usr/bin/env bash
# Repeats the backup before a send over JACK under load, to catch a backup that loses bytes:
# a virtual W2 plays a dump of many short messages into the send's input from the moment a port
# connects to it, while two busy loops keep the cores busy. Not part of the test command; it
# runs for minutes. Usage: scripts/backup-stress.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
cli="$build/cli/korvel-cli"
work=$(mktemp -d)
server="korvel-stress-$$"
export JACK_DEFAULT_SERVER="$server"
jackd -S -r -n "$server" -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jack_pid=$!
busy=()
cleanup() {
  kill "${busy[@]}" "$jack_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
jack_wait -s "$server" -w -t 20 >/dev/null
for _ in 1 2; do
  (while :; do :; done) &
  busy+=($!)
done

# The W2's memory: 481 messages of 12 to 30 bytes, so that a lost message shows in the count.
"$build/tests/korvel_make_dump" "$work/memory.syx" 4 2
"$build/tests/korvel_make_dump" "$work/small.syx" 20
lost=0
for run in $(seq "$runs"); do
  rm -f "$work/backup.syx"
  "$build/tests/midi/jack_piece_sender" "$work/memory.syx" - 64 20 w2out >/dev/null 2>&1 &
  w2=$!
  "$cli" receive "$work/w2-in.syx" --own-port w2in --idle 2000 --wait 60 >/dev/null 2>&1 &
  receiver=$!
  for _ in $(seq 100); do "$cli" ports 2>/dev/null | grep -q ":w2in" && break; sleep 0.1; done
  "$cli" send "$work/small.syx" --port w2 --backup-first "$work/backup.syx" --idle 2000 \
    --wait 60 --pause 0 >"$work/send.log" 2>&1 || true
  wait "$w2" || true
  wait "$receiver" || true
  if cmp -s "$work/memory.syx" "$work/backup.syx"; then
    echo "run $run: whole ($(stat -c %s "$work/backup.syx") bytes)"
  else
    lost=$((lost + 1))
    echo "run $run: kept $(stat -c %s "$work/backup.syx" 2>/dev/null || echo 0) of" \
      "$(stat -c %s "$work/memory.syx") bytes"
    cat "$work/send.log"
  fi
done
echo "$((runs - lost)) passed, $lost failed"
