#include "dump_builder.h"
#include "outline.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvel {
namespace {

using testing::Concat;
using testing::PatternMessage;
using testing::PlaylistMessage;

TEST(Outline, FreshImageUnderEachLayout) {
    for (const auto& [choice, banks, patterns] :
         {std::tuple{0, 3u, 16u}, std::tuple{1, 6u, 8u}, std::tuple{2, 12u, 4u}}) {
        DumpImage image;
        image.SetLayoutChoice(choice);
        const Outline outline = MakeOutline(image);
        ASSERT_EQ(outline.size(), banks);
        const OutlineNode& last = outline.back();
        EXPECT_EQ(last.Text(),
                  "Bank " + std::string(banks < 10 ? "0" : "") + std::to_string(banks));
        ASSERT_EQ(last.children.size(), 9u);
        EXPECT_EQ(last.children[0].Text(),
                  "Playlist B" + std::string(banks < 10 ? "0" : "") + std::to_string(banks));
        EXPECT_EQ(last.children[8].Text(), "Track 8");
        EXPECT_EQ(last.children[8].item, Item::Track(static_cast<int>(banks) - 1, 7));
        ASSERT_EQ(last.children[8].children.size(), patterns);
        EXPECT_EQ(last.children[8].children[0].Text(), "Pattern  1");
        EXPECT_EQ(last.children[8].children.back().Text(),
                  patterns == 16 ? "Pattern 16" : "Pattern  " + std::to_string(patterns));
        EXPECT_EQ(last.fill, Fill::empty);
    }
}

TEST(Outline, FillStates) {
    std::vector<testing::Bytes> parts;
    // Bank 0 (12 banks): every track full, no playlist.
    for (int t = 0; t < 8; ++t) {
        for (int p = 0; p < 4; ++p) {
            parts.push_back(PatternMessage(0, t, p));
        }
    }
    // Bank 1: playlists only. Bank 2: track 0 with three of its four patterns.
    parts.push_back(PlaylistMessage(8));
    for (int p = 0; p < 3; ++p) {
        parts.push_back(PatternMessage(2, 0, p));
    }
    DumpImage image;
    (void)image.Load(Concat(parts));
    const Outline outline = MakeOutline(image);
    EXPECT_EQ(outline[0].fill, Fill::partial);
    EXPECT_EQ(outline[0].children[1].fill, Fill::full);
    EXPECT_EQ(outline[1].fill, Fill::partial);
    EXPECT_EQ(outline[1].children[0].fill, Fill::full);
    EXPECT_EQ(outline[1].children[1].fill, Fill::empty);
    EXPECT_EQ(outline[2].children[1].fill, Fill::partial);
    EXPECT_EQ(outline[2].children[1].children[0].fill, Fill::full);
    EXPECT_EQ(outline[2].children[1].children[3].fill, Fill::empty);
    EXPECT_EQ(outline[3].fill, Fill::empty);
    EXPECT_EQ(BankFill(image, 0), outline[0].fill);
    // Under 3 banks the same messages are a quarter of bank 0's tracks.
    image.SetLayoutChoice(0);
    const Outline three = MakeOutline(image);
    EXPECT_EQ(three[0].children[1].fill, Fill::partial);
    EXPECT_EQ(three[2].children[1].fill, Fill::partial);
}

TEST(Outline, NamesStandBesideTheDefaultTexts) {
    DumpImage image;
    image.SetBankName(2, "03 Drums");
    image.SetTrackName(0, 0, "B05 T01");
    const Outline outline = MakeOutline(image);
    EXPECT_EQ(outline[2].Text(), "03 Drums");
    EXPECT_EQ(outline[2].defaultText, "Bank 03");
    EXPECT_EQ(outline[0].children[1].Text(), "B05 T01");
    EXPECT_EQ(outline[0].children[1].defaultText, "Track 1");
}

}  // namespace
}  // namespace korvel
