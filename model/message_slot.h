// The place of one message in a dump: where its bytes lie and the provenance name it carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace korvel {

class MessageSlot {
  public:
    MessageSlot() = default;
    MessageSlot(const MessageSlot&) = delete;
    MessageSlot& operator=(const MessageSlot&) = delete;

    // First byte (F0) and last byte (F7) of the held message; both null when the slot is empty.
    // They point into the image's loaded bytes, or into `copy` after a copy from another image.
    std::uint8_t* begin = nullptr;
    std::uint8_t* end = nullptr;
    // A message copied in from another image, owned by the slot and exactly as long as it.
    std::unique_ptr<std::uint8_t[]> copy;
    std::string name;

    bool IsEmpty() const { return begin == nullptr; }
    std::size_t Length() const { return IsEmpty() ? 0 : static_cast<std::size_t>(end - begin) + 1; }
    std::span<const std::uint8_t> Bytes() const { return {begin, Length()}; }

    void Clear();
    // Takes a private copy of the source's message; false, leaving the slot as it was, when the
    // source is empty.
    bool CopyFrom(const MessageSlot& source);
    // Holds a private copy of `message` (empty: the slot is cleared) and the name; how an undo
    // puts a slot back.
    void Assign(std::span<const std::uint8_t> message, std::string slotName);

    // These change message bytes and so act only on a private copy: the bytes of a loaded file
    // stay exactly as read. False when there is no copy or the message is too short.
    bool UpdateChecksum(int indexBytes);
    bool ReaddressPattern(int group, int track, int physicalPattern);
    bool ReaddressPlaylist(int bank, int playlist);

    std::string GetName() const { return name; }
    void SetName(std::string text) { name = std::move(text); }

  private:
    void TakeCopy(std::span<const std::uint8_t> message);
};

}  // namespace korvel
