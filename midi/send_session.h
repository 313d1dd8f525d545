// One send of a dump to the W2: one message at a time, each in one piece, paced so that a message
// starts no earlier than the previous one takes on a MIDI cable plus a pause. Driven by steps and
// a clock, so it never waits itself; a cancel takes effect between two messages.
#pragma once

#include "dump_image.h"

#include "midi_clock.h"
#include "midi_limits.h"
#include "midi_port.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvel::midi {

inline constexpr auto kDefaultMessagePause = std::chrono::milliseconds(kDefaultMessagePauseMs);

struct SendPlan {
    std::vector<std::span<const std::uint8_t>> messages;  // in the order a save writes them
    std::uint64_t bytes = 0;
    std::size_t longest = 0;
    int wrongChecksums = 0;
    Duration estimate{};  // the cable time of every message and a pause after each
};

SendPlan PlanSend(const DumpImage& image, Duration pause);

inline constexpr const char* kNothingToSendText =
    "The dump holds no messages; there is nothing to send.";

// An output port opened for a planned send, or why the send cannot go there.
struct SendOpening {
    std::unique_ptr<MidiOutput> output;
    std::string problem;      // empty when the output is open
    bool portFailed = false;  // the port could not be opened, rather than refusing the dump
};
SendOpening OpenForSend(MidiSystem& midi, const std::string& port, const SendPlan& plan);

// "Send the right dump to PORT? 481 messages, 98,304 bytes, about 60 s.", naming wrong checksums.
std::string SendQuestion(const SendPlan& plan, const std::string& paneName,
                         const std::string& port);
// Whether the port can carry the dump, and why not.
Outcome PortCarries(const SendPlan& plan, const std::string& port, std::size_t maxMessageLength);
// "60 s", "2 min 5 s".
std::string SecondsText(Duration duration);

class SendSession {
  public:
    SendSession(MidiOutput& output, Clock& clock,
                std::vector<std::span<const std::uint8_t>> messages, Duration pause);

    // Sends the next message when its time has come; returns when to step again.
    Instant Step();
    void Cancel() { cancelled_ = true; }

    bool HasEnded() const { return ended_; }
    bool WasCancelled() const { return cancelled_ && sent_ < messages_.size(); }
    const std::string& Failure() const { return failure_; }
    std::size_t Sent() const { return sent_; }
    std::size_t Total() const { return messages_.size(); }
    std::uint64_t BytesSent() const { return bytesSent_; }
    Duration TimeLeft() const;
    // When the last message sent has left the cable; a port closed before may drop it.
    Instant LastMessageLeaves() const { return nextStart_ - pause_; }
    // Once the send has ended, the port stays open until the last message has left the cable
    // and the port has handed on all it was given: when to look again after a step that
    // answered `next`, and whether the port may close at `now`. A port that broke before it
    // handed everything on, or still holds messages long after their time, fails the send.
    Instant WakeUpAfter(Instant next) const {
        return ended_ ? std::max(LastMessageLeaves(), lastStep_ + kDeliveryPoll) : next;
    }
    bool MayClosePort(Instant now);
    // "Message 12 of 481 · 2,345 bytes sent · about 45 s left"
    std::string ProgressText() const;
    // "Sent 481 messages to PORT in 60 s", or what went before a cancel or a failure.
    std::string SummaryText(const std::string& port) const;

  private:
    MidiOutput& output_;
    Clock& clock_;
    std::vector<std::span<const std::uint8_t>> messages_;
    Duration pause_;
    std::uint64_t bytesLeft_ = 0;
    std::size_t sent_ = 0;
    std::uint64_t bytesSent_ = 0;
    bool started_ = false;
    Instant firstSend_{};
    Instant lastStep_{};
    Instant nextStart_{};
    bool cancelled_ = false;
    bool ended_ = false;
    std::string failure_;
};

}  // namespace korvel::midi
