#include "item_tag.h"

#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

TEST(ItemTag, ComposesAndSplits) {
    EXPECT_EQ(MakeItemTag(kPatternKind, 2, 7, 15), 0x2870Fu);
    EXPECT_EQ(MakeItemTag(kBankKind, 11), 0xB1000u);
    EXPECT_EQ(MakeItemTag(kPlaylistKind, 0), 0x2000u);
    EXPECT_EQ(MakeItemTag(kTrackKind, 3, 5), 0x34500u);
    const std::pair<int, ItemKind> kinds[] = {{kBankKind, ItemKind::bank},
                                              {kPlaylistKind, ItemKind::playlists},
                                              {kTrackKind, ItemKind::track},
                                              {kPatternKind, ItemKind::pattern}};
    for (const auto& [kind, itemKind] : kinds) {
        for (int bank = 0; bank < 12; ++bank) {
            const Item s = SplitItemTag(MakeItemTag(kind, bank, bank % 8, 15 - bank));
            EXPECT_EQ(s.kind, itemKind);
            EXPECT_EQ(s.bank, bank);
            EXPECT_EQ(s.track, bank % 8);
            EXPECT_EQ(s.pattern, 15 - bank);
        }
    }
}

TEST(ItemTag, NoSelectionDecodesAsKindZero) {
    const Item s = DecodeSelection(std::nullopt);
    EXPECT_EQ(s.kind, ItemKind::none);
    EXPECT_EQ(s.bank + s.track + s.pattern, 0);
    EXPECT_EQ(DecodeSelection(0x2870Fu).pattern, 15);
}

}  // namespace
}  // namespace korvel::ui
