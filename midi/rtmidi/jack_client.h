// What Korvel's own JACK ports share: a client with one MIDI port, a ring buffer between JACK's
// real-time thread and ours, a count of the process cycles that ran, word of a server that went
// away, and a close that frees the buffer only once JACK has run the process callback for the
// last time.
#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include "result.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel::midi {

class JackClient {
  public:
    JackClient() = default;
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;
    ~JackClient();

    // Opens client `client` with port `portName` (JackPortIsInput or JackPortIsOutput), a ring
    // of `ringBytes`, and starts `process` with `self`; the reason when JACK refuses.
    Outcome Open(const std::string& client, const std::string& portName, unsigned long portFlags,
                 std::size_t ringBytes, JackProcessCallback process, void* self);
    // Connects the port from (for an input) or to (for an output) another port by its name.
    bool Connect(const std::string& other);

    jack_port_t* Port() const { return port_; }
    jack_ringbuffer_t* Ring() const { return ring_; }
    // The process cycles that have ended since the port started.
    std::uint64_t Cycles() const { return cycles_.load(std::memory_order_acquire); }
    // "the JACK server went away", once it has; empty while it runs.
    std::string Broken() const;

  private:
    static int Process(jack_nframes_t frames, void* self);
    static void OnShutdown(void* self);

    JackProcessCallback process_ = nullptr;
    void* processSelf_ = nullptr;
    std::atomic<std::uint64_t> cycles_ = 0;
    std::atomic<bool> serverGone_ = false;
    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
    bool isInput_ = false;
};

}  // namespace korvel::midi
