#include "comparison.h"

#include "count_text.h"
#include "sysex_message.h"

#include <algorithm>
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

// A cheap key from the length and three samples of the bytes: contents with the same key are
// compared in full, so it only has to spread contents out, never to tell them apart.
std::uint64_t SampleKey(std::span<const std::uint8_t> content) {
    std::uint64_t key = content.size() * 0x9E3779B97F4A7C15ULL;
    if (content.size() >= 8) {
        key ^= Load8(content.data());
        key = (key ^ (key >> 29)) * 0xBF58476D1CE4E5B9ULL;
        key ^= Load8(content.data() + (content.size() - 8) / 2);
        key = (key ^ (key >> 32)) * 0x94D049BB133111EBULL;
        key ^= Load8(content.data() + content.size() - 8);
    } else {
        for (const std::uint8_t byte : content) {
            key = (key ^ byte) * 0x100000001B3ULL;
        }
    }
    return key ^ (key >> 31);
}

// The contents of one area of an image, each at the first slot in the tree's order that holds
// it: open addressing over a fixed power of two, at most half full.
class ContentTable {
  public:
    ContentTable(const DumpImage& image, SlotArea area, const std::vector<int>& treeOrder)
        : image_(image), area_(area) {
        entries_.assign(kSize, Entry{});
        for (const int index : treeOrder) {
            const MessageSlot& slot = image.SlotAt({area, index});
            if (!slot.IsEmpty()) {
                Insert(index, Content(slot));
            }
        }
    }

    // The slot of the first place holding this content, or -1.
    int Find(std::span<const std::uint8_t> content) const {
        const std::uint64_t key = SampleKey(content);
        for (std::size_t at = key & kMask;; at = (at + 1) & kMask) {
            const Entry& entry = entries_[at];
            if (entry.slot < 0) {
                return -1;
            }
            if (entry.key == key &&
                SameBytes(Content(image_.SlotAt({area_, entry.slot})), content)) {
                return entry.slot;
            }
        }
    }

  private:
    static constexpr std::size_t kSize = 1024;  // twice the largest area, 384 slots
    static constexpr std::size_t kMask = kSize - 1;
    struct Entry {
        std::uint64_t key = 0;
        int slot = -1;
    };

    std::span<const std::uint8_t> Content(const MessageSlot& slot) const {
        return ContentOf(slot,
                         area_ == SlotArea::pattern ? kPatternIndexBytes : kPlaylistIndexBytes);
    }

    void Insert(int index, std::span<const std::uint8_t> content) {
        const std::uint64_t key = SampleKey(content);
        for (std::size_t at = key & kMask;; at = (at + 1) & kMask) {
            Entry& entry = entries_[at];
            if (entry.slot < 0) {
                entry = {key, index};
                return;
            }
            if (entry.key == key &&
                SameBytes(Content(image_.SlotAt({area_, entry.slot})), content)) {
                return;  // an earlier place in the tree holds it already
            }
        }
    }

    const DumpImage& image_;
    SlotArea area_;
    std::vector<Entry> entries_;
};

std::vector<int> TreeOrder(SlotArea area, MemoryLayout layout) {
    std::vector<int> order;
    if (area == SlotArea::playlist) {
        order.resize(kPlaylistSlotCount);
        for (int i = 0; i < kPlaylistSlotCount; ++i) {
            order[static_cast<std::size_t>(i)] = i;
        }
        return order;
    }
    order.reserve(kPatternSlotCount);
    for (int b = 0; b < layout.BankCount(); ++b) {
        for (int t = 0; t < kTracksPerBank; ++t) {
            for (int p = 0; p < layout.PatternsPerTrack(); ++p) {
                order.push_back(DumpImage::PatternSlotIn(layout, b, t, p));
            }
        }
    }
    return order;
}

// What the marks of the slots below a node add up to.
class MarkSum {
  public:
    void Add(Mark mark) {
        if (mark == Mark::none) {
            return;
        }
        if (first_ == Mark::none) {
            first_ = mark;
        }
        allSame_ = allSame_ && mark == Mark::same;
        allFirst_ = allFirst_ && mark == first_;
    }
    Mark Total() const {
        if (first_ == Mark::none) {
            return Mark::none;
        }
        if (allSame_) {
            return Mark::same;
        }
        if (allFirst_ && (first_ == Mark::onlyHere || first_ == Mark::onlyThere)) {
            return first_;
        }
        return Mark::differs;
    }

  private:
    Mark first_ = Mark::none;
    bool allSame_ = true;
    bool allFirst_ = true;
};

}  // namespace

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

Comparison Comparison::Of(const DumpImage& left, const DumpImage& right) {
    Comparison result;
    const std::array<const DumpImage*, 2> images = {&left, &right};
    for (const SlotArea area : {SlotArea::pattern, SlotArea::playlist}) {
        const int count = area == SlotArea::pattern ? kPatternSlotCount : kPlaylistSlotCount;
        const int indexBytes = area == SlotArea::pattern ? kPatternIndexBytes : kPlaylistIndexBytes;
        // Built only when some slot needs to know where its content went.
        std::array<std::optional<ContentTable>, 2> tables;
        const auto movedTo = [&](int side, int index,
                                 const MessageSlot& slot) -> std::optional<SlotPlace> {
            const int other = 1 - side;
            auto& table = tables[static_cast<std::size_t>(other)];
            if (!table) {
                table.emplace(*images[static_cast<std::size_t>(other)], area,
                              TreeOrder(area, images[static_cast<std::size_t>(other)]->Layout()));
            }
            const int found = table->Find(ContentOf(slot, indexBytes));
            return found >= 0 && found != index ? std::optional(SlotPlace{area, found})
                                                : std::nullopt;
        };
        for (int i = 0; i < count; ++i) {
            const SlotPlace place{area, i};
            const MessageSlot& l = left.SlotAt(place);
            const MessageSlot& r = right.SlotAt(place);
            if (l.IsEmpty() && r.IsEmpty()) {
                continue;
            }
            SlotMark& leftMark = area == SlotArea::pattern ? result.sides_[0].patterns[i]
                                                           : result.sides_[0].playlists[i];
            SlotMark& rightMark = area == SlotArea::pattern ? result.sides_[1].patterns[i]
                                                            : result.sides_[1].playlists[i];
            if (!l.IsEmpty() && !r.IsEmpty()) {
                const bool same = SameBytes(l.Bytes(), r.Bytes());
                leftMark.mark = rightMark.mark = same ? Mark::same : Mark::differs;
                if (!same) {
                    ++result.differing_;
                    leftMark.movedTo = movedTo(kLeftSide, i, l);
                    rightMark.movedTo = movedTo(kRightSide, i, r);
                }
            } else if (!l.IsEmpty()) {
                leftMark.mark = Mark::onlyHere;
                rightMark.mark = Mark::onlyThere;
                ++result.onlyLeft_;
                leftMark.movedTo = movedTo(kLeftSide, i, l);
            } else {
                leftMark.mark = Mark::onlyThere;
                rightMark.mark = Mark::onlyHere;
                ++result.onlyRight_;
                rightMark.movedTo = movedTo(kRightSide, i, r);
            }
        }
    }
    result.type3Differs_ = !SameBytes(left.type3.Bytes(), right.type3.Bytes());
    for (int b = 0; b < kBankCount; ++b) {
        result.bankNamesDiffer_[static_cast<std::size_t>(b)] =
            left.GetBankName(b) != right.GetBankName(b);
    }
    return result;
}

const SlotMark& Comparison::At(int side, SlotPlace place) const {
    const Side& marks = sides_[static_cast<std::size_t>(side)];
    const auto index = static_cast<std::size_t>(place.index);
    return place.area == SlotArea::pattern ? marks.patterns[index] : marks.playlists[index];
}

Mark Comparison::ItemMark(int side, const Item& item, MemoryLayout layout) const {
    MarkSum sum;
    const auto addTrack = [&](int bank, int track) {
        for (int p = 0; p < layout.PatternsPerTrack(); ++p) {
            sum.Add(At(side, {SlotArea::pattern, DumpImage::PatternSlotIn(layout, bank, track, p)})
                        .mark);
        }
    };
    const auto addPlaylists = [&](int bank) {
        for (int p = 0; p < kPlaylistsPerBank; ++p) {
            sum.Add(At(side, {SlotArea::playlist, bank * kPlaylistsPerBank + p}).mark);
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
    return sum.Total();
}

std::optional<Item> Comparison::MovedTo(int side, const Item& item, MemoryLayout layout,
                                        MemoryLayout otherLayout) const {
    if (item.kind == ItemKind::pattern) {
        const SlotMark& mark =
            At(side, {SlotArea::pattern,
                      DumpImage::PatternSlotIn(layout, item.bank, item.track, item.pattern)});
        return mark.movedTo ? std::optional(ItemOfSlot(*mark.movedTo, otherLayout)) : std::nullopt;
    }
    if (item.kind == ItemKind::playlists) {
        for (int p = 0; p < kPlaylistsPerBank; ++p) {
            const SlotMark& mark =
                At(side, {SlotArea::playlist, item.bank * kPlaylistsPerBank + p});
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

std::string Comparison::Summary() const {
    return Counted(static_cast<std::uint64_t>(differing_), "slot differs", "slots differ") + ", " +
           GroupedNumber(static_cast<std::uint64_t>(onlyLeft_)) + " only on the left, " +
           GroupedNumber(static_cast<std::uint64_t>(onlyRight_)) +
           " only on the right; the type-3 messages " +
           (type3Differs_ ? "differ." : "are the same.");
}

}  // namespace korvel
