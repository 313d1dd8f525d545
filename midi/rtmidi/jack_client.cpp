#include "jack_client.h"

#include <jack/midiport.h>

namespace korvel::midi {

namespace {

constexpr const char* kServerGoneText = "the JACK server went away";

}  // namespace

int JackClient::Process(jack_nframes_t frames, void* self) {
    auto* client = static_cast<JackClient*>(self);
    const int result = client->process_(frames, client->processSelf_);
    client->cycles_.fetch_add(1, std::memory_order_release);
    return result;
}

// JACK's own thread, when the server ends or throws the client out: only a flag is set here.
void JackClient::OnShutdown(void* self) {
    static_cast<JackClient*>(self)->serverGone_.store(true, std::memory_order_release);
}

std::string JackClient::Broken() const {
    return serverGone_.load(std::memory_order_acquire) ? kServerGoneText : "";
}

JackClient::~JackClient() {
    if (client_ != nullptr) {
        // Returns once the process callback has run for the last time.
        jack_deactivate(client_);
        jack_client_close(client_);
    }
    if (ring_ != nullptr) {
        jack_ringbuffer_free(ring_);
    }
}

Outcome JackClient::Open(const std::string& client, const std::string& portName,
                         unsigned long portFlags, std::size_t ringBytes,
                         JackProcessCallback process, void* self) {
    isInput_ = (portFlags & JackPortIsInput) != 0;
    ring_ = jack_ringbuffer_create(ringBytes);
    if (ring_ == nullptr) {
        return Outcome::Failure("there is not enough memory for the port");
    }
    jack_status_t status{};
    client_ = jack_client_open(client.c_str(), JackNoStartServer, &status);
    if (client_ == nullptr) {
        return Outcome::Failure("the JACK server is not running");
    }
    port_ = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, portFlags, 0);
    if (port_ == nullptr) {
        return Outcome::Failure("JACK would not make the port");
    }
    process_ = process;
    processSelf_ = self;
    jack_on_shutdown(client_, &JackClient::OnShutdown, this);
    if (jack_set_process_callback(client_, &JackClient::Process, this) != 0 ||
        jack_activate(client_) != 0) {
        return Outcome::Failure("JACK would not start the port");
    }
    return Outcome::Success();
}

bool JackClient::Connect(const std::string& other) {
    const char* ours = jack_port_name(port_);
    return (isInput_ ? jack_connect(client_, other.c_str(), ours)
                     : jack_connect(client_, ours, other.c_str())) == 0;
}

}  // namespace korvel::midi
