// The system's MIDI, as the window and korvel-cli use it.
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

// Korvel's ports grouped under `clientName`, on the API the system answers on: raw JACK or ALSA
// where they are, RtMidi's own ports elsewhere.
std::unique_ptr<MidiSystem> OpenSystem(const std::string& clientName);

}  // namespace korvel::midi
