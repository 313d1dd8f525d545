// What the receive and send sessions need of MIDI: ports that deliver received bytes and send one
// message. The RtMidi backend implements them for the system's ports; tests fake them.
#pragma once

#include "result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace korvel::midi {

// What the MIDI dialogs and korvel-cli say when the system offers no port at all.
inline constexpr const char* kNoPortsText = "No MIDI ports found";

// The reason a port gives when another program has it open (Windows' ports are exclusive).
inline constexpr const char* kPortInUseReason = "in use by another program";

// What the window and korvel-cli say when a port does not open: "PORT cannot be opened: REASON",
// or "PORT is in use by another program".
std::string CannotOpenText(const std::string& port, const std::string& reason);

class MidiInput {
  public:
    virtual ~MidiInput() = default;
    // Appends the bytes that arrived since the last call, in order. The port may receive on a
    // thread of its own; this takes what it has under its own lock.
    virtual void TakeBytes(std::vector<std::uint8_t>& into) = 0;
    // True once the system dropped input it had no room for (the ALSA sequencer's overrun, a
    // full JACK ring); what came before and after is still delivered.
    virtual bool HasLostInput() const { return false; }
    // Why the port stopped delivering (its server went away); empty while it works.
    virtual std::string Broken() const { return {}; }
};

class MidiOutput {
  public:
    virtual ~MidiOutput() = default;
    // The longest message the backend carries in one piece.
    virtual std::size_t MaxMessageLength() const = 0;
    // Sends one complete message.
    virtual Outcome Send(std::span<const std::uint8_t> message) = 0;
    // True once every message given to Send has left the port, so that closing it loses none.
    virtual bool HasDelivered() const { return true; }
    // Why the port stopped carrying messages (its server went away); empty while it works.
    virtual std::string Broken() const { return {}; }
};

struct MidiPortList {
    std::string api;  // the backend in use, as "JACK" or "ALSA"; empty when there is none
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
};

// An open port, or the reason it would not open.
using InputOpening = Result<std::unique_ptr<MidiInput>>;
using OutputOpening = Result<std::unique_ptr<MidiOutput>>;

class MidiSystem {
  public:
    virtual ~MidiSystem() = default;
    virtual MidiPortList ListPorts() = 0;
    // Opens the port of that exact name.
    virtual InputOpening OpenInput(const std::string& port) = 0;
    virtual OutputOpening OpenOutput(const std::string& port) = 0;
    // A port of Korvel's own, named `name`, that other programs connect to (JACK, ALSA and
    // CoreMIDI; not Windows).
    virtual InputOpening OpenOwnInput(const std::string& name) = 0;
    virtual OutputOpening OpenOwnOutput(const std::string& name) = 0;
};

}  // namespace korvel::midi
