#include "wrong_checksums.h"

#include "sysex_message.h"

namespace korvel {

std::vector<WrongChecksum> WrongChecksums(const DumpImage& image) {
    std::vector<WrongChecksum> wrong;
    const auto check = [&](const MessageSlot& slot, SlotPlace place, int indexBytes) {
        if (slot.IsEmpty()) {
            return;
        }
        const int expected = ComputeChecksum(slot.begin, slot.end, indexBytes);
        const int found = StoredChecksum(slot.end);
        if (expected != found) {
            // A slot with a copy of its own holds what an edit put there, not what was loaded.
            const std::optional<std::size_t> offset =
                slot.copy ? std::nullopt
                          : std::optional(
                                static_cast<std::size_t>(slot.begin - image.LoadedBytes().data()));
            wrong.push_back({place, offset, found, expected});
        }
    };
    for (int i = 0; i < kPlaylistSlotCount; ++i) {
        check(image.PlaylistSlot(i), {SlotArea::playlist, i}, kPlaylistIndexBytes);
    }
    for (int i = 0; i < kPatternSlotCount; ++i) {
        check(image.PatternSlot(i), {SlotArea::pattern, i}, kPatternIndexBytes);
    }
    return wrong;
}

}  // namespace korvel
