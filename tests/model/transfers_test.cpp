#include "dump_builder.h"
#include "image_slots.h"
#include "dump_image.h"
#include "edits.h"
#include "item_cover.h"
#include "sysex_message.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using testing::Bytes;

// Every written message at its own position, as a map from position to bytes.
std::map<int, Bytes> PatternsOf(const DumpImage& image) {
    std::map<int, Bytes> result;
    for (int i = 0; i < kPatternSlotCount; ++i) {
        if (!korvel::testing::Patterns(image)[i].IsEmpty()) {
            result[i] = Bytes(korvel::testing::Patterns(image)[i].begin,
                              korvel::testing::Patterns(image)[i].end + 1);
        }
    }
    return result;
}

bool ChecksumValid(const MessageSlot& slot, int indexBytes) {
    return slot.begin[slot.Length() - 2] == ComputeChecksum(slot.begin, slot.end, indexBytes);
}

class Transfers : public ::testing::Test {
  protected:
    void SetUp() override {
        (void)source.Load(testing::FullDump(1));
        (void)destination.Load(testing::FullDump(50));
    }
    DumpImage source;
    DumpImage destination;
};

TEST_F(Transfers, PatternFrom12BanksInto6Banks) {
    destination.SetLayoutChoice(1);
    const auto before = PatternsOf(destination);
    ASSERT_EQ(destination.CopyPattern(source, 4, 1, 2, 4, 7, 5), 1);
    ASSERT_EQ(source.PatternSlotIndex(4, 1, 2), 150);
    ASSERT_EQ(destination.PatternSlotIndex(4, 7, 5), 253);
    const MessageSlot& slot = korvel::testing::Patterns(destination)[253];
    EXPECT_NE(slot.copy, nullptr);
    EXPECT_EQ(slot.begin[8], 15);
    EXPECT_EQ(slot.begin[9], 13);
    EXPECT_TRUE(ChecksumValid(slot, 2));
    EXPECT_EQ(slot.name, "B05 T02 P03");
    // The data region is the source's, and no other slot changed.
    const MessageSlot& from = korvel::testing::Patterns(source)[150];
    ASSERT_EQ(slot.Length(), from.Length());
    EXPECT_TRUE(std::equal(from.begin + 10, from.end - 1, slot.begin + 10));
    auto after = PatternsOf(destination);
    after.erase(253);
    auto expected = before;
    expected.erase(253);
    EXPECT_EQ(after, expected);
}

TEST_F(Transfers, NameTravelsOnWithTheMaterial) {
    ASSERT_EQ(destination.CopyPattern(source, 0, 2, 1, 5, 5, 3), 1);
    ASSERT_EQ(source.CopyPattern(destination, 5, 5, 3, 11, 0, 0), 1);
    EXPECT_EQ(source.GetPatternName(11, 0, 0), "B01 T03 P02");
}

TEST_F(Transfers, EmptySourcePatternChangesNothing) {
    korvel::testing::Patterns(source)[source.PatternSlotIndex(0, 0, 0)].Clear();
    korvel::testing::Patterns(destination)[0].SetName("kept");
    const auto before = PatternsOf(destination);
    EXPECT_EQ(destination.CopyPattern(source, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(PatternsOf(destination), before);
    EXPECT_EQ(korvel::testing::Patterns(destination)[0].name, "kept");
}

TEST_F(Transfers, EightPatternTrackIntoSixteenPatternTrack) {
    source.SetLayoutChoice(1);
    destination.SetLayoutChoice(0);
    const auto before = PatternsOf(destination);
    ASSERT_EQ(destination.CopyTrack(source, 0, 2, 1, 4), 1);
    EXPECT_EQ(destination.GetTrackName(1, 4), "B01 T03");
    for (int p = 0; p < 16; ++p) {
        const int slot = destination.PatternSlotIndex(1, 4, p);
        if (p < 8) {
            EXPECT_EQ(korvel::testing::Patterns(destination)[slot].name,
                      "B01 T03 P" + std::string(p < 9 ? "0" : "") + std::to_string(p + 1));
            EXPECT_EQ(korvel::testing::Patterns(destination)[slot].begin[9], p);
        } else {
            EXPECT_EQ(PatternsOf(destination).at(slot), before.at(slot)) << p;
        }
    }
}

TEST_F(Transfers, NamedSourceTrackGivesItsName) {
    source.SetTrackName(3, 1, "Bassline");
    ASSERT_EQ(destination.CopyTrack(source, 3, 1, 0, 0), 1);
    EXPECT_EQ(destination.GetTrackName(0, 0), "Bassline");
}

TEST_F(Transfers, TrackStopsAtTheFirstEmptyPattern) {
    source.SetLayoutChoice(0);
    destination.SetLayoutChoice(0);
    korvel::testing::Patterns(source)[source.PatternSlotIndex(2, 6, 4)].Clear();
    destination.SetTrackName(1, 3, "old");
    const auto before = PatternsOf(destination);
    EXPECT_EQ(destination.CopyTrack(source, 2, 6, 1, 3), 0);
    EXPECT_EQ(destination.GetTrackName(1, 3), "old");
    for (int p = 0; p < 16; ++p) {
        const int slot = destination.PatternSlotIndex(1, 3, p);
        EXPECT_EQ(korvel::testing::Patterns(destination)[slot].copy != nullptr, p < 4) << p;
    }
    EXPECT_EQ(PatternsOf(destination).at(destination.PatternSlotIndex(1, 3, 4)),
              before.at(destination.PatternSlotIndex(1, 3, 4)));
}

TEST_F(Transfers, PlaylistsOfBank2IntoBank9) {
    const auto otherPlaylist = Bytes(korvel::testing::Playlists(destination)[0].begin,
                                     korvel::testing::Playlists(destination)[0].end + 1);
    ASSERT_EQ(destination.CopyPlaylists(source, 2, 9), 1);
    for (int i = 0; i < 8; ++i) {
        const MessageSlot& slot = korvel::testing::Playlists(destination)[72 + i];
        EXPECT_EQ(slot.begin[8], 72 + i);
        EXPECT_TRUE(ChecksumValid(slot, 1));
        EXPECT_EQ(slot.name, "");
    }
    EXPECT_EQ(destination.GetPlaylistName(9), "Playlist B03");
    EXPECT_EQ(Bytes(korvel::testing::Playlists(destination)[0].begin,
                    korvel::testing::Playlists(destination)[0].end + 1),
              otherPlaylist);
}

TEST_F(Transfers, PlaylistsStopAtTheFirstEmptySlot) {
    korvel::testing::Playlists(source)[2 * 8 + 5].Clear();
    destination.SetPlaylistName(9, "kept");
    EXPECT_EQ(destination.CopyPlaylists(source, 2, 9), 0);
    EXPECT_EQ(destination.GetPlaylistName(9), "kept");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(korvel::testing::Playlists(destination)[72 + i].copy != nullptr, i < 5) << i;
    }
}

struct BankNameCase {
    std::string sourceName;
    std::string destinationBefore;
    std::string expected;
};
void PrintTo(const BankNameCase& c, std::ostream* os) {
    *os << c.expected;
}

class BankNames : public Transfers, public ::testing::WithParamInterface<BankNameCase> {};

TEST_P(BankNames, CarryOverUnderTheDestinationNumber) {
    const auto& c = GetParam();
    source.SetBankName(2, c.sourceName);
    destination.SetBankName(6, c.destinationBefore);
    ASSERT_EQ(destination.CopyBank(source, 2, 6), 1);
    EXPECT_EQ(destination.GetBankName(6), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Names, BankNames,
                         ::testing::Values(BankNameCase{"03 Drums", "", "07 Drums"},
                                           BankNameCase{"", "07 Mine", "07 Mine"},
                                           BankNameCase{"ab", "x", "07 "},
                                           BankNameCase{"Drums", "", "07 ms"},
                                           BankNameCase{"Bank 03", "07 Mine", "07 Mine"}));

TEST_F(Transfers, BankWithoutPlaylistsCopiesTracksAndNameThenStops) {
    for (int i = 0; i < 8; ++i) {
        korvel::testing::Playlists(source)[4 * 8 + i].Clear();
    }
    source.SetBankName(4, "05 Keys");
    EXPECT_EQ(destination.CopyBank(source, 4, 1), 0);
    EXPECT_EQ(destination.GetBankName(1), "02 Keys");
    for (int t = 0; t < 8; ++t) {
        EXPECT_EQ(destination.GetTrackName(1, t), "B05 T0" + std::to_string(t + 1));
    }
    EXPECT_EQ(destination.GetPlaylistName(1), "");
}

TEST_F(Transfers, SavedDestinationLoadsWithTheCopiesInPlace) {
    destination.SetLayoutChoice(1);
    ASSERT_EQ(destination.CopyBank(source, 0, 5), 1);
    const Bytes saved = destination.WriteToBytes();
    DumpImage again;
    const auto result = again.Load(saved);
    EXPECT_EQ(result.report.Total(), 0u);
    again.SetLayoutChoice(1);
    for (int t = 0; t < 8; ++t) {
        for (int p = 0; p < source.PatternsPerTrack(); ++p) {
            const MessageSlot& slot =
                korvel::testing::Patterns(again)[again.PatternSlotIndex(5, t, p)];
            ASSERT_FALSE(slot.IsEmpty());
            EXPECT_EQ(slot.begin[8], 2 * 8 + t);
            EXPECT_EQ(slot.begin[9], 8 + p);
            EXPECT_TRUE(ChecksumValid(slot, 2));
            const MessageSlot& from =
                korvel::testing::Patterns(source)[source.PatternSlotIndex(0, t, p)];
            EXPECT_TRUE(std::equal(from.begin + 10, from.end - 1, slot.begin + 10));
        }
    }
}

TEST_F(Transfers, CopyOntoACopyFreesItAndLoadedBytesStay) {
    const Bytes raw(destination.LoadedBytes().data(),
                    destination.LoadedBytes().data() + destination.LoadedBytes().size());
    ASSERT_EQ(destination.CopyPattern(source, 0, 0, 0, 0, 0, 0), 1);
    ASSERT_EQ(destination.CopyPattern(source, 0, 0, 1, 0, 0, 0), 1);
    EXPECT_EQ(korvel::testing::Patterns(destination)[0].name, "B01 T01 P02");
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), destination.LoadedBytes().data()));
}

TEST_F(Transfers, SourceIsNeverChanged) {
    const Bytes before = source.WriteToBytes();
    korvel::testing::Playlists(source)[3].Clear();
    const Bytes cleared = source.WriteToBytes();
    (void)destination.CopyBank(source, 0, 0);
    (void)destination.CopyBank(source, 1, 1);
    EXPECT_EQ(source.WriteToBytes(), cleared);
    EXPECT_NE(before, cleared);
}

// Calls outside either image's layout are refused and change nothing.
TEST_F(Transfers, InvalidPositionsAreRefused) {
    destination.SetLayoutChoice(1);
    const Bytes before = destination.WriteToBytes();
    EXPECT_EQ(destination.CopyPattern(source, 12, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(destination.CopyPattern(source, 0, 8, 0, 0, 0, 0), 0);
    EXPECT_EQ(destination.CopyPattern(source, 0, 0, 4, 0, 0, 0), 0);
    EXPECT_EQ(destination.CopyPattern(source, 0, 0, 0, 6, 0, 0), 0);
    EXPECT_EQ(destination.CopyPattern(source, 0, 0, 0, 0, 0, 8), 0);
    EXPECT_EQ(destination.CopyPattern(source, 0, 0, 0, 0, 0, -1), 0);
    EXPECT_EQ(destination.CopyTrack(source, 0, -1, 0, 0), 0);
    EXPECT_EQ(destination.CopyPlaylists(source, 0, 6), 0);
    EXPECT_EQ(destination.CopyBank(source, 0, 6), 0);
    // Longer source tracks than the destination's would lose patterns.
    source.SetLayoutChoice(0);
    EXPECT_EQ(destination.CopyTrack(source, 0, 0, 0, 0), 0);
    EXPECT_EQ(destination.CopyBank(source, 0, 0), 0);
    EXPECT_EQ(destination.WriteToBytes(), before);
    for (const auto& name : destination.TrackNames()) {
        EXPECT_EQ(name, "");
    }
}

// The refusals are the design's own words; the window and korvel-cli show them as they are.
TEST(EditRefusals, SayWhyInTheDesignsWords) {
    DumpImage source;
    DumpImage destination;
    EXPECT_EQ(TransferItem(destination, source, Item::Bank(0), Item::Track(0, 0)).refusal,
              "Source and destination must be of the same type:\nBank, Playlist, Track or "
              "Pattern.");
    EXPECT_EQ(RenameItem(destination, Item::Track(0, 0), "x").refusal,
              "Only Banks can be renamed!");
    source.SetLayoutChoice(0);  // 32 patterns a track, into a track of 8
    EXPECT_EQ(
        TransferItem(destination, source, Item::Pattern(0, 0, 0), Item::Pattern(0, 0, 0)).refusal,
        "The memory layout (Pattern count)\nof the Source must be equal or smaller\nthan "
        "the memory layout of the destination.\nFor example a Track with 8 Patterns can be "
        "moved\nto a Track with 16 Patterns, but not vice versa.");
    EXPECT_FALSE(CanRename(Item::Playlists(0)));
}

// What an item covers, in the order a copy walks it: a bank's tracks pattern by pattern, then
// its playlists; with the names that belong to it.
TEST(ItemCover, EachKindInCopyOrder) {
    const MemoryLayout six = *MemoryLayout::FromBankCount(6);
    struct Case {
        Item item;
        std::size_t slots;
        std::size_t names;
        SlotPlace first;
        SlotPlace last;
    };
    const Case cases[] = {
        {Item::Pattern(1, 2, 3),
         1,
         0,
         {SlotArea::pattern, DumpImage::PatternSlotIn(six, 1, 2, 3)},
         {SlotArea::pattern, DumpImage::PatternSlotIn(six, 1, 2, 3)}},
        {Item::Track(1, 2),
         8,
         1,
         {SlotArea::pattern, DumpImage::PatternSlotIn(six, 1, 2, 0)},
         {SlotArea::pattern, DumpImage::PatternSlotIn(six, 1, 2, 7)}},
        {Item::Playlists(4), 8, 1, {SlotArea::playlist, 32}, {SlotArea::playlist, 39}},
        {Item::Bank(5),
         72,
         10,
         {SlotArea::pattern, DumpImage::PatternSlotIn(six, 5, 0, 0)},
         {SlotArea::playlist, 47}},
    };
    for (const Case& c : cases) {
        const ItemCover cover = SlotsOf(c.item, six);
        ASSERT_EQ(cover.slots.size(), c.slots) << ItemName(c.item);
        EXPECT_EQ(cover.names.size(), c.names) << ItemName(c.item);
        EXPECT_EQ(cover.slots.front().place, c.first) << ItemName(c.item);
        EXPECT_EQ(cover.slots.back().place, c.last) << ItemName(c.item);
    }
    EXPECT_EQ(SlotsOf(Item::Bank(5), six).slots[8].item, Item::Pattern(5, 1, 0));
}

}  // namespace
}  // namespace korvel
