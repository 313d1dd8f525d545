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
        if (const std::string broken = jack_.Broken(); !broken.empty()) {
            return Outcome::Failure(broken);
        }
        jack_ringbuffer_t* ring = jack_.Ring();
        const auto length = static_cast<std::uint32_t>(message.size());
        if (jack_ringbuffer_write_space(ring) < sizeof length + message.size()) {
            return Outcome::Failure("the port's buffer is full");
        }
        jack_ringbuffer_write(ring, reinterpret_cast<const char*>(&length), sizeof length);
        jack_ringbuffer_write(ring, reinterpret_cast<const char*>(message.data()), message.size());
        return {};
    }

    // A message taken from the ring lies in that cycle's buffer; the others read it before the
    // next cycle begins. So the port may close once the ring is empty and a whole cycle has run
    // since it was last seen holding something.
    bool HasDelivered() const override {
        const std::uint64_t cycles = jack_.Cycles();
        if (jack_ringbuffer_read_space(jack_.Ring()) > 0) {
            emptySince_ = kNotEmpty;
            return false;
        }
        if (emptySince_ == kNotEmpty) {
            emptySince_ = cycles;
        }
        return cycles >= emptySince_ + 2;
    }

    std::string Broken() const override { return jack_.Broken(); }

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

    static constexpr std::uint64_t kNotEmpty = ~std::uint64_t{0};

    JackClient jack_;
    // The cycle count when the ring was first seen empty; only the caller's thread uses it.
    mutable std::uint64_t emptySince_ = kNotEmpty;
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
