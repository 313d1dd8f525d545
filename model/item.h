// One piece of a dump's material as the user picks it: a bank, its playlist set, a track or a
// pattern, with zero-based numbers.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace korvel {

class DumpImage;

enum class ItemKind { none, bank, playlists, track, pattern };

struct Item {
    ItemKind kind = ItemKind::none;
    int bank = 0;
    int track = 0;    // tracks and patterns
    int pattern = 0;  // patterns; for a playlist of a set, the playlist's number in it

    static constexpr Item Bank(int bank) { return {ItemKind::bank, bank, 0, 0}; }
    static constexpr Item Playlists(int bank) { return {ItemKind::playlists, bank, 0, 0}; }
    static constexpr Item Track(int bank, int track) { return {ItemKind::track, bank, track, 0}; }
    static constexpr Item Pattern(int bank, int track, int pattern) {
        return {ItemKind::pattern, bank, track, pattern};
    }
    friend bool operator==(const Item&, const Item&) = default;
};

// The 32-bit form of an item that tree nodes carry and korvel-cli's JSON prints: the kind in
// bits 12-15 (0x1000 bank, 0x2000 playlist set, 0x4000 track, 0x8000 pattern), the bank in bits
// 16-19, the track in bits 8-11, the pattern in bits 0-3; every other bit 0.
constexpr std::uint32_t ItemCode(const Item& item) {
    const std::uint32_t kind =
        item.kind == ItemKind::none ? 0 : 0x1000u << (static_cast<int>(item.kind) - 1);
    return kind | static_cast<std::uint32_t>(item.bank & 0xF) << 16 |
           static_cast<std::uint32_t>(item.track & 0xF) << 8 |
           static_cast<std::uint32_t>(item.pattern & 0xF);
}

// The item of a code; kind none when its kind bits are not exactly one of the four.
constexpr Item ItemFromCode(std::uint32_t code) {
    const std::uint32_t kindBits = (code >> 12) & 0xF;
    const ItemKind kind = std::has_single_bit(kindBits)
                              ? static_cast<ItemKind>(1 + std::countr_zero(kindBits))
                              : ItemKind::none;
    return {kind, static_cast<int>((code >> 16) & 0xF), static_cast<int>((code >> 8) & 0xF),
            static_cast<int>(code & 0xF)};
}

// True when the item exists under the image's layout.
bool ItemExists(const DumpImage& image, const Item& item);

// The item as the user reads it: "Bank 05", "Playlist B05", "B05 T02", "B05 T02 P03".
std::string ItemName(const Item& item);

}  // namespace korvel
