// The system's ports through RtMidi, on one of its APIs: the Windows Multimedia API, Core MIDI,
// and the listing and outputs of the ALSA and JACK systems. Every RtMidi error is caught here and
// comes back as a result; nothing above sees an exception, and the library's own complaints are
// kept off the user's terminal.
#pragma once

#include "midi_port.h"

#include <RtMidi.h>

#include <optional>
#include <string>

namespace korvel::midi {

class RtMidiSystem : public MidiSystem {
  public:
    // `clientName` is how Korvel's ports are grouped where the API shows it ("Korvel"); with no
    // API (none compiled in answered) the system has no ports.
    RtMidiSystem(std::string clientName, std::optional<RtMidi::Api> api);

    MidiPortList ListPorts() override;
    InputOpening OpenInput(const std::string& port) override;
    OutputOpening OpenOutput(const std::string& port) override;
    InputOpening OpenOwnInput(const std::string& name) override;
    OutputOpening OpenOwnOutput(const std::string& name) override;

  private:
    std::string clientName_;
    std::optional<RtMidi::Api> api_;
};

// The API the system's MIDI goes through: of those compiled in, the first that has ports, else
// the first that answers at all; nothing when none does.
std::optional<RtMidi::Api> ChooseRtMidiApi(const std::string& clientName);

}  // namespace korvel::midi
