#!/usr/bin/env python3
"""The cable end of a virtual MIDI port, for the tests in the virtual machine.

raw_midi.py paced FILE DEVICE    writes FILE to a raw MIDI device in pieces of 256 bytes, each
                                 after its cable time, as a W2 sends
raw_midi.py record DEVICE OUT [IDLE] [WAIT]
                                 keeps what a raw MIDI device delivers until IDLE seconds pass
                                 without a byte (or WAIT with none), and prints the seconds from
                                 the first byte to the last
raw_midi.py alter IN OUT         changes one data byte of the last message and its checksum
"""
import os
import select
import sys
import time

CABLE_SECONDS_PER_BYTE = 0.00032


def paced(path, device):
    data = open(path, "rb").read()
    with open(device, "wb", buffering=0) as out:
        for at in range(0, len(data), 256):
            piece = data[at:at + 256]
            out.write(piece)
            time.sleep(len(piece) * CABLE_SECONDS_PER_BYTE)


def record(device, path, idle=3.0, wait=300.0):
    got = bytearray()
    first = last = None
    fd = os.open(device, os.O_RDONLY | os.O_NONBLOCK)
    started = time.monotonic()
    while True:
        limit = idle if got else wait - (time.monotonic() - started)
        ready, _, _ = select.select([fd], [], [], max(limit, 0))
        if not ready:
            break
        piece = os.read(fd, 65536)
        now = time.monotonic()
        first = first or now
        last = now
        got += piece
    os.close(fd)
    open(path, "wb").write(got)
    print("%.3f" % ((last - first) if got else 0))


def alter(source, target):
    data = bytearray(open(source, "rb").read())
    end = len(data) - 1
    data[end - 2] ^= 1
    data[end - 1] ^= 1
    open(target, "wb").write(data)


commands = {"paced": paced, "record": lambda d, p, *rest: record(d, p, *map(float, rest)),
            "alter": alter}
commands[sys.argv[1]](*sys.argv[2:])
