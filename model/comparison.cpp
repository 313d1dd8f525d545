#include "comparison.h"

#include "item_cover.h"

#include "count_text.h"
#include "sysex_message.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
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

// One area of an image as the comparison reads it: its slots and their index bytes.
struct Area {
    std::span<const MessageSlot> slots;
    int indexBytes;

    static Area Of(const DumpImage& image, SlotArea area) {
        if (area == SlotArea::pattern) {
            return {image.PatternSlots(), kPatternIndexBytes};
        }
        return {image.PlaylistSlots(), kPlaylistIndexBytes};
    }
    std::span<const std::uint8_t> Content(int index) const {
        return ContentOf(slots[static_cast<std::size_t>(index)], indexBytes);
    }
};

std::uint64_t Load8(const std::uint8_t* at) {
    std::uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A content's hash from its length and its first and last eight bytes: contents with the same
// hash are compared in full, so it only has to spread them out. Hashing whole contents made a
// comparison cost some fifty byte comparisons of the two dumps instead of a few.
struct SampleHash {
    std::size_t operator()(std::string_view content) const {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
        std::uint64_t key = content.size();
        if (content.size() >= 8) {
            key ^= Load8(bytes) ^ std::rotl(Load8(bytes + content.size() - 8), 29);
        } else {
            for (std::size_t i = 0; i < content.size(); ++i) {
                key = (key ^ bytes[i]) * 0x100000001B3ULL;
            }
        }
        return static_cast<std::size_t>(key * 0x9E3779B97F4A7C15ULL >> 32);
    }
};

// Where each content of an area stands: the first slot in order that holds it, and how many do.
// A blank pattern standing at thirty places names none of them.
class ContentPlaces {
  public:
    explicit ContentPlaces(const Area& area) {
        std::size_t size = 16;
        while (size < 2 * area.slots.size()) {
            size *= 2;
        }
        table_.resize(size);
        for (std::size_t i = 0; i < area.slots.size(); ++i) {
            if (area.slots[i].IsEmpty()) {
                continue;
            }
            const std::string_view content = View(area.Content(static_cast<int>(i)));
            Place& place = table_[SlotFor(content)];
            if (place.count++ == 0) {
                place = {content, static_cast<int>(i), 1};
            }
        }
    }

    // The one slot that holds `content`, or -1 for none or several.
    int OnlyPlaceOf(std::span<const std::uint8_t> content) const {
        const Place& place = table_[SlotFor(View(content))];
        return place.count == 1 ? place.index : -1;
    }

  private:
    struct Place {
        std::string_view content;
        int index = 0;
        int count = 0;  // 0: a free entry
    };
    static std::string_view View(std::span<const std::uint8_t> bytes) {
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }
    // Open addressing in one block, at most half full: a comparison runs after every change, and
    // a node for each content would cost more than the comparison itself.
    std::size_t SlotFor(std::string_view content) const {
        const std::size_t mask = table_.size() - 1;
        std::size_t at = SampleHash{}(content)&mask;
        while (table_[at].count != 0 && table_[at].content != content) {
            at = (at + 1) & mask;
        }
        return at;
    }
    std::vector<Place> table_;
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
            const ContentPlaces otherPlaces(areas[1 - side]);
            for (const int index : loose[side]) {
                const int found = otherPlaces.OnlyPlaceOf(areas[side].Content(index));
                // The same place with the same content differs only in its index or checksum.
                if (found >= 0 && found != index) {
                    marks[side][static_cast<std::size_t>(index)].movedTo =
                        static_cast<std::int16_t>(found);
                }
            }
        }
    }
    result.type3Differs_ = !SameBytes(left.Type3Slot().Bytes(), right.Type3Slot().Bytes());
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
    ForEachSlotOf(item, layout,
                  [&](const CoveredSlot& slot) { sum = AddMarks(sum, At(side, slot.place).mark); });
    return sum;
}

std::optional<Item> Comparison::MovedTo(int side, const Item& item, MemoryLayout layout,
                                        MemoryLayout otherLayout) const {
    // Only a pattern and a playlist set say where their material went.
    if (item.kind != ItemKind::pattern && item.kind != ItemKind::playlists) {
        return std::nullopt;
    }
    std::optional<Item> moved;
    ForEachSlotOf(item, layout, [&](const CoveredSlot& slot) {
        if (const SlotMark mark = At(side, slot.place); mark.movedTo && !moved) {
            moved = ItemOfSlot(*mark.movedTo, otherLayout);
        }
    });
    return moved;
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
