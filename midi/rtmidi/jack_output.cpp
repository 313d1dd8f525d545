#include "jack_output.h"

#include "midi_limits.h"

#include "jack_client.h"

#include <jack/midiport.h>

#include <cstdint>

namespace korvel::midi {

namespace {

class JackOutput : public MidiOutput {
  public:
    Outcome Open(const std::string& client, const std::string& portName,
                 const std::string& destination) {
        if (auto opened = jack_.Open(client, portName, JackPortIsOutput, kJackOutputRingBytes,
                                     &JackOutput::Process, this);
            !opened) {
            return opened;
        }
        if (!destination.empty() && !jack_.Connect(destination)) {
            return Outcome::Failure("the port is not there");
        }
        return Outcome::Success();
    }

    std::size_t MaxMessageLength() const override { return kJackMaxMessage; }

    // The message goes into the ring as its length and its bytes; the process callback takes
    // it only once all of it is there.
    Outcome Send(std::span<const std::uint8_t> message) override {
        jack_ringbuffer_t* ring = jack_.Ring();
        const auto length = static_cast<std::uint32_t>(message.size());
        if (jack_ringbuffer_write_space(ring) < sizeof length + message.size()) {
            return Outcome::Failure("the port's buffer is full");
        }
        jack_ringbuffer_write(ring, reinterpret_cast<const char*>(&length), sizeof length);
        jack_ringbuffer_write(ring, reinterpret_cast<const char*>(message.data()), message.size());
        return {};
    }

  private:
    // JACK's real-time thread: moves whole messages that fit this cycle's buffer.
    static int Process(jack_nframes_t frames, void* self) {
        const JackClient& jack = static_cast<JackOutput*>(self)->jack_;
        jack_ringbuffer_t* ring = jack.Ring();
        void* buffer = jack_port_get_buffer(jack.Port(), frames);
        jack_midi_clear_buffer(buffer);
        std::uint32_t length = 0;
        while (jack_ringbuffer_peek(ring, reinterpret_cast<char*>(&length), sizeof length) ==
                   sizeof length &&
               jack_ringbuffer_read_space(ring) >= sizeof length + length) {
            jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, length);
            if (event == nullptr) {
                break;  // the next cycle has room
            }
            jack_ringbuffer_read_advance(ring, sizeof length);
            jack_ringbuffer_read(ring, reinterpret_cast<char*>(event), length);
        }
        return 0;
    }

    JackClient jack_;
};

}  // namespace

OutputOpening OpenJackOutput(const std::string& client, const std::string& portName,
                             const std::string& destination) {
    auto output = std::make_unique<JackOutput>();
    if (auto opened = output->Open(client, portName, destination); !opened) {
        return OutputOpening::Failure(opened.reason());
    }
    return output;
}

}  // namespace korvel::midi
