#!/usr/bin/env bash
# A dump travels over real MIDI: through a JACK server of this script's own (the dummy backend,
# in user space), from korvel-cli send to korvel-cli receive, with no pause and with the default
# one, the MIDI system's contract, and then out of and into the window's Receive and Send code. Each received file must
# equal the sent one byte for byte. Usage: scripts/midi-e2e.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cli="$build/cli/korvel-cli"
work=$(mktemp -d)
server="korvel-test-$$"
export JACK_DEFAULT_SERVER="$server"

# Synchronous clients: in JACK's default mode a client late for its cycle is skipped and that
# cycle's MIDI events are lost.
jackd -S -r -n "$server" -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jack_pid=$!
receiver_pid=
cleanup() {
  [ -n "$receiver_pid" ] && kill "$receiver_pid" 2>/dev/null || true
  kill "$jack_pid" 2>/dev/null || true
  wait "$jack_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if ! jack_wait -s "$server" -w -t 20 >/dev/null 2>&1; then
  cat "$work/jackd.log" >&2
  echo "The JACK server did not start" >&2
  exit 1
fi

"$build/tests/korvel_make_dump" "$work/sent.syx"
passed=0
failed=0
# Waits until a port of that name is listed, for up to ten seconds.
wait_for_port() {
  for _ in $(seq 100); do
    "$cli" ports 2>/dev/null | grep -q ":$1" && break
    sleep 0.1
  done
}
check() {
  if cmp -s "${3:-$work/sent.syx}" "$2"; then
    echo "ok: $1"
    passed=$((passed + 1))
  else
    echo "FAILED: $1" >&2
    failed=$((failed + 1))
  fi
}

for pause in 0 default; do
  received="$work/received-$pause.syx"
  "$cli" receive "$received" --own-port w2in --idle 3000 --wait 120 >"$work/receive.log" 2>&1 &
  receiver_pid=$!
  wait_for_port w2in
  pause_option=()
  [ "$pause" = default ] || pause_option=(--pause "$pause")
  "$cli" send "$work/sent.syx" --port w2in "${pause_option[@]}"
  wait "$receiver_pid" || { cat "$work/receive.log" >&2; }
  receiver_pid=
  check "korvel-cli send and receive, pause $pause" "$received"
done

# A message that takes seconds to arrive in pieces is never cut by the idle end: 20,000 data
# bytes at a cable's pace (256 bytes every 80 ms) against an idle end of 1.5 s.
"$build/tests/korvel_make_dump" "$work/long.syx" 20000
"$cli" receive "$work/long-got.syx" --own-port longin --idle 1500 --wait 60 >"$work/long.log" 2>&1 &
receiver_pid=$!
wait_for_port longin
"$build/tests/midi/jack_piece_sender" "$work/long.syx" longin 256 80
wait "$receiver_pid" || cat "$work/long.log" >&2
receiver_pid=
check "a long message in pieces, idle end 1.5 s" "$work/long-got.syx" "$work/long.syx"

# A send that backs up the W2 first: the W2's memory (the long message's dump) comes from its
# MIDI Out into the backup file, and only then does the dump go to its MIDI In.
"$cli" receive "$work/w2-in.syx" --own-port w2in --idle 3000 --wait 120 >"$work/w2in.log" 2>&1 &
receiver_pid=$!
wait_for_port w2in
"$build/tests/midi/jack_piece_sender" "$work/long.syx" - 256 80 w2out >"$work/w2out.log" 2>&1 &
memory_pid=$!
wait_for_port out
"$cli" send "$work/sent.syx" --port w2 --backup-first "$work/w2-before.syx" --idle 1500 --wait 60 \
  --pause 0 >"$work/backup-first.log" 2>&1 || cat "$work/backup-first.log" >&2
wait "$memory_pid" || cat "$work/w2out.log" >&2
wait "$receiver_pid" || cat "$work/w2in.log" >&2
receiver_pid=
check "korvel-cli send --backup-first: the W2's memory kept" "$work/w2-before.syx" "$work/long.syx"
check "korvel-cli send --backup-first: then the dump sent" "$work/w2-in.syx"

# Verify: the W2 plays back what it stored; once as it came (all back), once with one data byte
# of the last message changed (that slot differs).
stored="$work/received-0.syx"
altered="$work/altered.syx"
cp "$stored" "$altered"
at=$(($(stat -c %s "$altered") - 3))
byte=$(od -An -tu1 -j "$at" -N1 "$altered" | tr -d ' ')
printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$altered" bs=1 seek="$at" conv=notrunc status=none
verify() {
  local what=$1 played=$2 expected=$3
  "$cli" verify "$work/sent.syx" --own-port w2back --idle 3000 --wait 120 >"$work/verify.log" 2>&1 &
  receiver_pid=$!
  wait_for_port w2back
  "$cli" send "$played" --port w2back --pause 0 >/dev/null
  local code=0
  wait "$receiver_pid" || code=$?
  receiver_pid=
  if [ "$code" = "$expected" ] && { [ "$expected" = 0 ] || grep -q '^B12T08P04 differs$' "$work/verify.log"; }; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    cat "$work/verify.log" >&2
    echo "FAILED: $what (exit $code, expected $expected)" >&2
    failed=$((failed + 1))
  fi
}
verify "korvel-cli verify, all back" "$stored" 0
verify "korvel-cli verify, one message altered" "$altered" 1

# Large periods: JACK takes the last message from the send's ring only in the next cycle, up to
# 170 ms later, and the port must stay open until it has. Each on a server of its own.
for period in 4096 8192; do
  large="$server-$period"
  jackd -S -r -n "$large" -d dummy -r 48000 -p "$period" >"$work/jackd-large.log" 2>&1 &
  large_pid=$!
  if jack_wait -s "$large" -w -t 20 >/dev/null 2>&1; then
    received="$work/received-$period.syx"
    JACK_DEFAULT_SERVER="$large" "$cli" receive "$received" --own-port w2in --idle 3000 \
      --wait 120 >"$work/receive.log" 2>&1 &
    receiver_pid=$!
    JACK_DEFAULT_SERVER="$large" wait_for_port w2in
    JACK_DEFAULT_SERVER="$large" "$cli" send "$work/sent.syx" --port w2in --pause 0 >/dev/null
    wait "$receiver_pid" || cat "$work/receive.log" >&2
    receiver_pid=
    check "korvel-cli send with a period of $period frames" "$received"
  else
    cat "$work/jackd-large.log" >&2
    echo "FAILED: a JACK server with a period of $period frames did not start" >&2
    failed=$((failed + 1))
  fi
  kill "$large_pid" 2>/dev/null || true
  wait "$large_pid" 2>/dev/null || true
done

# A server that goes away during a send: the sender and the receiver both say so and fail.
gone="$server-gone"
jackd -S -r -n "$gone" -d dummy -r 48000 -p 256 >"$work/jackd-gone.log" 2>&1 &
gone_pid=$!
if jack_wait -s "$gone" -w -t 20 >/dev/null 2>&1; then
  JACK_DEFAULT_SERVER="$gone" "$cli" receive "$work/gone-in.syx" --own-port w2in --idle 3000 \
    --wait 120 >"$work/gone-receive.log" 2>&1 &
  receiver_pid=$!
  JACK_DEFAULT_SERVER="$gone" wait_for_port w2in
  JACK_DEFAULT_SERVER="$gone" "$cli" send "$work/sent.syx" --port w2in --pause 60 \
    >"$work/gone-send.log" 2>&1 &
  sender_pid=$!
  sleep 2
  kill -9 "$gone_pid"
  wait "$gone_pid" 2>/dev/null || true
  send_code=0
  receive_code=0
  wait "$sender_pid" || send_code=$?
  wait "$receiver_pid" || receive_code=$?
  receiver_pid=
  if [ "$send_code" != 0 ] && [ "$receive_code" != 0 ] &&
    grep -q "went away" "$work/gone-send.log" && grep -q "went away" "$work/gone-receive.log" &&
    [ -s "$work/gone-in.syx" ]; then
    echo "ok: a JACK server killed during a send is said at both ends"
    passed=$((passed + 1))
  else
    cat "$work/gone-send.log" "$work/gone-receive.log" >&2
    echo "FAILED: a JACK server killed during a send (send $send_code, receive $receive_code)" >&2
    failed=$((failed + 1))
  fi
else
  cat "$work/jackd-gone.log" >&2
  echo "FAILED: a JACK server for the killed send did not start" >&2
  failed=$((failed + 1))
fi

# The contract the sessions rely on, kept by the JACK system as by the tests' fake.
if KORVEL_SYSTEM_CONTRACT=Jack "$build/tests/midi/korvel_midi_contract_tests" >"$work/contract.log" 2>&1; then
  echo "ok: the MIDI system contract on JACK"
  passed=$((passed + 1))
else
  cat "$work/contract.log" >&2
  echo "FAILED: the MIDI system contract on JACK" >&2
  failed=$((failed + 1))
fi

# The window's Receive and Send, against korvel-cli's own ports on the other side.
if KORVEL_MIDI_CLI="$cli" KORVEL_MIDI_DUMP="$work/sent.syx" QT_QPA_PLATFORM=offscreen \
  "$build/tests/qt/korvel_qt_midi_tests"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
