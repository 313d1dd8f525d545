// An output port on JACK of Korvel's own, below RtMidi. RtMidi 5.0 frees a JACK output's buffer
// while a process cycle that began before the port closed may still read it; this port stops
// the client first, which JACK returns from only once no cycle runs any more, and frees its
// buffer after that.
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

// A JACK client named `client` with one output port named `portName`, connected to
// `destination` unless that is empty (a port of Korvel's own that others connect to). The reason
// when JACK refuses.
OutputOpening OpenJackOutput(const std::string& client, const std::string& portName,
                             const std::string& destination);

}  // namespace korvel::midi
