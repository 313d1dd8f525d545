// MIDI on ALSA's sequencer: ports listed and outputs opened through RtMidi, inputs read below
// its SysEx assembly (alsa_input.h), so that a long message is seen arriving piece by piece.
#pragma once

#include "rtmidi_system.h"

#include <string>

namespace korvel::midi {

class AlsaSystem : public MidiSystem {
  public:
    explicit AlsaSystem(std::string clientName);

    MidiPortList ListPorts() override { return rtmidi_.ListPorts(); }
    InputOpening OpenInput(const std::string& port) override;
    OutputOpening OpenOutput(const std::string& port) override { return rtmidi_.OpenOutput(port); }
    InputOpening OpenOwnInput(const std::string& name) override;
    OutputOpening OpenOwnOutput(const std::string& name) override {
        return rtmidi_.OpenOwnOutput(name);
    }

  private:
    std::string clientName_;
    RtMidiSystem rtmidi_;
};

// Keeps ALSA's own messages off the user's terminal.
void SilenceAlsa();

}  // namespace korvel::midi
