#include "dump_builder.h"

#include "dump_tree.h"

#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

using korvel::testing::Concat;
using korvel::testing::PatternMessage;
using korvel::testing::PlaylistMessage;

TEST(Rebuild, LabelsTagsAndEmptyIcons) {
    DumpImage image;
    const Forest forest = Rebuild(image);
    EXPECT_EQ(forest[0].text, "Bank 01");
    EXPECT_EQ(forest[11].text, "Bank 12");
    for (const auto& bank : forest) {
        EXPECT_EQ(bank.icon, 0);
        EXPECT_EQ(bank.children[0].icon, 1);
        for (int t = 1; t <= 8; ++t) {
            EXPECT_EQ(bank.children[t].icon, 2);
            for (const auto& pattern : bank.children[t].children) {
                EXPECT_EQ(pattern.icon, 3);
            }
        }
    }
    EXPECT_EQ(forest[4].children[3].tag, MakeItemTag(kTrackKind, 4, 2));
    EXPECT_EQ(forest[4].children[3].children[1].tag, MakeItemTag(kPatternKind, 4, 2, 1));
    DumpImage three;
    three.SetLayoutChoice(0);
    EXPECT_EQ(Rebuild(three)[2].children[8].children[15].tag, 0x2870Fu);
}

// The icon is the kind's column of the strip plus four times the fill.
TEST(Rebuild, FillStateIcons) {
    DumpImage image;
    (void)image.Load(Concat({PlaylistMessage(8), PatternMessage(2, 0, 0)}));
    const Forest forest = Rebuild(image);
    EXPECT_EQ(forest[1].icon, 4);
    EXPECT_EQ(forest[1].children[0].icon, 9);
    EXPECT_EQ(forest[2].children[1].icon, 6);
    EXPECT_EQ(forest[2].children[1].children[0].icon, 11);
    EXPECT_EQ(forest[2].children[1].children[1].icon, 3);
}

TEST(Rebuild, TakesOnlyBankNamesFromTheImage) {
    DumpImage image;
    image.SetBankName(2, "03 Drums");
    image.SetTrackName(0, 0, "B01 T01");
    image.SetPlaylistName(0, "Playlist B07");
    const Forest forest = Rebuild(image);
    EXPECT_EQ(forest[2].text, "03 Drums");
    EXPECT_EQ(forest[0].children[1].text, "Track 1");
    EXPECT_EQ(forest[0].children[0].text, "Playlist B01");
}

TEST(Refresh, ShowsNamesAndIconsAndReportsOnlyRealChanges) {
    DumpImage source;
    (void)source.Load(korvel::testing::FullDump());
    DumpImage image;
    Forest forest = Rebuild(image);
    EXPECT_TRUE(Refresh(image, forest).empty());

    ASSERT_EQ(image.CopyPattern(source, 4, 1, 2, 0, 0, 1), 1);
    const auto changes = Refresh(image, forest);
    EXPECT_EQ(forest[0].children[1].children[1].text, "B05 T02 P03");
    EXPECT_EQ(forest[0].children[1].children[1].icon, 11);
    EXPECT_EQ(forest[0].children[1].icon, 6);
    EXPECT_EQ(forest[0].icon, 4);
    // The pattern (icon and text), its track and its bank: nothing else.
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].path, (NodePath{0, 1, 1}));
    EXPECT_TRUE(changes[0].icon && changes[0].text);
    EXPECT_EQ(changes[1].path, (NodePath{0, 1}));
    EXPECT_EQ(changes[2].path, (NodePath{0}));
    EXPECT_TRUE(Refresh(image, forest).empty());

    // Deleted: the icon goes back to empty and the provenance text stays until a rebuild.
    ASSERT_EQ(image.DeletePattern(0, 0, 1), 1);
    (void)Refresh(image, forest);
    EXPECT_EQ(forest[0].children[1].children[1].icon, 3);
    EXPECT_EQ(forest[0].children[1].children[1].text, "B05 T02 P03");
    EXPECT_EQ(Rebuild(image)[0].children[1].children[1].text, "Pattern  2");
}

TEST(Refresh, BankTextIsAlwaysRewritten) {
    DumpImage image;
    image.SetBankName(3, "04 Keys");
    Forest forest = Rebuild(image);
    image.SetBankName(3, {});
    (void)Refresh(image, forest);
    EXPECT_EQ(forest[3].text, "Bank 04");
}

TEST(Refresh, PutsNamesInAfterARebuild) {
    DumpImage image;
    image.SetTrackName(5, 2, "B01 T03");
    image.SetPlaylistName(5, "Playlist B02");
    Forest forest = Rebuild(image);
    (void)Refresh(image, forest);
    EXPECT_EQ(forest[5].children[3].text, "B01 T03");
    EXPECT_EQ(forest[5].children[0].text, "Playlist B02");
}

TEST(Refresh, ToleratesFewerNodes) {
    DumpImage source;
    (void)source.Load(korvel::testing::FullDump());
    DumpImage image;
    Forest forest = Rebuild(image);
    forest.resize(2);
    forest[1].children.resize(3);
    forest[1].children[2].children.clear();
    ASSERT_EQ(image.CopyBank(source, 1, 1), 1);
    (void)Refresh(image, forest);
    EXPECT_EQ(CountNodes(forest), 42u + 1 + 1 + 5 + 1);
    EXPECT_EQ(forest[1].children[1].icon, 10);
    EXPECT_EQ(FindNode(forest, {1, 2, 0}), nullptr);
    EXPECT_EQ(FindNode(forest, {1, 5}), nullptr);
    EXPECT_NE(FindNode(forest, {1, 1, 3}), nullptr);
}

}  // namespace
}  // namespace korvel::ui
