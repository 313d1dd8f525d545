// The system's MIDI ports through RtMidi: the only code that includes it. Every RtMidi error is
// caught here and comes back as a result; nothing above sees an exception, and the libraries'
// own complaints are kept off the user's terminal.
#pragma once

#include "midi_port.h"

#include <memory>
#include <string>

namespace korvel::midi {

class RtMidiSystem : public MidiSystem {
  public:
    // `clientName` is how Korvel's ports are grouped where the backend shows it ("Korvel").
    explicit RtMidiSystem(std::string clientName);
    ~RtMidiSystem() override;

    MidiPortList ListPorts() override;
    InputOpening OpenInput(const std::string& port) override;
    OutputOpening OpenOutput(const std::string& port) override;
    InputOpening OpenOwnInput(const std::string& name) override;
    OutputOpening OpenOwnOutput(const std::string& name) override;

    struct Backend;

  private:
    std::string clientName_;
    std::unique_ptr<Backend> backend_;
};

// The system's MIDI, as the window and korvel-cli use it: Korvel's ports grouped under
// `clientName`.
std::unique_ptr<MidiSystem> OpenSystem(const std::string& clientName);

}  // namespace korvel::midi
