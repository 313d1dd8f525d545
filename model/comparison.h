// Two dumps compared slot by slot, as the device stores them: the type-3 message, the 96
// playlist slots and the 384 pattern slots of one image against the same slots of the other.
// Material that differs or stands only on one side and whose content lies at another place of
// the other dump is reported with that place: it was moved there.
#pragma once

#include "dump_image.h"
#include "image_change.h"
#include "item.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korvel {

// A slot's or an item's mark, from one side: "same", "differs", "only here", "only there"; none
// where both are empty.
enum class Mark : std::uint8_t { none, same, differs, onlyHere, onlyThere };

inline constexpr int kLeftSide = 0;
inline constexpr int kRightSide = 1;

// What two marks below one node add up to: none adds nothing, two alike stay as they are, and
// anything else differs. A node's mark is the sum of its slots'.
Mark AddMarks(Mark a, Mark b);

// "same", "differs", "only here", "only there", or "" for none.
const char* MarkWord(Mark mark);

struct SlotMark {
    Mark mark = Mark::none;
    // For moved material: the first place in the other dump's tree order that holds the same
    // content.
    std::optional<SlotPlace> movedTo;
};

// The item a slot belongs to under a layout: a pattern, or the playlist set of its bank.
Item ItemOfSlot(SlotPlace place, MemoryLayout layout);

// Where a slot stands in the tree's order under a layout: bank by bank, the playlist set first.
int TreeRank(SlotPlace place, MemoryLayout layout);

class Comparison {
  public:
    // Both images as they stand; the comparison holds no pointer into them.
    static Comparison Of(const DumpImage& left, const DumpImage& right);

    SlotMark At(int side, SlotPlace place) const;
    // The mark of an item of `side`'s tree under that side's layout: a slot's own mark, or for
    // a track, playlist set or bank what the marks of the slots below it add up to.
    Mark ItemMark(int side, const Item& item, MemoryLayout layout) const;
    // Where moved material of the item went: for a pattern its slot's place, for a playlist set
    // that of its first moved playlist. Named under the other side's layout.
    std::optional<Item> MovedTo(int side, const Item& item, MemoryLayout layout,
                                MemoryLayout otherLayout) const;

    bool Type3Differs() const { return type3Differs_; }
    bool BankNamesDiffer(int bank) const;
    // Slots of both images counted from the left: both hold one and they differ, only the left
    // holds one, only the right.
    int Differing() const { return differing_; }
    int OnlyLeft() const { return onlyLeft_; }
    int OnlyRight() const { return onlyRight_; }
    bool IsSame() const { return differing_ + onlyLeft_ + onlyRight_ == 0 && !type3Differs_; }
    // The slots counted above that lie in playlist sets of banks `layout` does not show (with
    // 3 or 6 banks, those of banks 4 to 12 or 7 to 12): no node of such a tree carries them.
    int HiddenBy(MemoryLayout layout) const;
    // "12 slots differ, 3 only on the left, 5 only on the right; the type-3 messages are the
    // same.", with "; 1 in playlists of banks this layout does not show" before the type-3
    // part when `shown` hides some.
    std::string Summary(MemoryLayout shown = {}) const;

  private:
    // A slot's mark in four bytes: the moved-to slot in the same area, or -1.
    struct PackedMark {
        Mark mark = Mark::none;
        std::int16_t movedTo = -1;
    };
    struct Side {
        std::array<PackedMark, kPatternSlotCount> patterns;
        std::array<PackedMark, kPlaylistSlotCount> playlists;

        std::span<PackedMark> MarksOf(SlotArea area) {
            return area == SlotArea::pattern ? std::span<PackedMark>(patterns)
                                             : std::span<PackedMark>(playlists);
        }
        std::span<const PackedMark> MarksOf(SlotArea area) const {
            return area == SlotArea::pattern ? std::span<const PackedMark>(patterns)
                                             : std::span<const PackedMark>(playlists);
        }
    };
    std::array<Side, 2> sides_;
    std::array<bool, kBankCount> bankNamesDiffer_{};
    bool type3Differs_ = false;
    int differing_ = 0;
    int onlyLeft_ = 0;
    int onlyRight_ = 0;
};

}  // namespace korvel
