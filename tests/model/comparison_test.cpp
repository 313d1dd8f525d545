#include "comparison.h"
#include "dump_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvel {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::PatternMessageAt;

std::unique_ptr<DumpImage> Loaded(const Bytes& bytes, int banks = 12) {
    auto image = std::make_unique<DumpImage>();
    EXPECT_TRUE(image->Load(bytes).ok());
    image->SetLayout(*MemoryLayout::FromBankCount(banks));
    return image;
}

// Slot 0 of each side under test, and slot 40 as the place moved material may stand at.
struct MarkCase {
    const char* what;
    Bytes left;
    Bytes right;
    Mark leftMark;
    Mark rightMark;
    std::optional<int> leftMovedTo;
};

Bytes WithChecksum(Bytes message, std::uint8_t checksum) {
    message[message.size() - 2] = checksum;
    return message;
}

class SlotMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(SlotMarks, FromEachSide) {
    const MarkCase& c = GetParam();
    const Comparison comparison = Comparison::Of(*Loaded(c.left), *Loaded(c.right));
    const SlotMark l = comparison.At(kLeftSide, {SlotArea::pattern, 0});
    EXPECT_EQ(l.mark, c.leftMark) << c.what;
    EXPECT_EQ(comparison.At(kRightSide, {SlotArea::pattern, 0}).mark, c.rightMark) << c.what;
    EXPECT_EQ(l.movedTo ? std::optional(l.movedTo->index) : std::nullopt, c.leftMovedTo) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlotMarks,
    ::testing::Values(MarkCase{"same", PatternMessageAt(0, 24, 1), PatternMessageAt(0, 24, 1),
                               Mark::same, Mark::same, std::nullopt},
                      MarkCase{"differs", PatternMessageAt(0, 24, 1), PatternMessageAt(0, 24, 2),
                               Mark::differs, Mark::differs, std::nullopt},
                      MarkCase{"only here", PatternMessageAt(0, 24, 1), Bytes{}, Mark::onlyHere,
                               Mark::onlyThere, std::nullopt},
                      MarkCase{"only there", Bytes{}, PatternMessageAt(0, 24, 1), Mark::onlyThere,
                               Mark::onlyHere, std::nullopt},
                      MarkCase{"both empty", PatternMessageAt(40, 24, 1),
                               PatternMessageAt(40, 24, 1), Mark::none, Mark::none, std::nullopt},
                      MarkCase{"moved", PatternMessageAt(0, 24, 1), PatternMessageAt(40, 24, 1),
                               Mark::onlyHere, Mark::onlyThere, 40},
                      MarkCase{"changed, and its old content moved", PatternMessageAt(0, 24, 1),
                               Concat({PatternMessageAt(0, 24, 2), PatternMessageAt(40, 24, 1)}),
                               Mark::differs, Mark::differs, 40},
                      MarkCase{"its content at two places there: neither is named",
                               PatternMessageAt(0, 24, 1),
                               Concat({PatternMessageAt(40, 24, 1), PatternMessageAt(41, 24, 1)}),
                               Mark::onlyHere, Mark::onlyThere, std::nullopt},
                      MarkCase{"checksum only", PatternMessageAt(0, 24, 1),
                               WithChecksum(PatternMessageAt(0, 24, 1), 0x55), Mark::differs,
                               Mark::differs, std::nullopt}));

TEST(Comparison, NodesAddUpTheirSlotsAndNameMovesUnderTheOtherLayout) {
    // Left, 12 banks: bank 1 track 1 holds slots 16-19; 16 same, 17 only here, 18 differs.
    const auto left =
        Loaded(Concat({PatternMessageAt(16, 24, 1), PatternMessageAt(17, 24, 2),
                       PatternMessageAt(18, 24, 3), testing::PlaylistMessage(3, 16, 4)}));
    // Right, 3 banks: the content of slot 17 lies at slot 21 (bank 1, track 2, pattern 6).
    const auto right = Loaded(Concat({PatternMessageAt(16, 24, 1), PatternMessageAt(18, 24, 9),
                                      PatternMessageAt(21, 24, 2)}),
                              3);
    const Comparison comparison = Comparison::Of(*left, *right);
    const MemoryLayout twelve = left->Layout();
    EXPECT_EQ(comparison.ItemMark(kLeftSide, Item::Track(0, 1), twelve), Mark::differs);
    EXPECT_EQ(comparison.ItemMark(kLeftSide, Item::Playlists(0), twelve), Mark::onlyHere);
    EXPECT_EQ(comparison.ItemMark(kLeftSide, Item::Track(0, 0), twelve), Mark::none);
    EXPECT_EQ(comparison.ItemMark(kLeftSide, Item::Bank(0), twelve), Mark::differs);
    EXPECT_EQ(comparison.ItemMark(kRightSide, Item::Track(0, 1), right->Layout()), Mark::differs);
    EXPECT_EQ(comparison.MovedTo(kLeftSide, Item::Pattern(0, 1, 1), twelve, right->Layout()),
              Item::Pattern(0, 1, 5));
    EXPECT_EQ(
        ItemName(*comparison.MovedTo(kLeftSide, Item::Pattern(0, 1, 1), twelve, right->Layout())),
        "B01 T02 P06");
    EXPECT_EQ(comparison.Differing(), 1);
    EXPECT_EQ(comparison.OnlyLeft(), 2);
    EXPECT_EQ(comparison.OnlyRight(), 1);
    EXPECT_FALSE(comparison.IsSame());
    EXPECT_EQ(comparison.Summary(),
              "1 slot differs, 2 only on the left, 1 only on the right; the type-3 messages are "
              "the same.");
}

TEST(Comparison, BankNamesAreNoContent) {
    const auto left = Loaded(PatternMessageAt(0, 24, 1));
    left->SetBankName(0, "01 Drums");
    const Comparison comparison = Comparison::Of(*left, *Loaded(PatternMessageAt(0, 24, 1)));
    EXPECT_TRUE(comparison.IsSame());
    EXPECT_TRUE(comparison.BankNamesDiffer(0));
    EXPECT_FALSE(comparison.BankNamesDiffer(1));
}

}  // namespace
}  // namespace korvel
