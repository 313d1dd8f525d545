#include "message_slot.h"

#include "sysex_message.h"

#include <algorithm>

namespace korvel {

void MessageSlot::Clear() {
    copy.reset();
    begin = nullptr;
    end = nullptr;
    name.clear();
}

bool MessageSlot::CopyFrom(const MessageSlot& source) {
    if (source.IsEmpty() || &source == this) {
        return false;
    }
    TakeCopy(source.Bytes());
    return true;
}

void MessageSlot::Assign(std::span<const std::uint8_t> message, std::string slotName) {
    if (message.empty()) {
        Clear();
    } else {
        TakeCopy(message);
    }
    name = std::move(slotName);
}

void MessageSlot::TakeCopy(std::span<const std::uint8_t> message) {
    auto buffer = std::make_unique<std::uint8_t[]>(message.size());
    std::copy(message.begin(), message.end(), buffer.get());
    copy = std::move(buffer);
    begin = copy.get();
    end = copy.get() + message.size() - 1;
}

bool MessageSlot::UpdateChecksum(int indexBytes) {
    return copy != nullptr && korvel::UpdateChecksum(begin, end, indexBytes);
}

bool MessageSlot::ReaddressPattern(int group, int track, int physicalPattern) {
    return copy != nullptr && korvel::ReaddressPattern(begin, end, group, track, physicalPattern);
}

bool MessageSlot::ReaddressPlaylist(int bank, int playlist) {
    return copy != nullptr && korvel::ReaddressPlaylist(begin, end, bank, playlist);
}

}  // namespace korvel
