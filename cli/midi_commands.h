// korvel-cli's MIDI commands: list the ports, send a dump to the W2, receive one from it.
#pragma once

#include "port_match.h"

#include "commands.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

int Ports(const Options& options, Streams streams);
int Send(const Options& options, Streams streams);
int Receive(const Options& options, Streams streams);
// Receives what the W2 holds and checks it against the dump that was sent to it.
int Verify(const Options& options, Streams streams);

// The port a --port argument names: its number in the list (from 1), or a name as the MIDI
// layer's matcher finds it.
midi::PortMatch ResolvePort(const std::vector<std::string>& names, const std::string& wanted);

}  // namespace korvel::cli
