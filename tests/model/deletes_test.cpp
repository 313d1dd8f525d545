#include "bank_names.h"
#include "dump_builder.h"
#include "image_slots.h"
#include "dump_image.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

std::vector<bool> Held(const DumpImage& image) {
    std::vector<bool> held;
    for (const auto& slot : korvel::testing::Patterns(image)) {
        held.push_back(!slot.IsEmpty());
    }
    for (const auto& slot : korvel::testing::Playlists(image)) {
        held.push_back(!slot.IsEmpty());
    }
    return held;
}

struct DeleteCase {
    int layoutChoice;
    const char* what;
    int bank, track, pattern;
    std::size_t cleared;
};
void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.what << " " << c.cleared;
}

class Deletes : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(Deletes, ClearExactlyTheirOwnSlots) {
    const auto& c = GetParam();
    DumpImage image;
    (void)image.Load(testing::FullDump());
    image.SetLayoutChoice(c.layoutChoice);
    const std::string what = c.what;
    int result = 0;
    std::set<int> expected;  // pattern slots, then playlist slots offset by 384
    if (what == "pattern") {
        result = image.DeletePattern(c.bank, c.track, c.pattern);
        expected.insert(image.PatternSlotIndex(c.bank, c.track, c.pattern));
    } else if (what == "track") {
        result = image.DeleteTrack(c.bank, c.track);
        for (int p = 0; p < image.PatternsPerTrack(); ++p) {
            expected.insert(image.PatternSlotIndex(c.bank, c.track, p));
        }
    } else if (what == "playlists") {
        result = image.DeletePlaylists(c.bank);
        for (int i = 0; i < 8; ++i) {
            expected.insert(384 + c.bank * 8 + i);
        }
    } else {
        result = image.DeleteBank(c.bank);
        for (int t = 0; t < 8; ++t) {
            for (int p = 0; p < image.PatternsPerTrack(); ++p) {
                expected.insert(image.PatternSlotIndex(c.bank, t, p));
            }
        }
        for (int i = 0; i < 8; ++i) {
            expected.insert(384 + c.bank * 8 + i);
        }
    }
    EXPECT_EQ(result, 1);
    ASSERT_EQ(expected.size(), c.cleared);
    const auto held = Held(image);
    for (std::size_t i = 0; i < held.size(); ++i) {
        EXPECT_EQ(held[i], expected.count(static_cast<int>(i)) == 0) << "slot " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Deletes,
    ::testing::Values(DeleteCase{0, "pattern", 2, 7, 15, 1}, DeleteCase{1, "pattern", 4, 0, 7, 1},
                      DeleteCase{2, "pattern", 11, 3, 3, 1}, DeleteCase{0, "track", 1, 2, 0, 16},
                      DeleteCase{1, "track", 3, 0, 0, 8}, DeleteCase{2, "track", 9, 5, 0, 4},
                      DeleteCase{0, "bank", 2, 0, 0, 136}, DeleteCase{1, "bank", 5, 0, 0, 72},
                      DeleteCase{2, "bank", 7, 0, 0, 40}, DeleteCase{2, "playlists", 10, 0, 0, 8}));

TEST(Delete, TrackOfTheFourthBankUnder6BanksLeavesTheFirstBank) {
    DumpImage image;
    (void)image.Load(testing::FullDump());
    image.SetLayoutChoice(1);
    ASSERT_EQ(image.DeleteTrack(3, 0), 1);
    for (int slot = 0; slot < 16; ++slot) {
        EXPECT_EQ(korvel::testing::Patterns(image)[slot].IsEmpty(), slot >= 8) << slot;
    }
}

TEST(Delete, EmptyPatternIsNoError) {
    DumpImage image;
    EXPECT_EQ(image.DeletePattern(0, 0, 0), 1);
    EXPECT_TRUE(image.WriteToBytes().empty());
}

TEST(Delete, CopiedPatternIsFreedAndNoLongerWritten) {
    DumpImage source, image;
    (void)source.Load(testing::FullDump());
    ASSERT_EQ(image.CopyPattern(source, 1, 1, 1, 2, 2, 2), 1);
    ASSERT_FALSE(image.WriteToBytes().empty());
    EXPECT_EQ(image.DeletePattern(2, 2, 2), 1);
    const auto& slot = korvel::testing::Patterns(image)[image.PatternSlotIndex(2, 2, 2)];
    EXPECT_EQ(slot.copy, nullptr);
    EXPECT_EQ(slot.name, "");
    EXPECT_TRUE(image.WriteToBytes().empty());
}

TEST(Delete, BankEmptiesItsNameButKeepsTrackAndPlaylistNames) {
    DumpImage image;
    (void)image.Load(testing::FullDump());
    image.SetBankName(4, "05 Drums");
    image.SetTrackName(4, 2, "B01 T03");
    image.SetPlaylistName(4, "Playlist B02");
    ASSERT_EQ(image.DeleteBank(4), 1);
    EXPECT_EQ(image.GetBankName(4), "");
    EXPECT_EQ(image.GetTrackName(4, 2), "B01 T03");
    EXPECT_EQ(image.GetPlaylistName(4), "Playlist B02");
    EXPECT_FALSE(korvel::testing::Type3(image).IsEmpty());
}

TEST(Delete, OutsideTheLayoutIsRefused) {
    DumpImage image;
    (void)image.Load(testing::FullDump());
    image.SetLayoutChoice(0);
    image.SetBankName(5, "06 Kept");
    const auto before = image.WriteToBytes();
    EXPECT_EQ(image.DeletePattern(0, 0, 16), 0);
    EXPECT_EQ(image.DeletePattern(0, 8, 0), 0);
    EXPECT_EQ(image.DeleteTrack(3, 0), 0);
    EXPECT_EQ(image.DeleteBank(5), 0);
    EXPECT_EQ(image.DeletePlaylists(-1), 0);
    EXPECT_EQ(image.WriteToBytes(), before);
    EXPECT_EQ(image.GetBankName(5), "06 Kept");
}

TEST(BankName, RenameRulesAndVisibleText) {
    EXPECT_EQ(RenamedBankName(2, "Drums"), "03 Drums");
    EXPECT_EQ(RenamedBankName(2, ""), "Bank 03");
    EXPECT_EQ(VisibleBankText("03 Drums"), "Drums");
    EXPECT_EQ(VisibleBankText("Bank 03"), "");  // what Rename stores for an empty text
    EXPECT_EQ(VisibleBankText("Drums"), "ms");
    EXPECT_EQ(VisibleBankText("abc"), "");
    EXPECT_EQ(VisibleBankText(""), "");
}

TEST(BankName, SetBankNameReplacesLineBreaks) {
    DumpImage image;
    image.SetBankName(0, "01 Two\r\nLines\n");
    EXPECT_EQ(image.GetBankName(0), "01 Two  Lines ");
    image.SetBankName(12, "out of range");
    image.SetBankName(11, "12 Last");
    EXPECT_EQ(image.GetBankName(11), "12 Last");
}

}  // namespace
}  // namespace korvel
