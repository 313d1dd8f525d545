// What the window's desktop habits ask of the core: files from outside, drops between the
// trees, and the window's place on the screens there are.
#include "dump_builder.h"
#include "edits.h"

#include "window_place.h"

#include "session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel::ui {
namespace {

using korvel::testing::FullDump;

TEST(WindowPlace, StaysOnTheScreensThereAre) {
    const std::vector<WindowRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    struct Case {
        WindowRect kept;
        std::optional<WindowRect> placed;
    };
    for (const auto& [kept, placed] : {
             Case{{100, 80, 900, 500}, WindowRect{100, 80, 900, 500}},
             Case{{2000, 40, 900, 500}, WindowRect{2000, 40, 900, 500}},  // the second screen
             Case{{1890, 10, 900, 500}, WindowRect{1890, 10, 900, 500}},  // across both
             Case{{5000, 40, 900, 500}, std::nullopt},                    // a screen now gone
             Case{{100, -300, 900, 500}, std::nullopt},                   // title bar above
             Case{{0, 0, 4000, 3000}, WindowRect{0, 0, 1920, 1080}},      // larger than it
         }) {
        EXPECT_EQ(PlaceOnScreens(kept, screens), placed) << kept.x << "," << kept.y;
    }
    testing::MemorySettings store;
    EXPECT_EQ(ReadWindowRect(store), std::nullopt);
    WriteWindowRect(store, {10, 20, 640, 480});
    EXPECT_EQ(ReadWindowRect(store), (WindowRect{10, 20, 640, 480}));
    store.values[{"Window", "Width"}] = "2147483000";  // would overflow every sum with it
    EXPECT_EQ(ReadWindowRect(store), std::nullopt);
}

class Desktop : public testing::Session {};

TEST_F(Desktop, FilesFromOutsideOpenAsOpenDoes) {
    dialog.Files().OpenAtStart(0, Dump("live.syx", FullDump(1), "01 Drums\r\n"));
    EXPECT_EQ(host.fileNames[0], "live.syx");
    EXPECT_EQ(dialog.tree(0)[0].text, "01 Drums");
    EXPECT_EQ(dialog.pane(0).folder, dir.path());
    dialog.Files().OpenAtStart(1, dir.File("gone.syx"));
    EXPECT_NE(host.statusLines.back().find("gone.syx cannot be opened"), std::string::npos);
    EXPECT_TRUE(dialog.image(1).WriteToBytes().empty());

    Select(0, MakeItemTag(kBankKind, 0));
    dialog.Run(CommandId::remove, 0);
    host.yesNoAnswers.push_back(false);
    dialog.Files().OnOpenNamed(0, Dump("other.syx", FullDump(2)));
    EXPECT_EQ(host.fileNames[0], "live.syx");  // the user kept the unsaved changes
    host.yesNoAnswers.push_back(true);
    dialog.Files().OnOpenNamed(0, dir.File("other.syx"));
    EXPECT_EQ(host.fileNames[0], "other.syx");
}

// A file named relative to the working folder is remembered where it really lies.
TEST_F(Desktop, RelativePathsAreMadeAbsolute) {
    Dump("here.syx", FullDump(1));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    dialog.Files().OpenAtStart(1, "here.syx");
    std::filesystem::current_path(before);
    EXPECT_EQ(host.fileNames[1], "here.syx");
    EXPECT_EQ(dialog.pane(1).folder, std::filesystem::canonical(dir.path()).string());
}

// A node dragged onto the other tree: the transfer onto that node, with its refusals.
TEST_F(Desktop, DropsBetweenTheTreesAreTransfers) {
    Open(0, Dump("left.syx", FullDump(1)));
    Select(0, MakeItemTag(kTrackKind, 2, 3));
    const ItemTag track = MakeItemTag(kTrackKind, 5, 1);
    EXPECT_TRUE(dialog.Edits().WouldAcceptDrop(0, 1, track));
    EXPECT_FALSE(dialog.Edits().WouldAcceptDrop(0, 1, MakeItemTag(kBankKind, 5)));
    EXPECT_FALSE(dialog.Edits().WouldAcceptDrop(0, 0, track));
    dialog.Edits().OnDropTransfer(0, 1, MakeItemTag(kBankKind, 5));
    EXPECT_EQ(host.messages.back().text, korvel::kSameKindRefusal);
    dialog.Edits().OnDropTransfer(0, 1, track);
    EXPECT_EQ(dialog.Edits().UndoText(1), "Undo copy of B03 T04 into B06 T02");
    EXPECT_FALSE(dialog.image(1).IsPatternEmpty(5, 1, 3));
}

}  // namespace
}  // namespace korvel::ui
