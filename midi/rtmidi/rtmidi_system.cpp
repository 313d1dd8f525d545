#include "rtmidi_system.h"

#include "midi_limits.h"

#if defined(_WIN32)
#include <windows.h>
#include <mmsystem.h>
#endif

#include <iostream>
#include <limits>
#include <streambuf>
#include <mutex>
#include <type_traits>
#include <optional>
#include <vector>

namespace korvel::midi {

namespace {

// RtMidi reports through this callback instead of printing; the last text is kept as the reason.
void KeepError(RtMidiError::Type, const std::string& text, void* userData) {
    if (userData != nullptr) {
        *static_cast<std::string*>(userData) = text;
    }
}

// RtMidi's constructors report before an error callback can be set: Windows' "no MIDI devices"
// warning, and an error they also throw (no ALSA sequencer), are printed to std::cerr. While
// one runs, that stream goes nowhere; a thrown error still comes back as the reason.
class QuietCerr {
  public:
    QuietCerr() : saved_(std::cerr.rdbuf(&discard_)) {}
    ~QuietCerr() { std::cerr.rdbuf(saved_); }
    QuietCerr(const QuietCerr&) = delete;
    QuietCerr& operator=(const QuietCerr&) = delete;

  private:
    class Discard : public std::streambuf {
      protected:
        int overflow(int c) override { return traits_type::not_eof(c); }
    } discard_;
    std::streambuf* saved_;
};

template <typename Port>
std::unique_ptr<Port> MakePort(RtMidi::Api api, const std::string& clientName,
                               std::string* errors) {
    const QuietCerr quiet;
    auto port = std::make_unique<Port>(api, clientName);
    port->setErrorCallback(KeepError, errors);
    return port;
}

std::string Reason(const RtMidiError& error) {
    return error.getMessage();
}

template <typename Port>
std::vector<std::string> PortNames(Port& port) {
    std::vector<std::string> names;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        names.push_back(port.getPortName(i));
    }
    return names;
}

std::optional<unsigned> IndexOf(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<unsigned>(i);
        }
    }
    return std::nullopt;
}

class RtInput : public MidiInput {
  public:
    using Port = RtMidiIn;
    std::unique_ptr<RtMidiIn> port;
    std::string lastError;

    static void Deliver(double, std::vector<unsigned char>* message, void* userData) {
        auto* self = static_cast<RtInput*>(userData);
        const std::lock_guard lock(self->mutex_);
        self->pending_.insert(self->pending_.end(), message->begin(), message->end());
    }

    void TakeBytes(std::vector<std::uint8_t>& into) override {
        const std::lock_guard lock(mutex_);
        into.insert(into.end(), pending_.begin(), pending_.end());
        pending_.clear();
    }

    ~RtInput() override {
        try {
            if (port) {
                // RtMidi clears the callback without a lock while its own thread may be calling
                // it; once the port is closed that thread is gone.
                port->closePort();
                port->cancelCallback();
            }
        } catch (const RtMidiError&) {
            // Closing a port that already went away has nothing left to undo.
        }
    }

  private:
    std::mutex mutex_;
    std::vector<std::uint8_t> pending_;
};

class RtOutput : public MidiOutput {
  public:
    using Port = RtMidiOut;
    std::unique_ptr<RtMidiOut> port;
    std::string lastError;
    std::size_t MaxMessageLength() const override {
        return std::numeric_limits<std::size_t>::max();
    }

    Outcome Send(std::span<const std::uint8_t> message) override {
        lastError.clear();
        try {
            port->sendMessage(message.data(), message.size());
        } catch (const RtMidiError& error) {
            return Outcome::Failure(Reason(error));
        }
        if (!lastError.empty()) {
            return Outcome::Failure(lastError);
        }
        return {};
    }

    ~RtOutput() override {
        try {
            if (port) {
                port->closePort();
            }
        } catch (const RtMidiError&) {
            // As for inputs: nothing left to undo.
        }
    }
};

}  // namespace

RtMidiSystem::RtMidiSystem(std::string clientName, std::optional<RtMidi::Api> api)
    : clientName_(std::move(clientName)), api_(api) {}

std::optional<RtMidi::Api> ChooseRtMidiApi(const std::string& clientName) {
    // The default constructor gives up when ALSA is missing instead of trying JACK, so each
    // compiled API is tried in turn; one that has ports is preferred.
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::optional<RtMidi::Api> usable;
    for (const RtMidi::Api api : apis) {
        std::string ignored;
        try {
            const auto in = MakePort<RtMidiIn>(api, clientName, &ignored);
            const auto out = MakePort<RtMidiOut>(api, clientName, &ignored);
            if (!usable) {
                usable = api;
            }
            if (in->getPortCount() + out->getPortCount() > 0) {
                return api;
            }
        } catch (const RtMidiError&) {
            // An API that does not answer (no ALSA sequencer, no JACK server) is passed over.
        }
    }
    return usable;
}

MidiPortList RtMidiSystem::ListPorts() {
    MidiPortList list;
    if (!api_) {
        return list;
    }
    list.api = RtMidi::getApiDisplayName(*api_);
    std::string ignored;
    try {
        list.inputs = PortNames(*MakePort<RtMidiIn>(*api_, clientName_, &ignored));
        list.outputs = PortNames(*MakePort<RtMidiOut>(*api_, clientName_, &ignored));
    } catch (const RtMidiError&) {
        // A backend that stops answering simply has no ports now.
    }
    return list;
}

namespace {

// Makes the RtMidi object, lets `open` open it, and turns whatever went wrong into the reason.
template <typename Wrapper, typename Opening, typename Open>
Opening OpenWith(std::optional<RtMidi::Api> api, const std::string& client, Open open) {
    if (!api) {
        return Opening::Failure(kNoPortsText);
    }
    auto wrapper = std::make_unique<Wrapper>();
    try {
        wrapper->port = MakePort<typename Wrapper::Port>(*api, client, &wrapper->lastError);
        if (auto opened = open(*wrapper); !opened) {
            return Opening::Failure(opened.reason());
        }
    } catch (const RtMidiError& error) {
        return Opening::Failure(Reason(error));
    }
    if (!wrapper->lastError.empty()) {
        return Opening::Failure(wrapper->lastError);
    }
    return wrapper;
}

#if defined(_WIN32)
// Windows' ports are exclusive, and RtMidi's text does not say that another program has one
// open: the system is asked directly.
bool HeldByAnotherProgram(bool input, unsigned index) {
    MMRESULT result = MMSYSERR_NOERROR;
    if (input) {
        HMIDIIN handle = nullptr;
        result = ::midiInOpen(&handle, index, 0, 0, CALLBACK_NULL);
        if (result == MMSYSERR_NOERROR) {
            ::midiInClose(handle);
        }
    } else {
        HMIDIOUT handle = nullptr;
        result = ::midiOutOpen(&handle, index, 0, 0, CALLBACK_NULL);
        if (result == MMSYSERR_NOERROR) {
            ::midiOutClose(handle);
        }
    }
    return result == MMSYSERR_ALLOCATED;
}
#endif

// Opens the port of that name among the object's ports.
template <typename Port>
Outcome OpenNamed(Port& port, const std::string& name, const char* ourName) {
    const auto index = IndexOf(PortNames(port), name);
    if (!index) {
        return Outcome::Failure("the port is not there");
    }
    port.openPort(*index, ourName);
    if (!port.isPortOpen()) {
#if defined(_WIN32)
        if (HeldByAnotherProgram(std::is_same_v<Port, RtMidiIn>, *index)) {
            return Outcome::Failure(kPortInUseReason);
        }
#endif
        return Outcome::Failure("the port would not open");
    }
    return Outcome::Success();
}

// SysEx is dropped unless asked for; clock and active sensing are not wanted. The buffers must
// be set before the port opens.
void PrepareInput(RtInput& input) {
    input.port->ignoreTypes(false, true, true);
    input.port->setBufferSize(kRtMidiInputBufferBytes, kRtMidiInputBufferCount);
    input.port->setCallback(&RtInput::Deliver, &input);
}

}  // namespace

InputOpening RtMidiSystem::OpenInput(const std::string& port) {
    return OpenWith<RtInput, InputOpening>(api_, clientName_, [&port](RtInput& input) {
        PrepareInput(input);
        return OpenNamed(*input.port, port, "receive");
    });
}

InputOpening RtMidiSystem::OpenOwnInput(const std::string& name) {
    return OpenWith<RtInput, InputOpening>(api_, clientName_, [&name](RtInput& input) {
        PrepareInput(input);
        input.port->openVirtualPort(name);
        return Outcome::Success();
    });
}

OutputOpening RtMidiSystem::OpenOutput(const std::string& port) {
    return OpenWith<RtOutput, OutputOpening>(api_, clientName_, [&port](RtOutput& output) {
        return OpenNamed(*output.port, port, "send");
    });
}

OutputOpening RtMidiSystem::OpenOwnOutput(const std::string& name) {
    return OpenWith<RtOutput, OutputOpening>(api_, clientName_, [&name](RtOutput& output) {
        output.port->openVirtualPort(name);
        return Outcome::Success();
    });
}

}  // namespace korvel::midi
