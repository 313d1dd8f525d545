// The 32-bit tag each tree node carries: which bank, playlist set, track or pattern it is. Its
// bits are the model's item code, so commands identify material only by tags, never by texts.
#pragma once

#include "item.h"

#include <cstdint>
#include <optional>

namespace korvel::ui {

using ItemTag = std::uint32_t;

// The kind bits of a tag.
enum TagKind : int {
    kNoKind = 0,
    kBankKind = static_cast<int>(ItemCode(Item::Bank(0))),
    kPlaylistKind = static_cast<int>(ItemCode(Item::Playlists(0))),
    kTrackKind = static_cast<int>(ItemCode(Item::Track(0, 0))),
    kPatternKind = static_cast<int>(ItemCode(Item::Pattern(0, 0, 0))),
};

// The item a tag names; kind none for a tag of no kind.
constexpr Item SplitItemTag(ItemTag tag) {
    return ItemFromCode(tag);
}

constexpr ItemKind KindOfTag(ItemTag tag) {
    return SplitItemTag(tag).kind;
}

constexpr ItemTag MakeItemTag(int kind, int bank, int track = 0, int pattern = 0) {
    return ItemCode({KindOfTag(static_cast<ItemTag>(kind)), bank, track, pattern});
}

// Kind none and all numbers 0 when nothing is selected.
constexpr Item DecodeSelection(std::optional<ItemTag> selected) {
    return selected ? SplitItemTag(*selected) : Item{};
}

}  // namespace korvel::ui
