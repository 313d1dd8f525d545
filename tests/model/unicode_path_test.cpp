// File names are UTF-8 throughout; on Windows they must reach the wide file functions.
#include "atomic_file.h"
#include "dump_builder.h"
#include "dump_image.h"
#include "error_text.h"
#include "paths.h"
#include "side_file.h"
#include "stored_text.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace korvel {
namespace {

TEST(UnicodeNames, DumpOpensSavesWithSideFileAndIsReplaced) {
    testing::TempDir dir;
    const std::string folder = dir.File("M\u00fcll");
    ASSERT_TRUE(std::filesystem::create_directory(*NativePathOf(folder)));
    const std::string path = folder + "/B\u00e4ss \u03a9.syx";
    testing::WriteFile(path, testing::FullDump());

    DumpImage image;
    ASSERT_TRUE(image.LoadFile(path).ok());
    image.SetBankName(0, "01 Drums");
    DumpSaveResult saved = SaveDumpWithBankNames(image, path);
    ASSERT_TRUE(saved.dump.ok()) << saved.dump.reason();
    ASSERT_TRUE(saved.names.ok()) << saved.names.reason();
    // Saved once more, so that both files are replaced, not created.
    saved = SaveDumpWithBankNames(image, path);
    ASSERT_TRUE(saved.dump.ok()) << saved.dump.reason();
    ASSERT_TRUE(saved.names.ok()) << saved.names.reason();

    DumpImage reopened;
    ASSERT_TRUE(reopened.LoadFile(path).ok());
    ASSERT_TRUE(ReadBankNamesBeside(reopened, path).ok());
    EXPECT_EQ(reopened.GetBankName(0), "01 Drums");
    EXPECT_EQ(testing::ReadFile(path), testing::FullDump());
    EXPECT_TRUE(std::filesystem::exists(*NativePathOf(folder + "/B\u00e4ss \u03a9.bnl")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*NativePathOf(folder)),
                            std::filesystem::directory_iterator()),
              2);
}

#if defined(_WIN32)
// ReplaceFileW refuses a read-only target; the save says why and leaves it whole.
TEST(UnicodeNames, RefusedReplaceSaysWhy) {
    testing::TempDir dir;
    const std::string path = dir.File("B\u00e4ss \u03a9.syx");
    testing::WriteFile(path, {7});
    std::filesystem::permissions(*NativePathOf(path), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const Outcome result = ReplaceFileWithBytes(path, testing::Bytes{8});
    std::filesystem::permissions(*NativePathOf(path), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.reason().empty());
    EXPECT_EQ(testing::ReadFile(path), (testing::Bytes{7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*NativePathOf(dir.path())),
                            std::filesystem::directory_iterator()),
              1);
}
#endif

#if !defined(__linux__)
// Where the new file has a name while it is written, a signal handler removes it and the
// target stays.
TEST(UnicodeNames, InterruptedSaveLeavesNoTemporary) {
    testing::TempDir dir;
    const std::string path = dir.File("B\u00e4ss \u03a9.syx");
    testing::WriteFile(path, {7});
    const auto result = ReplaceFileAtomically(path, [](std::FILE* file) {
        std::fputs("partial", file);
        RemoveInterruptedTemporaryFile();
        return Outcome::Success();
    });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(testing::ReadFile(path), (testing::Bytes{7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*NativePathOf(dir.path())),
                            std::filesystem::directory_iterator()),
              1);
}
#endif

// The system's words for an error reach the window as UTF-8, whatever the system's code page,
// without the line end Windows gives them.
TEST(UnicodeNames, SystemErrorWordsAreUtf8) {
    for (const std::error_code error :
         {std::make_error_code(std::errc::permission_denied),
          std::error_code(5, std::system_category()), std::error_code(2, std::system_category())}) {
        const std::string text = ErrorText(error);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(IsStrictUtf8(text)) << text;
        EXPECT_NE(text.back(), '\n');
    }
    EXPECT_TRUE(IsStrictUtf8(ErrnoText(EACCES)));
}

}  // namespace
}  // namespace korvel
