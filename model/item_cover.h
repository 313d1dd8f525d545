// What an item covers under a layout: the slots it stands for, in the order a copy goes through
// them (a bank: its tracks' patterns track by track, then its playlists), and the names that
// belong to it. Transfers, deletes, their undo steps and the comparison's marks all ask here.
#pragma once

#include "image_change.h"
#include "item.h"
#include "memory_layout.h"
#include "dump_image.h"

#include <vector>

namespace korvel {

struct CoveredSlot {
    // The slot's own item: a pattern, or for a playlist kind `playlists` with its number in the
    // set in `pattern`.
    Item item;
    SlotPlace place;
};

struct ItemCover {
    std::vector<CoveredSlot> slots;
    std::vector<NamePlace> names;
};

ItemCover SlotsOf(const Item& item, MemoryLayout layout);

// The one walk over what an item covers: its slots in copy order, each track's name after its
// patterns, a set's name after its playlists, a bank's name last. A template, so that the
// comparison's look at every node of a tree calls nothing.
template <typename OnSlot, typename OnName>
void ForEachCovered(const Item& item, MemoryLayout layout, OnSlot slot, OnName name) {
    const auto track = [&](int bank, int t) {
        for (int p = 0; p < layout.PatternsPerTrack(); ++p) {
            slot({Item::Pattern(bank, t, p),
                  {SlotArea::pattern, DumpImage::PatternSlotIn(layout, bank, t, p)}});
        }
        name({NameArea::track, bank * kTracksPerBank + t});
    };
    const auto playlists = [&](int bank) {
        for (int i = 0; i < kPlaylistsPerBank; ++i) {
            slot({Item{ItemKind::playlists, bank, 0, i},
                  {SlotArea::playlist, bank * kPlaylistsPerBank + i}});
        }
        name({NameArea::playlist, bank});
    };
    switch (item.kind) {
        case ItemKind::bank:
            for (int t = 0; t < kTracksPerBank; ++t) {
                track(item.bank, t);
            }
            playlists(item.bank);
            name({NameArea::bank, item.bank});
            break;
        case ItemKind::playlists:
            playlists(item.bank);
            break;
        case ItemKind::track:
            track(item.bank, item.track);
            break;
        case ItemKind::pattern:
            slot({item,
                  {SlotArea::pattern,
                   DumpImage::PatternSlotIn(layout, item.bank, item.track, item.pattern)}});
            break;
        case ItemKind::none:
            break;
    }
}

// The slots alone, one at a time, for the callers that only look: nothing to allocate.
template <typename OnSlot>
void ForEachSlotOf(const Item& item, MemoryLayout layout, OnSlot visit) {
    ForEachCovered(item, layout, visit, [](NamePlace) {});
}

}  // namespace korvel
