// One piece of a dump's material as the user picks it: a bank, its playlist set, a track or a
// pattern, with zero-based numbers.
#pragma once

#include <string>

namespace korvel {

class DumpImage;

enum class ItemKind { none, bank, playlists, track, pattern };

struct Item {
    ItemKind kind = ItemKind::none;
    int bank = 0;
    int track = 0;    // tracks and patterns
    int pattern = 0;  // patterns; for a playlist of a set, the playlist's number in it

    static Item Bank(int bank) { return {ItemKind::bank, bank, 0, 0}; }
    static Item Playlists(int bank) { return {ItemKind::playlists, bank, 0, 0}; }
    static Item Track(int bank, int track) { return {ItemKind::track, bank, track, 0}; }
    static Item Pattern(int bank, int track, int pattern) {
        return {ItemKind::pattern, bank, track, pattern};
    }
    friend bool operator==(const Item&, const Item&) = default;
};

// True when the item exists under the image's layout.
bool ItemExists(const DumpImage& image, const Item& item);

// The item as the user reads it: "Bank 05", "Playlist B05", "B05 T02", "B05 T02 P03".
std::string ItemName(const Item& item);

}  // namespace korvel
