#include "jack_input.h"

#include "jack_client.h"
#include "midi_limits.h"

#include <jack/midiport.h>

#include <atomic>

namespace korvel::midi {

namespace {

class JackInput : public MidiInput {
  public:
    Outcome Open(const std::string& client, const std::string& portName,
                 const std::string& source) {
        // Room for all a receive may keep, so that nothing is dropped between two polls.
        if (auto opened = jack_.Open(client, portName, JackPortIsInput, kReceiveLimit,
                                     &JackInput::Process, this);
            !opened) {
            return opened;
        }
        if (!source.empty() && !jack_.Connect(source)) {
            return Outcome::Failure("the port is not there");
        }
        return Outcome::Success();
    }

    bool HasLostInput() const override { return lost_.load(std::memory_order_acquire); }
    std::string Broken() const override { return jack_.Broken(); }

    void TakeBytes(std::vector<std::uint8_t>& into) override {
        const std::size_t count = jack_ringbuffer_read_space(jack_.Ring());
        const std::size_t at = into.size();
        into.resize(at + count);
        jack_ringbuffer_read(jack_.Ring(), reinterpret_cast<char*>(into.data() + at), count);
    }

  private:
    // JACK's real-time thread: copies each event's bytes as they are, without waiting.
    static int Process(jack_nframes_t frames, void* self) {
        auto* input = static_cast<JackInput*>(self);
        const JackClient& jack = input->jack_;
        void* buffer = jack_port_get_buffer(jack.Port(), frames);
        const std::uint32_t count = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) != 0) {
                continue;
            }
            // An event only in part would join two messages; one that does not fit is lost
            // whole, and said so.
            if (jack_ringbuffer_write_space(jack.Ring()) < event.size) {
                input->lost_.store(true, std::memory_order_release);
                continue;
            }
            jack_ringbuffer_write(jack.Ring(), reinterpret_cast<const char*>(event.buffer),
                                  event.size);
        }
        return 0;
    }

    JackClient jack_;
    std::atomic<bool> lost_ = false;
};

}  // namespace

InputOpening OpenJackInput(const std::string& client, const std::string& portName,
                           const std::string& source) {
    auto input = std::make_unique<JackInput>();
    if (auto opened = input->Open(client, portName, source); !opened) {
        return InputOpening::Failure(opened.reason());
    }
    return input;
}

}  // namespace korvel::midi
