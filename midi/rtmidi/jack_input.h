// An input port on JACK read below RtMidi's SysEx assembly. RtMidi hands over a SysEx message
// only once its F7 has come, so a long message arriving in pieces looks like silence until it
// is whole; this port passes on every event as JACK delivers it, and a receive's idle end sees
// bytes flowing.
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

// A JACK client named `client` with one input port named `portName`, connected from `source`
// unless that is empty (a port of Korvel's own that others connect to). The reason when
// JACK refuses.
InputOpening OpenJackInput(const std::string& client, const std::string& portName,
                           const std::string& source);

}  // namespace korvel::midi
