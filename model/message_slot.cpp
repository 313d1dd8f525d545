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
    const std::size_t length = source.Length();
    auto buffer = std::make_unique<std::uint8_t[]>(length);
    std::copy_n(source.begin, length, buffer.get());
    copy = std::move(buffer);
    begin = copy.get();
    end = copy.get() + length - 1;
    return true;
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
