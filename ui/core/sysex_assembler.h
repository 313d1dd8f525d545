// Puts received MIDI bytes back together into complete SysEx messages, whatever pieces they came
// in: real-time bytes (F8 to FF) are taken out wherever they stand, bytes outside a message are
// dropped, and an F0 inside a message ends that one as cut off, as the file parser does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvel::ui {

struct MessageSpan {
    std::size_t offset = 0;  // where its F0 is in Messages()
    std::size_t length = 0;
};

class SysExAssembler {
  public:
    // A message longer than `maxMessage` is dropped as cut off.
    explicit SysExAssembler(std::size_t maxMessage = 1 << 20) : maxMessage_(maxMessage) {}

    // Feeds the next bytes; every message completed by them is appended to Messages().
    void Feed(std::span<const std::uint8_t> bytes);

    // Every complete message so far, F0 to F7, in the order received.
    std::span<const std::uint8_t> Messages() const { return {messages_.data(), complete_}; }
    std::size_t MessageCount() const { return spans_.size(); }
    // Where each complete message lies in Messages().
    const std::vector<MessageSpan>& Spans() const { return spans_; }
    std::size_t CutOff() const { return cutOff_; }
    std::size_t Dropped() const { return dropped_; }
    bool InMessage() const { return inMessage_; }

  private:
    void Start();
    void Finish();
    void Abandon();

    std::size_t maxMessage_;
    std::vector<std::uint8_t> messages_;
    std::vector<MessageSpan> spans_;
    std::size_t current_ = 0;   // where the open message starts in messages_
    std::size_t complete_ = 0;  // the end of the last complete message
    bool inMessage_ = false;
    std::size_t cutOff_ = 0;
    std::size_t dropped_ = 0;
};

}  // namespace korvel::ui
