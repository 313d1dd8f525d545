#include "comparison.h"

#include "count_text.h"
#include "sysex_message.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

// A message's content: its data region, the index bytes and the checksum set aside. The type
// needs no place in it, since patterns and playlists are looked up in tables of their own.
std::span<const std::uint8_t> ContentOf(const MessageSlot& slot, int indexBytes) {
    const std::size_t start = kHeaderLength + 1 + static_cast<std::size_t>(indexBytes);
    return {slot.begin + start, slot.Length() - start - 2};
}

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

std::uint64_t Load8(const std::uint8_t* at) {
    std::uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A cheap key from the length and the content's first and last eight bytes: contents with the
// same key are compared in full, so it only has to spread contents out, never to tell them
// apart.
std::uint32_t SampleKey(std::span<const std::uint8_t> content) {
    std::uint64_t key = content.size();
    if (content.size() >= 8) {
        key ^= Load8(content.data()) ^ std::rotl(Load8(content.data() + content.size() - 8), 29);
        key *= 0x9E3779B97F4A7C15ULL;
    } else {
        for (const std::uint8_t byte : content) {
            key = (key ^ byte) * 0x100000001B3ULL;
        }
    }
    return static_cast<std::uint32_t>(key >> 32);
}

// One area of an image as the comparison reads it: its slots and their index bytes.
struct Area {
    std::span<const MessageSlot> slots;
    int indexBytes;

    static Area Of(const DumpImage& image, SlotArea area) {
        if (area == SlotArea::pattern) {
            return {image.patterns, kPatternIndexBytes};
        }
        return {image.playlists, kPlaylistIndexBytes};
    }
    std::span<const std::uint8_t> Content(int index) const {
        return ContentOf(slots[static_cast<std::size_t>(index)], indexBytes);
    }
};

// Finds, for each of a few contents of one side (the needles), the one place on the other side
// that holds the same content, if exactly one does (a blank pattern standing at thirty places
// names none of them): one pass over the other side's slots, each looked up in a small table of
// the needles' keys. Open addressing over a power of two at most
// half full; an entry packs the key's high bits over the needle's number plus one, zero is free.
class NeedleSearch {
  public:
    // `ownKeys` and, for Search, `otherKeys` are each slot's key, for the slots that hold one.
    NeedleSearch(const Area& own, std::span<const std::uint32_t> ownKeys,
                 std::span<const int> needles)
        : own_(own), needles_(needles), found_(needles.size(), -1), matches_(needles.size(), 0) {
        std::uint32_t size = 64;
        while (size < 2 * needles.size()) {
            size *= 2;
        }
        mask_ = size - 1;
        entries_.assign(size, 0);
        for (std::size_t n = 0; n < needles.size(); ++n) {
            const std::uint32_t key = ownKeys[static_cast<std::size_t>(needles[n])];
            std::uint32_t at = key & mask_;
            while (entries_[at] != 0) {
                at = (at + 1) & mask_;
            }
            entries_[at] = (key & ~kNeedleMask) | static_cast<std::uint32_t>(n + 1);
        }
    }

    // Looks at every slot of the other side and counts the places that hold each needle.
    void Search(const Area& other, std::span<const std::uint32_t> otherKeys) {
        for (std::size_t i = 0; i < other.slots.size(); ++i) {
            if (other.slots[i].IsEmpty()) {
                continue;
            }
            const std::uint32_t key = otherKeys[i];
            for (std::uint32_t at = key & mask_; entries_[at] != 0; at = (at + 1) & mask_) {
                const std::uint32_t entry = entries_[at];
                if ((entry & ~kNeedleMask) != (key & ~kNeedleMask)) {
                    continue;
                }
                const std::size_t n = (entry & kNeedleMask) - 1;
                if (!SameBytes(own_.Content(needles_[n]), other.Content(static_cast<int>(i)))) {
                    continue;
                }
                found_[n] = static_cast<int>(i);
                ++matches_[n];
            }
        }
    }

    // The one slot of the other side that holds needle `n`, or -1 for none or several.
    int Found(std::size_t n) const { return matches_[n] == 1 ? found_[n] : -1; }

  private:
    static constexpr std::uint32_t kNeedleMask = 0x1FF;  // needle + 1, up to 385

    const Area& own_;
    std::span<const int> needles_;
    std::vector<int> found_;
    std::vector<int> matches_;
    std::vector<std::uint32_t> entries_;
    std::uint32_t mask_ = 0;
};

}  // namespace

Mark AddMarks(Mark a, Mark b) {
    if (a == Mark::none) {
        return b;
    }
    if (b == Mark::none || a == b) {
        return a;
    }
    return Mark::differs;
}

const char* MarkWord(Mark mark) {
    switch (mark) {
        case Mark::same:
            return "same";
        case Mark::differs:
            return "differs";
        case Mark::onlyHere:
            return "only here";
        case Mark::onlyThere:
            return "only there";
        case Mark::none:
            break;
    }
    return "";
}

Item ItemOfSlot(SlotPlace place, MemoryLayout layout) {
    if (place.area == SlotArea::playlist) {
        return Item::Playlists(place.index / kPlaylistsPerBank);
    }
    const int group = place.index / (kTracksPerBank * kPhysicalPatterns);
    const int track = place.index / kPhysicalPatterns % kTracksPerBank;
    const int physical = place.index % kPhysicalPatterns;
    const int perTrack = layout.PatternsPerTrack();
    return Item::Pattern(group + 3 * (physical / perTrack), track, physical % perTrack);
}

int TreeRank(SlotPlace place, MemoryLayout layout) {
    const Item item = ItemOfSlot(place, layout);
    // Within a bank the playlist set comes first, then the tracks' patterns.
    const int inBank = item.kind == ItemKind::playlists
                           ? place.index % kPlaylistsPerBank
                           : kPlaylistsPerBank + item.track * kPhysicalPatterns + item.pattern;
    return item.bank * (kPlaylistsPerBank + kTracksPerBank * kPhysicalPatterns) + inBank;
}

Comparison Comparison::Of(const DumpImage& left, const DumpImage& right) {
    Comparison result;
    for (const SlotArea kind : {SlotArea::pattern, SlotArea::playlist}) {
        const std::array<Area, 2> areas = {Area::Of(left, kind), Area::Of(right, kind)};
        const std::array<std::span<PackedMark>, 2> marks = {
            result.sides_[kLeftSide].MarksOf(kind), result.sides_[kRightSide].MarksOf(kind)};
        // The slots of each side that differ or stand alone: their content may lie elsewhere.
        std::array<std::vector<int>, 2> loose;
        // Each held message's key, taken while its bytes are at hand anyway.
        std::array<std::array<std::uint32_t, kPatternSlotCount>, 2> keys;
        for (auto& slots : loose) {
            slots.reserve(areas[0].slots.size());
        }
        for (std::size_t i = 0; i < areas[0].slots.size(); ++i) {
            const MessageSlot& l = areas[0].slots[i];
            const MessageSlot& r = areas[1].slots[i];
            if (l.IsEmpty() && r.IsEmpty()) {
                continue;
            }
            const int index = static_cast<int>(i);
            keys[0][i] = l.IsEmpty() ? 0 : SampleKey(areas[0].Content(index));
            keys[1][i] = r.IsEmpty() ? 0 : SampleKey(areas[1].Content(index));
            Mark& leftMark = marks[0][i].mark;
            Mark& rightMark = marks[1][i].mark;
            if (!l.IsEmpty() && !r.IsEmpty()) {
                const bool same = SameBytes(l.Bytes(), r.Bytes());
                leftMark = rightMark = same ? Mark::same : Mark::differs;
                if (!same) {
                    ++result.differing_;
                    loose[0].push_back(index);
                    loose[1].push_back(index);
                }
            } else if (!l.IsEmpty()) {
                leftMark = Mark::onlyHere;
                rightMark = Mark::onlyThere;
                ++result.onlyLeft_;
                loose[0].push_back(index);
            } else {
                leftMark = Mark::onlyThere;
                rightMark = Mark::onlyHere;
                ++result.onlyRight_;
                loose[1].push_back(index);
            }
        }
        for (const std::size_t side : {0u, 1u}) {
            if (loose[side].empty()) {
                continue;
            }
            const std::size_t other = 1 - side;
            NeedleSearch search(areas[side], keys[side], loose[side]);
            search.Search(areas[other], keys[other]);
            for (std::size_t n = 0; n < loose[side].size(); ++n) {
                const int index = loose[side][n];
                const int found = search.Found(n);
                // The same place with the same content differs only in its index or checksum.
                if (found >= 0 && found != index) {
                    marks[side][static_cast<std::size_t>(index)].movedTo =
                        static_cast<std::int16_t>(found);
                }
            }
        }
    }
    result.type3Differs_ = !SameBytes(left.type3.Bytes(), right.type3.Bytes());
    for (std::size_t b = 0; b < result.bankNamesDiffer_.size(); ++b) {
        result.bankNamesDiffer_[b] = left.BankNames()[b] != right.BankNames()[b];
    }
    return result;
}

SlotMark Comparison::At(int side, SlotPlace place) const {
    const PackedMark packed = sides_[static_cast<std::size_t>(side)].MarksOf(
        place.area)[static_cast<std::size_t>(place.index)];
    SlotMark mark{packed.mark, std::nullopt};
    if (packed.movedTo >= 0) {
        mark.movedTo = SlotPlace{place.area, packed.movedTo};
    }
    return mark;
}

Mark Comparison::ItemMark(int side, const Item& item, MemoryLayout layout) const {
    Mark sum = Mark::none;
    const auto add = [&](SlotArea area, int index) {
        sum = AddMarks(sum, At(side, {area, index}).mark);
    };
    const auto addTrack = [&](int bank, int track) {
        for (int p = 0; p < layout.PatternsPerTrack(); ++p) {
            add(SlotArea::pattern, DumpImage::PatternSlotIn(layout, bank, track, p));
        }
    };
    const auto addPlaylists = [&](int bank) {
        for (int p = 0; p < kPlaylistsPerBank; ++p) {
            add(SlotArea::playlist, bank * kPlaylistsPerBank + p);
        }
    };
    switch (item.kind) {
        case ItemKind::pattern:
            return At(side, {SlotArea::pattern,
                             DumpImage::PatternSlotIn(layout, item.bank, item.track, item.pattern)})
                .mark;
        case ItemKind::track:
            addTrack(item.bank, item.track);
            break;
        case ItemKind::playlists:
            addPlaylists(item.bank);
            break;
        case ItemKind::bank:
            addPlaylists(item.bank);
            for (int t = 0; t < kTracksPerBank; ++t) {
                addTrack(item.bank, t);
            }
            break;
        case ItemKind::none:
            break;
    }
    return sum;
}

std::optional<Item> Comparison::MovedTo(int side, const Item& item, MemoryLayout layout,
                                        MemoryLayout otherLayout) const {
    if (item.kind == ItemKind::pattern) {
        const SlotMark mark =
            At(side, {SlotArea::pattern,
                      DumpImage::PatternSlotIn(layout, item.bank, item.track, item.pattern)});
        return mark.movedTo ? std::optional(ItemOfSlot(*mark.movedTo, otherLayout)) : std::nullopt;
    }
    if (item.kind == ItemKind::playlists) {
        for (int p = 0; p < kPlaylistsPerBank; ++p) {
            const SlotMark mark = At(side, {SlotArea::playlist, item.bank * kPlaylistsPerBank + p});
            if (mark.movedTo) {
                return ItemOfSlot(*mark.movedTo, otherLayout);
            }
        }
    }
    return std::nullopt;
}

bool Comparison::BankNamesDiffer(int bank) const {
    return bank >= 0 && bank < kBankCount && bankNamesDiffer_[static_cast<std::size_t>(bank)];
}

int Comparison::HiddenBy(MemoryLayout layout) const {
    const auto& playlists = sides_[kLeftSide].playlists;
    int hidden = 0;
    for (std::size_t i = static_cast<std::size_t>(layout.BankCount() * kPlaylistsPerBank);
         i < playlists.size(); ++i) {
        hidden += playlists[i].mark != Mark::none && playlists[i].mark != Mark::same ? 1 : 0;
    }
    return hidden;
}

std::string Comparison::Summary(MemoryLayout shown) const {
    const int hidden = HiddenBy(shown);
    return Counted(static_cast<std::uint64_t>(differing_), "slot differs", "slots differ") + ", " +
           GroupedNumber(static_cast<std::uint64_t>(onlyLeft_)) + " only on the left, " +
           GroupedNumber(static_cast<std::uint64_t>(onlyRight_)) + " only on the right; " +
           (hidden > 0 ? GroupedNumber(static_cast<std::uint64_t>(hidden)) +
                             " in playlists of banks this layout does not show; "
                       : std::string()) +
           "the type-3 messages " + (type3Differs_ ? "differ." : "are the same.");
}

}  // namespace korvel
