#include "document.h"
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

}  // namespace
}  // namespace korvel
