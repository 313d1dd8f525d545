#include "jack_output.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <cstdint>
#include <optional>

namespace korvel::midi {

namespace {

// Measured with RtMidi 5.0, whose limit the window and korvel-cli already name: on JACK a
// message of 16,379 bytes arrives and one of 16,380 is dropped.
constexpr std::size_t kJackMaxMessage = 16379;
// Room for many messages queued between two cycles; a send hands over one at a time.
constexpr std::size_t kRingBytes = 1024 * 1024;

class JackOutput : public MidiOutput {
  public:
    JackOutput() = default;
    JackOutput(const JackOutput&) = delete;
    JackOutput& operator=(const JackOutput&) = delete;

    ~JackOutput() override {
        if (client_ != nullptr) {
            // Returns once the process callback has run for the last time.
            jack_deactivate(client_);
            jack_client_close(client_);
        }
        if (ring_ != nullptr) {
            jack_ringbuffer_free(ring_);
        }
    }

    std::optional<std::string> Open(const std::string& client, const std::string& portName,
                                    const std::string& destination) {
        ring_ = jack_ringbuffer_create(kRingBytes);
        if (ring_ == nullptr) {
            return std::string("there is not enough memory for the port");
        }
        jack_status_t status{};
        client_ = jack_client_open(client.c_str(), JackNoStartServer, &status);
        if (client_ == nullptr) {
            return std::string("the JACK server is not running");
        }
        port_ = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                   JackPortIsOutput, 0);
        if (port_ == nullptr) {
            return std::string("JACK would not make the port");
        }
        if (jack_set_process_callback(client_, &JackOutput::Process, this) != 0 ||
            jack_activate(client_) != 0) {
            return std::string("JACK would not start the port");
        }
        if (!destination.empty() &&
            jack_connect(client_, jack_port_name(port_), destination.c_str()) != 0) {
            return std::string("the port is not there");
        }
        return std::nullopt;
    }

    std::size_t MaxMessageLength() const override { return kJackMaxMessage; }

    // The message goes into the ring as its length and its bytes; the process callback takes
    // it only once all of it is there.
    SendResult Send(std::span<const std::uint8_t> message) override {
        const auto length = static_cast<std::uint32_t>(message.size());
        if (jack_ringbuffer_write_space(ring_) < sizeof length + message.size()) {
            return {false, "the port's buffer is full"};
        }
        jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(&length), sizeof length);
        jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(message.data()), message.size());
        return {};
    }

  private:
    // JACK's real-time thread: moves whole messages that fit this cycle's buffer.
    static int Process(jack_nframes_t frames, void* self) {
        auto* output = static_cast<JackOutput*>(self);
        void* buffer = jack_port_get_buffer(output->port_, frames);
        jack_midi_clear_buffer(buffer);
        std::uint32_t length = 0;
        while (jack_ringbuffer_peek(output->ring_, reinterpret_cast<char*>(&length),
                                    sizeof length) == sizeof length &&
               jack_ringbuffer_read_space(output->ring_) >= sizeof length + length) {
            jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, length);
            if (event == nullptr) {
                break;  // the next cycle has room
            }
            jack_ringbuffer_read_advance(output->ring_, sizeof length);
            jack_ringbuffer_read(output->ring_, reinterpret_cast<char*>(event), length);
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
};

}  // namespace

std::unique_ptr<MidiOutput> OpenJackOutput(const std::string& client, const std::string& portName,
                                           const std::string& destination, std::string& reason) {
    auto output = std::make_unique<JackOutput>();
    if (const auto problem = output->Open(client, portName, destination)) {
        reason = *problem;
        return nullptr;
    }
    return output;
}

}  // namespace korvel::midi
