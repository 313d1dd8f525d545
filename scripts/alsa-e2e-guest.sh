#!/usr/bin/env bash
# The guest's part of scripts/alsa-e2e.sh: korvel-cli against the ALSA sequencer's virtual MIDI
# ports, each raw device the cable end of its port. Usage: alsa-e2e-guest.sh BUILD_DIR OUT_DIR
set -uo pipefail
build=$1
out=$2
cli="$build/cli/korvel-cli"
# The machine's root is read-only here; the shared result folder is where files go.
export HOME="$out" TMPDIR="$out"
work="$out/work"
mkdir -p "$work"
. "$(dirname "$0")/guest-checks.sh"
paced() {
  python3 "$(dirname "$0")/raw_midi.py" paced "$1" "$2"
}
# Waits until korvel-cli's own port is listed by ALSA.
wait_for_client() {
  for _ in $(seq 200); do
    aconnect -o | grep -q "$1" && return 0
    sleep 0.1
  done
  return 1
}

started=$(date +%s)
# The pause amidi leaves between two messages, in ms.
interval=20
"$build/tests/korvel_make_dump" "$work/sent.syx"
"$build/tests/korvel_make_dump" "$work/long.syx" 20000
check "korvel-cli ports lists the virtual ports" sh -c "'$cli' ports | grep -q 'VirMIDI 0-3'"

"$cli" receive "$work/paced.syx" --port "VirMIDI 0-0" --wait 120 >"$work/log" 2>&1 &
receiver=$!
sleep 2
paced "$work/sent.syx" /dev/snd/midiC0D0
wait "$receiver"
check "a dump written at cable pace in pieces" cmp "$work/sent.syx" "$work/paced.syx"

"$cli" receive "$work/long-in.syx" --port "VirMIDI 0-0" --idle 1500 --wait 120 >"$work/log" 2>&1 &
receiver=$!
sleep 2
paced "$work/long.syx" /dev/snd/midiC0D0
wait "$receiver"
check "a 20,000-byte message in pieces against an idle end of 1.5 s" \
  cmp "$work/long.syx" "$work/long-in.syx"

"$cli" receive "$work/whole.syx" --port "VirMIDI 0-1" --wait 120 >"$work/whole.log" 2>&1 &
receiver=$!
sleep 2
# Message after message, as a W2 sends: under emulation a burst of the whole file at memory
# speed once came back with one message altered (which the receive named by its checksum).
amidi -p hw:0,1 -s "$work/sent.syx" -i "$interval"
wait "$receiver"
check "a whole dump from amidi -s" cmp "$work/sent.syx" "$work/whole.syx"
grep -q "lost" "$work/whole.log" && cat "$work/whole.log"

amidi -p hw:0,2 -r "$work/readback.syx" -t 3 &
reader=$!
sleep 1
"$cli" send "$work/sent.syx" --port "VirMIDI 0-2" --pause 0 >/dev/null
wait "$reader"
check "a send read back with amidi -r" cmp "$work/sent.syx" "$work/readback.syx"

"$cli" verify "$work/sent.syx" --port "VirMIDI 0-3" --idle 1500 --wait 120 >"$work/verify.log" 2>&1 &
verifier=$!
sleep 2
amidi -p hw:0,3 -s "$work/sent.syx" -i "$interval"
check "verify of the dump as sent" wait "$verifier"
# One byte of the last pattern's data changed, its checksum with it.
python3 "$(dirname "$0")/raw_midi.py" alter "$work/sent.syx" "$work/altered.syx"
"$cli" verify "$work/sent.syx" --port "VirMIDI 0-3" --idle 1500 --wait 120 >"$work/verify.log" 2>&1 &
verifier=$!
sleep 2
amidi -p hw:0,3 -s "$work/altered.syx" -i "$interval"
wait "$verifier"
check "verify with one message altered" test $? = 1
check "  names it" grep -q "differs" "$work/verify.log"

"$cli" receive "$work/own.syx" --own-port w2in --wait 120 >"$work/log" 2>&1 &
receiver=$!
wait_for_client w2in
aconnect "Virtual Raw MIDI 0-0:0" "korvel-cli:0"
# At cable pace, as a W2 sends: a burst under emulation can overrun the sequencer's input, which
# the receive then reports, as it did here once.
paced "$work/sent.syx" /dev/snd/midiC0D0
wait "$receiver"
check "--own-port connected with aconnect" cmp "$work/sent.syx" "$work/own.syx"

check "the MIDI system contract on ALSA" env KORVEL_SYSTEM_CONTRACT=ALSA \
  "$build/tests/midi/korvel_midi_contract_tests" --gtest_brief=1

echo "$passed passed, $failed failed in $(($(date +%s) - started)) s"
[ "$failed" = 0 ]
