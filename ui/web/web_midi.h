// Web MIDI behind the MIDI layer's ports: the browser's inputs and outputs by name, a queue of
// received bytes that the receive polls, and output.send for each message. The browser makes
// no ports of its own for other programs.
#pragma once

#include "midi_port.h"

#include <string>

namespace korvel::web {

class WebMidiSystem : public midi::MidiSystem {
  public:
    // Asks the browser for its MIDI ports with System Exclusive the first time: "" once it
    // gave them, otherwise what to tell the musician.
    std::string EnsureAccess();

    midi::MidiPortList ListPorts() override;
    midi::InputOpening OpenInput(const std::string& port) override;
    midi::OutputOpening OpenOutput(const std::string& port) override;
    midi::InputOpening OpenOwnInput(const std::string& name) override;
    midi::OutputOpening OpenOwnOutput(const std::string& name) override;

  private:
    bool granted_ = false;
};

// What the MIDI commands say where the browser has no Web MIDI, and where it was refused.
inline constexpr const char* kNoWebMidiText =
    "This browser has no Web MIDI, so Korvel cannot talk to the W2 here. Chrome and Edge have "
    "it (on macOS, ChromeOS, Windows and Linux), and Firefox with the MIDI add-on it offers; "
    "Safari has none.\n\nOpening, editing, comparing and saving dumps work here as they are.";
inline constexpr const char* kMidiRefusedText =
    "The browser did not let Korvel use MIDI devices, so it cannot talk to the W2. Allow MIDI "
    "devices (with System Exclusive messages) for this site in the browser's site settings, "
    "then try again.\n\nOpening, editing, comparing and saving dumps work here as they are.";

}  // namespace korvel::web
