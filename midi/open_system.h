// The system's MIDI, as the window, korvel-cli and the browser face use it: one definition for
// the desktops (midi/rtmidi/open_system.cpp), one for the browser (ui/web/web_midi.cpp).
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

// Korvel's ports grouped under `clientName`, on the API the system answers on: raw JACK or ALSA
// where they are, RtMidi's own ports elsewhere, Web MIDI in the browser.
std::unique_ptr<MidiSystem> OpenSystem(const std::string& clientName);

}  // namespace korvel::midi
