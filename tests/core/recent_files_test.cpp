#include "dump_builder.h"

#include "item_tag.h"
#include "recent_files.h"

#include "session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel::ui {
namespace {

using testing::MemorySettings;
using testing::Session;

TEST(RecentFiles, KeepsTheEightNewestOnceAndSurvivesTheSettings) {
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i) {
        recent.Add("/d/" + std::to_string(i) + ".syx");
    }
    recent.Add("/d/5.syx");
    const std::vector<std::string> expected = {"/d/5.syx", "/d/10.syx", "/d/9.syx", "/d/8.syx",
                                               "/d/7.syx", "/d/6.syx",  "/d/4.syx", "/d/3.syx"};
    EXPECT_EQ(recent.Paths(), expected);

    MemorySettings settings;
    recent.Write(settings, kRightPane);
    EXPECT_EQ(settings.GetString(kRecentSection, "Right 1", "?"), "/d/5.syx");
    RecentFiles reread;
    reread.Read(settings, kRightPane);
    EXPECT_EQ(reread.Paths(), expected);
    reread.Read(settings, kLeftPane);
    EXPECT_TRUE(reread.Paths().empty());
}

TEST_F(Session, OpenAndSaveFillThePanesMenuAndAMissingFileIsGreyed) {
    const std::string left = Dump("left.syx", korvel::testing::FullDump());
    Open(kLeftPane, left);
    EXPECT_FALSE(host.unsaved[kLeftPane]);
    Select(kLeftPane, MakeItemTag(kPatternKind, 0, 0, 0));
    dialog.Run(CommandId::remove, kLeftPane);
    EXPECT_TRUE(host.unsaved[kLeftPane]);
    const std::string saved = dir.File("saved.syx");
    host.saveAnswers.push_back(saved);
    dialog.Run(CommandId::save, kLeftPane);
    EXPECT_FALSE(host.unsaved[kLeftPane]);
    std::filesystem::remove(left);
    EXPECT_EQ(dialog.Files().RecentMenu(kLeftPane),
              (std::vector<RecentEntry>{{saved, true}, {left, false}}));
    EXPECT_TRUE(dialog.Files().RecentMenu(kRightPane).empty());

    dialog.Files().OnOpenNamed(kRightPane, saved);
    EXPECT_EQ(host.fileNames[kRightPane], "saved.syx");
    dialog.Files().OnOpenNamed(kRightPane, left);  // gone: the status line says why
    EXPECT_EQ(host.fileNames[kRightPane], "saved.syx");
    EXPECT_NE(host.statusLines.back().find("left.syx"), std::string::npos)
        << host.statusLines.back();
}

}  // namespace
}  // namespace korvel::ui
