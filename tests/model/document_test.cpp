#include "document.h"
#include "side_file.h"
#include "dump_builder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel {
namespace {

// A rename lives only in the side file: when that cannot be written, the document still has
// something unsaved, and a later save that writes it is a save of everything.
TEST(DocumentSave, StaysModifiedWhenOnlyTheBankNamesFailed) {
    testing::TempDir dir;
    testing::WriteFile(dir.File("a.syx"), testing::FullDump(1));
    Document document;
    ASSERT_TRUE(document.Open(dir.File("a.syx")).ok());
    ASSERT_EQ(document.Rename(Item::Bank(2), "Drums").status, EditStatus::done);
    std::filesystem::create_directory(dir.File("b.bnl"));  // no file can take its place

    const DumpSaveResult failed = document.Save(dir.File("b.syx"));
    EXPECT_TRUE(failed.dump.ok());
    EXPECT_FALSE(failed.names.ok());
    EXPECT_TRUE(document.IsModified());

    const DumpSaveResult saved = document.Save(dir.File("c.syx"));
    EXPECT_TRUE(saved.dump.ok() && saved.names.ok());
    EXPECT_FALSE(document.IsModified());
}

#if !defined(_WIN32)
// Only "no such file" means a dump has no names: a side file that is there but cannot be read
// (a loop of links, which even root cannot read) is said at Open and survives every save.
TEST(DocumentSideFile, OneThatCannotBeReadIsSaidAndNeverReplaced) {
    testing::TempDir dir;
    testing::WriteFile(dir.File("song.syx"), testing::FullDump(1));
    std::filesystem::create_symlink("song.bnl", dir.File("song.bnl"));
    Document document;
    const OpenResult opened = document.Open(dir.File("song.syx"));
    ASSERT_TRUE(opened.ok());
    EXPECT_NE(opened.names.reason().find("song.bnl cannot be read"), std::string::npos)
        << opened.names.reason();
    ASSERT_EQ(document.Rename(Item::Bank(0), "Drums").status, EditStatus::done);

    const DumpSaveResult saved = document.Save(dir.File("song.syx"));
    EXPECT_TRUE(saved.dump.ok());
    EXPECT_TRUE(saved.sideFileUnread);
    EXPECT_NE(saved.names.reason().find("left as it is"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("song.bnl")));
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(WriteBankNamesBeside(document.Image(), dir.File("song.syx")).ok());
}

// Through a link the names are read and written beside the file the link leads to.
TEST(DocumentSideFile, FollowsTheDumpThroughALink) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.File("a"));
    std::filesystem::create_directory(dir.File("b"));
    testing::WriteFile(dir.File("b/real.syx"), testing::FullDump(1));
    const std::string names = "01 Drums\r\n02 Bass\r\n";
    testing::WriteFile(dir.File("b/real.bnl"), testing::Bytes(names.begin(), names.end()));
    std::filesystem::create_symlink("../b/real.syx", dir.File("a/link.syx"));

    Document document;
    ASSERT_TRUE(document.Open(dir.File("a/link.syx")).ok());
    EXPECT_EQ(document.Image().GetBankName(1), "02 Bass");
    ASSERT_EQ(document.Rename(Item::Bank(2), "Keys").status, EditStatus::done);
    const DumpSaveResult saved = document.Save(dir.File("a/link.syx"));
    ASSERT_TRUE(saved.dump.ok() && saved.names.ok());
    EXPECT_FALSE(std::filesystem::exists(dir.File("a/link.bnl")));
    DumpImage reread;
    ASSERT_EQ(reread.ReadBankNames(dir.File("b/real.bnl")), 1);
    EXPECT_EQ(reread.GetBankName(0), "01 Drums");
    EXPECT_EQ(reread.GetBankName(2), "03 Keys");
}
#endif

}  // namespace
}  // namespace korvel
