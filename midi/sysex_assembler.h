// Puts received MIDI bytes back together into complete SysEx messages, whatever pieces they came
// in: real-time bytes (F8 to FF) are taken out wherever they stand, bytes outside a message
// belong to none, and an F0 inside a message ends that one as cut off, as the file parser does.
// The pieces are kept as they came, without copying; nothing received is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel::midi {

class SysExAssembler {
  public:
    // An open message longer than `maxMessage` is given up as cut off.
    explicit SysExAssembler(std::size_t maxMessage = 1 << 20) : maxMessage_(maxMessage) {}

    void Feed(std::vector<std::uint8_t> piece);
    void Clear();

    // Bytes received, real-time ones not counted.
    std::uint64_t KeptSize() const { return size_ - realTime_.size(); }
    // Every byte received but the real-time ones, as it came: for a backup.
    std::vector<std::uint8_t> Kept() const;
    std::size_t MessageCount() const { return spans_.size(); }
    // One complete message, F0 to F7, and all of them one after the other.
    std::vector<std::uint8_t> Message(std::size_t index) const;
    std::vector<std::uint8_t> Messages() const;
    std::size_t CutOff() const { return cutOff_; }
    bool InMessage() const { return inMessage_; }

  private:
    // Positions count every byte received, from the first.
    struct Span {
        std::uint64_t first = 0;  // the F0
        std::uint64_t last = 0;   // the F7
    };
    void Scan(const std::uint8_t* bytes, std::size_t length);
    // Appends the bytes from `first` to `last` (included), less real-time ones.
    void CopyRange(std::uint64_t first, std::uint64_t last, std::vector<std::uint8_t>& out) const;

    std::size_t maxMessage_;
    std::vector<std::vector<std::uint8_t>> chunks_;
    std::vector<std::uint64_t> chunkStarts_;
    std::vector<std::uint64_t> realTime_;  // ascending
    std::vector<Span> spans_;
    std::uint64_t size_ = 0;
    std::uint64_t open_ = 0;
    bool inMessage_ = false;
    std::size_t cutOff_ = 0;
};

}  // namespace korvel::midi
