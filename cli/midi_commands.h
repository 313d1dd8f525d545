// korvel-cli's MIDI commands: list the ports, send a dump to the W2, receive one from it.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "port_match.h"

#include "commands.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

// A MIDI system and the time for the MIDI commands: a test's fake ports, its clock, and how to
// wait on it (moving it on), so that the commands run in-process without waiting.
struct MidiWorld {
    midi::MidiSystem& system;
    midi::Clock& clock;
    std::function<void(midi::Instant)> waitUntil;
};

int Ports(const Options& options, Streams streams);
int Send(const Options& options, Streams streams);
int Receive(const Options& options, Streams streams);
// Receives what the W2 holds and checks it against the dump that was sent to it.
int Verify(const Options& options, Streams streams);

// The port a --port argument names: its number in the list (from 1), or a name as the MIDI
// layer's matcher finds it.
midi::PortMatch ResolvePort(const std::vector<std::string>& names, const std::string& wanted);

}  // namespace korvel::cli
