// MIDI on a JACK server: ports listed through RtMidi, and opened as Korvel's own JACK clients
// (jack_input.h, jack_output.h), below RtMidi's SysEx assembly and its buffer handling.
#pragma once

#include "rtmidi_system.h"

#include <string>

namespace korvel::midi {

class JackSystem : public MidiSystem {
  public:
    explicit JackSystem(std::string clientName);

    MidiPortList ListPorts() override { return listing_.ListPorts(); }
    InputOpening OpenInput(const std::string& port) override;
    OutputOpening OpenOutput(const std::string& port) override;
    InputOpening OpenOwnInput(const std::string& name) override;
    OutputOpening OpenOwnOutput(const std::string& name) override;

  private:
    std::string clientName_;
    RtMidiSystem listing_;
};

// Keeps JACK's own messages off the user's terminal.
void SilenceJack();

}  // namespace korvel::midi
