// An input port on ALSA's sequencer read below RtMidi's SysEx assembly. ALSA delivers a long
// SysEx message as a run of pieces; RtMidi joins them and hands the message over only once its
// F7 has come, so a receive's idle end would see silence while the message is still arriving.
// This port passes on each piece as it comes.
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

// A sequencer client named `client` with one input port named `portName`, subscribed to the
// listed port `source` ("W2:W2 MIDI 1 24:0") unless that is empty (a port of Korvel's own that
// others connect to). The reason when ALSA refuses.
InputOpening OpenAlsaInput(const std::string& client, const std::string& portName,
                           const std::string& source);

}  // namespace korvel::midi
