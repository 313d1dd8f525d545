#include "dump_builder.h"
#include "dump_image.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct AddressCase {
    int layout, bank, track, pattern, slot, byte8, byte9;
};
void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << "slot " << c.slot;
}

class Addressing : public ::testing::TestWithParam<AddressCase> {};

TEST_P(Addressing, FindsTheSlotAndItsIndexBytes) {
    const auto& c = GetParam();
    DumpImage image;
    image.SetLayout(*MemoryLayout::FromBankCount(c.layout));
    EXPECT_EQ(image.PatternSlotIndex(c.bank, c.track, c.pattern), c.slot);
    EXPECT_EQ((c.bank % 3) * 8 + c.track, c.byte8);
    EXPECT_EQ(DumpImage::PatternBase(c.bank, c.layout) + c.pattern, c.byte9);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Addressing,
    ::testing::Values(AddressCase{12, 4, 2, 3, 167, 10, 7}, AddressCase{12, 9, 0, 0, 12, 0, 12},
                      AddressCase{6, 5, 7, 7, 383, 23, 15}, AddressCase{3, 1, 0, 15, 143, 8, 15},
                      AddressCase{3, 0, 0, 4, 4, 0, 4}, AddressCase{12, 3, 0, 0, 4, 0, 4}));

TEST(Addressing, EveryLayoutCoversEachSlotExactlyOnce) {
    for (const int layout : {3, 6, 12}) {
        DumpImage image;
        image.SetLayout(*MemoryLayout::FromBankCount(layout));
        std::vector<int> seen(384, 0);
        for (int b = 0; b < layout; ++b) {
            for (int t = 0; t < 8; ++t) {
                for (int p = 0; p < image.PatternsPerTrack(); ++p) {
                    ++seen[image.PatternSlotIndex(b, t, p)];
                }
            }
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 384) << "layout " << layout;
    }
}

TEST(LayoutChoice, SetAndGet) {
    DumpImage image;
    EXPECT_EQ(image.BankCount(), 12);
    EXPECT_EQ(image.GetLayoutChoice(), 2);
    image.SetLayoutChoice(1);
    EXPECT_EQ(image.GetLayoutChoice(), 1);
    EXPECT_EQ(image.PatternsPerTrack(), 8);
    for (const int ignored : {12, -1, 3, 7}) {
        image.SetLayoutChoice(ignored);
        EXPECT_EQ(image.BankCount(), 6) << ignored;
    }
    image.SetLayoutChoice(0);
    EXPECT_EQ(image.BankCount(), 3);
    EXPECT_EQ(image.PatternsPerTrack(), 16);
    // Only 3, 6 and 12 banks exist.
    for (const int banks : {0, 5, 24, -3}) {
        EXPECT_FALSE(MemoryLayout::FromBankCount(banks).has_value()) << banks;
    }
}

TEST(Queries, PlaylistsAndPatternsEmptiness) {
    DumpImage image;
    (void)image.Load(
        testing::Concat({testing::PlaylistMessage(8 * 3 + 7), testing::PatternMessage(0, 0, 4)}));
    EXPECT_TRUE(image.AreBankPlaylistsEmpty(2));
    EXPECT_FALSE(image.AreBankPlaylistsEmpty(3));
    EXPECT_TRUE(image.AreBankPlaylistsEmpty(4));
    // The same slot is pattern 4 of bank 0 under 3 banks and pattern 0 of bank 3 under 12.
    EXPECT_FALSE(image.IsPatternEmpty(3, 0, 0));
    image.SetLayoutChoice(0);
    EXPECT_FALSE(image.IsPatternEmpty(0, 0, 4));
    EXPECT_TRUE(image.IsPatternEmpty(0, 0, 0));
    EXPECT_TRUE(image.IsPatternEmpty(3, 0, 0));  // no bank 3 under 3 banks
}

}  // namespace
}  // namespace korvel
