// korvel-cli's MIDI commands: list the ports, send a dump to the W2, receive one from it.
#pragma once

#include "commands.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

int Ports(const Options& options, Streams streams);
int Send(const Options& options, Streams streams);
int Receive(const Options& options, Streams streams);

struct PortMatch {
    std::optional<std::string> name;
    std::string problem;  // when none matched, or more than one
};

// The port a --port argument names: its number in the list (from 1), its whole name, or a part
// of a name that no other name has.
PortMatch ResolvePort(const std::vector<std::string>& names, const std::string& wanted);

}  // namespace korvel::cli
