// The 32-bit tag each tree node carries: which bank, playlist set, track or pattern it is.
#pragma once

#include "item.h"

#include <cstdint>
#include <optional>

namespace korvel::ui {

using ItemTag = std::uint32_t;

// The kind bits of a tag.
enum TagKind : int {
    kNoKind = 0,
    kBankKind = 0x1000,
    kPlaylistKind = 0x2000,
    kTrackKind = 0x4000,
    kPatternKind = 0x8000,
};

// Kind in bits 12-15, bank in 16-19, track in 8-11, pattern in 0-3; every other bit 0.
constexpr ItemTag MakeItemTag(int kind, int bank, int track = 0, int pattern = 0) {
    return static_cast<ItemTag>(kind) | static_cast<ItemTag>(bank & 0xF) << 16 |
           static_cast<ItemTag>(track & 0xF) << 8 | static_cast<ItemTag>(pattern & 0xF);
}

constexpr ItemKind KindOfTag(ItemTag tag) {
    switch (tag & 0xF000) {
        case kBankKind:
            return ItemKind::bank;
        case kPlaylistKind:
            return ItemKind::playlists;
        case kTrackKind:
            return ItemKind::track;
        case kPatternKind:
            return ItemKind::pattern;
        default:
            return ItemKind::none;
    }
}

// The item a tag names; kind none for a tag of no kind.
constexpr Item SplitItemTag(ItemTag tag) {
    return {KindOfTag(tag), static_cast<int>((tag >> 16) & 0xF), static_cast<int>((tag >> 8) & 0xF),
            static_cast<int>(tag & 0xF)};
}

// Kind none and all numbers 0 when nothing is selected.
constexpr Item DecodeSelection(std::optional<ItemTag> selected) {
    return selected ? SplitItemTag(*selected) : Item{};
}

}  // namespace korvel::ui
