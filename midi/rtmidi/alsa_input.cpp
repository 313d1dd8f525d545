#include "alsa_input.h"

#include "midi_limits.h"
#include "port_match.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

namespace korvel::midi {

namespace {

// Room for one event other than SysEx: three bytes at most, with some to spare.
constexpr long kShortEventBytes = 16;

class AlsaInput : public MidiInput {
  public:
    AlsaInput() = default;
    AlsaInput(const AlsaInput&) = delete;
    AlsaInput& operator=(const AlsaInput&) = delete;

    ~AlsaInput() override {
        stop_ = true;
        if (reader_.joinable()) {
            reader_.join();
        }
        if (decoder_ != nullptr) {
            snd_midi_event_free(decoder_);
        }
        if (seq_ != nullptr) {
            snd_seq_close(seq_);
        }
    }

    Outcome Open(const std::string& client, const std::string& portName,
                 const std::string& source) {
        if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
            seq_ = nullptr;
            return Outcome::Failure("the ALSA sequencer is not there");
        }
        snd_seq_set_client_name(seq_, client.c_str());
        // Room for what arrives between two looks of a busy reader; smaller sizes stay if refused.
        snd_seq_set_input_buffer_size(seq_, kAlsaInputBufferBytes);
        snd_seq_set_client_pool_input(seq_, kAlsaInputPoolEvents);
        const int port = snd_seq_create_simple_port(
            seq_, portName.c_str(), SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
            SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (port < 0) {
            return Outcome::Failure("ALSA would not make the port");
        }
        if (snd_midi_event_new(kShortEventBytes, &decoder_) < 0) {
            decoder_ = nullptr;
            return Outcome::Failure("there is not enough memory for the port");
        }
        snd_midi_event_no_status(decoder_, 1);
        if (!source.empty()) {
            const auto address = AlsaAddressOf(source);
            if (!address || snd_seq_connect_from(seq_, port, address->client, address->port) < 0) {
                return Outcome::Failure("the port is not there");
            }
        }
        reader_ = std::thread([this] { ReadUntilStopped(); });
        return Outcome::Success();
    }

    void TakeBytes(std::vector<std::uint8_t>& into) override {
        const std::lock_guard lock(mutex_);
        into.insert(into.end(), pending_.begin(), pending_.end());
        pending_.clear();
    }

    bool HasLostInput() const override { return lost_; }

  private:
    void ReadUntilStopped() {
        std::vector<pollfd> fds(
            static_cast<std::size_t>(snd_seq_poll_descriptors_count(seq_, POLLIN)));
        snd_seq_poll_descriptors(seq_, fds.data(), static_cast<unsigned>(fds.size()), POLLIN);
        while (!stop_) {
            if (poll(fds.data(), fds.size(), kAlsaPollMs) > 0) {
                ReadWaitingEvents();
            }
        }
    }

    // Each SysEx piece's bytes as they are; any other event as the bytes it stands for. An
    // overrun (-ENOSPC) means the sequencer dropped events: that is said, and reading goes on.
    void ReadWaitingEvents() {
        snd_seq_event_t* event = nullptr;
        for (;;) {
            const int result = snd_seq_event_input(seq_, &event);
            if (result == -ENOSPC) {
                lost_ = true;
                continue;
            }
            if (result < 0 || event == nullptr) {
                break;
            }
            const std::lock_guard lock(mutex_);
            if (event->type == SND_SEQ_EVENT_SYSEX) {
                const auto* bytes = static_cast<const std::uint8_t*>(event->data.ext.ptr);
                pending_.insert(pending_.end(), bytes, bytes + event->data.ext.len);
                continue;
            }
            unsigned char bytes[kShortEventBytes];
            const long count = snd_midi_event_decode(decoder_, bytes, sizeof bytes, event);
            if (count > 0) {
                pending_.insert(pending_.end(), bytes, bytes + count);
            }
        }
    }

    snd_seq_t* seq_ = nullptr;
    snd_midi_event_t* decoder_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> lost_ = false;
    std::mutex mutex_;
    std::vector<std::uint8_t> pending_;
};

}  // namespace

InputOpening OpenAlsaInput(const std::string& client, const std::string& portName,
                           const std::string& source) {
    auto input = std::make_unique<AlsaInput>();
    if (auto opened = input->Open(client, portName, source); !opened) {
        return InputOpening::Failure(opened.reason());
    }
    return input;
}

}  // namespace korvel::midi
