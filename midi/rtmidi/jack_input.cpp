#include "jack_input.h"

#include "midi_limits.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <optional>

namespace korvel::midi {

namespace {

class JackInput : public MidiInput {
  public:
    JackInput() = default;
    JackInput(const JackInput&) = delete;
    JackInput& operator=(const JackInput&) = delete;

    ~JackInput() override {
        if (client_ != nullptr) {
            jack_deactivate(client_);
            jack_client_close(client_);
        }
        if (ring_ != nullptr) {
            jack_ringbuffer_free(ring_);
        }
    }

    std::optional<std::string> Open(const std::string& client, const std::string& portName,
                                    const std::string& source) {
        // Room for all a receive may keep, so that nothing is dropped between two polls.
        ring_ = jack_ringbuffer_create(kReceiveLimit);
        if (ring_ == nullptr) {
            return std::string("there is not enough memory for the port");
        }
        jack_status_t status{};
        client_ = jack_client_open(client.c_str(), JackNoStartServer, &status);
        if (client_ == nullptr) {
            return std::string("the JACK server is not running");
        }
        port_ = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                   JackPortIsInput, 0);
        if (port_ == nullptr) {
            return std::string("JACK would not make the port");
        }
        if (jack_set_process_callback(client_, &JackInput::Process, this) != 0 ||
            jack_activate(client_) != 0) {
            return std::string("JACK would not start the port");
        }
        if (!source.empty() && jack_connect(client_, source.c_str(), jack_port_name(port_)) != 0) {
            return std::string("the port is not there");
        }
        return std::nullopt;
    }

    void TakeBytes(std::vector<std::uint8_t>& into) override {
        const std::size_t count = jack_ringbuffer_read_space(ring_);
        const std::size_t at = into.size();
        into.resize(at + count);
        jack_ringbuffer_read(ring_, reinterpret_cast<char*>(into.data() + at), count);
    }

  private:
    // JACK's real-time thread: copies each event's bytes as they are, without waiting.
    static int Process(jack_nframes_t frames, void* self) {
        auto* input = static_cast<JackInput*>(self);
        void* buffer = jack_port_get_buffer(input->port_, frames);
        const std::uint32_t count = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0) {
                jack_ringbuffer_write(input->ring_, reinterpret_cast<const char*>(event.buffer),
                                      event.size);
            }
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
};

}  // namespace

std::unique_ptr<MidiInput> OpenJackInput(const std::string& client, const std::string& portName,
                                         const std::string& source, std::string& reason) {
    auto input = std::make_unique<JackInput>();
    if (const auto problem = input->Open(client, portName, source)) {
        reason = *problem;
        return nullptr;
    }
    return input;
}

}  // namespace korvel::midi
