// The list of backups: newest first by the stamp in their names, each with what changed since
// the one before it.
#include "backups.h"

#include "dump_builder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::PatternMessageAt;
using testing::PlaylistMessage;
using testing::Type3Message;

TEST(Backups, ListedNewestFirstWithWhatChangedSinceTheOneBefore) {
    testing::TempDir dir;
    const Bytes oldest =
        Concat({Type3Message(), PlaylistMessage(0), PatternMessageAt(0), PatternMessageAt(1)});
    const Bytes changed = Concat(
        {Type3Message(), PatternMessageAt(0), PatternMessageAt(1, 24, 7), PatternMessageAt(2)});
    testing::WriteFile(dir.File("W2 2026-12-08 21-05-33.syx"), oldest);
    testing::WriteFile(dir.File("W2 2026-12-08 21-05-33 (2).syx"), oldest);
    testing::WriteFile(dir.File("W2 2026-12-09 08-00-00.syx"), changed);
    testing::WriteFile(dir.File("notes.txt"), Bytes{'x'});
    std::filesystem::create_directory(dir.File("folder.syx"));

    const auto backups = ListBackups(dir.path(), MemoryLayout(), 20).backups;
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(backups[0].path, dir.File("W2 2026-12-09 08-00-00.syx"));
    EXPECT_EQ(backups[0].when, "2026-12-09 08:00:00");
    EXPECT_EQ(backups[0].messages, 4);
    EXPECT_EQ(backups[0].change, "1 slot differs, 1 only here, 1 gone");
    EXPECT_EQ(backups[1].path, dir.File("W2 2026-12-08 21-05-33 (2).syx"));
    EXPECT_EQ(backups[1].change, "same as before");
    EXPECT_EQ(backups[2].change, "the oldest here");

    // A shorter list still compares its last entry with the one before it.
    const auto two = ListBackups(dir.path(), MemoryLayout(), 2).backups;
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].change, "same as before");
    const BackupList none = ListBackups(dir.File("none"), MemoryLayout(), 20);
    EXPECT_TRUE(none.backups.empty() && none.folderMissing && none.problem.empty());
}

// A file named like a backup that holds no W2 message is said to be no dump, and the backup
// after it is compared with the readable one before it.
TEST(Backups, ABrokenFileIsNoStateOfTheW2) {
    testing::TempDir dir;
    const Bytes dump = Concat({Type3Message(), PatternMessageAt(0)});
    testing::WriteFile(dir.File("W2 2026-12-08 21-05-33.syx"), dump);
    testing::WriteFile(dir.File("W2 2026-12-09 21-05-33.syx"), Bytes{0x90, 0x40, 0x7F});
    testing::WriteFile(dir.File("W2 2026-12-10 21-05-33.syx"), dump);
    const auto backups = ListBackups(dir.path(), MemoryLayout(), 20).backups;
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(backups[0].change, "same as before");
    EXPECT_FALSE(backups[1].readable);
    EXPECT_EQ(backups[1].change, kUnreadableBackupText);
    EXPECT_EQ(backups[2].change, "the oldest here");
}

TEST(Backups, ChangeNamesPlaylistsAFewerBankLayoutHides) {
    DumpImage older;
    DumpImage newer;
    ASSERT_TRUE(older.Load(Concat({PlaylistMessage(90)})).ok());
    ASSERT_TRUE(newer.Load(Concat({PlaylistMessage(90, 16, 3), Type3Message()})).ok());
    const Comparison compared = Comparison::Of(newer, older);
    EXPECT_EQ(ChangeSince(compared, MemoryLayout()), "1 slot differs, the type-3 message differs");
    EXPECT_EQ(ChangeSince(compared, *MemoryLayout::FromChoice(0)),
              "1 slot differs, the type-3 message differs (1 in banks this layout does not show)");
}

}  // namespace
}  // namespace korvel
