#!/usr/bin/env bash
# The guest's part of scripts/winmm-e2e.sh: korvel-cli.exe and korvel.exe under Wine against the
# ALSA sequencer's virtual MIDI ports through Wine's WinMM, each raw device the cable end of its
# port. Usage: winmm-e2e-guest.sh STAGE OUT_DIR DUMP_MAKER
set -uo pipefail
stage=$1
out=$2
make_dump=$3
here=$(dirname "$0")
work="$out/work"
mkdir -p "$work"
# The prefix was made on the host; Wine's WinMM speaks to the sequencer through winealsa.
export HOME="$out" WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEARCH=win64 LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine maps programs that lie on a 9p share wrongly (the first call jumps into .data): they run
# from the guest's own memory.
cp -r "$stage" /tmp/Korvel
cli=/tmp/Korvel/korvel-cli.exe
. "$here/guest-checks.sh"
started=$(date +%s)
lap=$started
measure() {  # WHAT
  local now
  now=$(date +%s)
  echo "time: $1: $((now - lap)) s"
  lap=$now
}
# Waits until a program has subscribed to the sequencer port "VirMIDI 0-N" (a receive has
# opened it through WinMM).
wait_for_reader() {
  for _ in $(seq 1200); do
    aconnect -l | grep -A3 "'VirMIDI 0-$1" | grep -q "Connecting To" && return 0
    sleep 0.25
  done
  return 1
}
# ALSA's library complains of the card the guest lacks; those lines are left out.
cli() {
  wine "$cli" "$@" 2> >(grep -v '^ALSA lib' >&2)
}

"$make_dump" "$work/sent.syx" 40 20
python3 "$here/raw_midi.py" alter "$work/sent.syx" "$work/altered.syx"
# One server for every program of the run: the first start is slow under emulation.
wineserver -p
measure "preparing"

cli ports >"$work/ports.txt" 2>&1
cat "$work/ports.txt"
check "korvel-cli.exe ports lists the virtual ports as Wine names them" \
  grep -q "VirMIDI 0-3" "$work/ports.txt"
measure "Wine's first start in the guest and ports"

cli receive "$work/received.syx" --port "VirMIDI 0-0" --idle 3000 --wait 600 >"$work/receive.log" 2>&1 &
receiver=$!
wait_for_reader 0
python3 "$here/raw_midi.py" paced "$work/sent.syx" /dev/snd/midiC0D0
wait "$receiver"
check "a dump written at cable pace in pieces arrives whole through receive" \
  cmp "$work/sent.syx" "$work/received.syx"
measure "receive"

python3 "$here/raw_midi.py" record /dev/snd/midiC0D1 "$work/readback.syx" 3 300 >"$work/send-time" &
reader=$!
cli send "$work/sent.syx" --port "VirMIDI 0-1" --pause 0 >"$work/send.log" 2>&1
wait "$reader"
check "send read back byte for byte" cmp "$work/sent.syx" "$work/readback.syx"
# The last message leaves at the end of the cable time of all the ones before it.
last=$(python3 -c "import sys; d = open(sys.argv[1], 'rb').read(); print(len(d) - (len(d) - d.rstrip(b'\xf7').rfind(b'\xf0')))" "$work/sent.syx")
cable=$(python3 -c "print('%.3f' % ($last * 0.00032))")
took=$(cat "$work/send-time")
echo "send: first to last byte $took s, the cable's time $cable s"
check "paced within 10% of the cable's time" \
  python3 -c "import sys; sys.exit(abs($took - $cable) > 0.1 * $cable)"
measure "send"

verify() {  # FILE PORT_NUMBER
  cli verify "$work/sent.syx" --port "VirMIDI 0-$2" --idle 3000 --wait 600 >"$work/verify.log" 2>&1 &
  local verifier=$!
  wait_for_reader "$2"
  python3 "$here/raw_midi.py" paced "$1" "/dev/snd/midiC0D$2"
  wait "$verifier"
}
verify "$work/sent.syx" 2
check "verify exits 0 on the dump as sent" test $? = 0
verify "$work/altered.syx" 2
check "verify exits 1 on one altered message" test $? = 1
check "  and names it" grep -q "differs" "$work/verify.log"
measure "verify, twice"

cli receive "$work/held.syx" --port "VirMIDI 0-3" --idle 3000 --wait 600 >"$work/held.log" 2>&1 &
holder=$!
wait_for_reader 3
# Windows' own drivers are exclusive (MMSYSERR_ALLOCATED: "PORT is in use by another program");
# Wine's WinMM lets a second program open the port too, and both hear what comes.
cli receive "$work/second.syx" --port "VirMIDI 0-3" --idle 3000 --wait 600 >"$work/second.log" 2>&1 &
second=$!
sleep 20
python3 "$here/raw_midi.py" paced "$work/sent.syx" /dev/snd/midiC0D3
wait "$holder"
wait "$second"
echo "a port held by another program: the second program said: $(cat "$work/second.log")"
if grep -q "is in use by another program" "$work/second.log"; then
  check "  which is the words for a port in use" true
else
  check "  Wine's WinMM opens it for both, and both receive the dump whole" \
    sh -c "cmp '$work/sent.syx' '$work/held.syx' && cmp '$work/sent.syx' '$work/second.syx'"
fi
measure "a port in use"

if [ -f /tmp/Korvel/korvel.exe ]; then
  . "$here/winmm-e2e-window.sh"
fi

wineserver -k
echo "$passed passed, $failed failed in $(($(date +%s) - started)) s"
[ "$failed" = 0 ]
