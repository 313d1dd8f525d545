#include "atomic_file.h"
#include "dump_builder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#if defined(__linux__)
#include <sys/mount.h>
#endif

namespace korvel {
namespace {

std::size_t FileCount(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

TEST(ReplaceFile, FailingWriterLeavesTheOldFileAndNoTemporary) {
    testing::TempDir dir;
    const std::string path = dir.File("dump.syx");
    testing::WriteFile(path, {1, 2, 3});
    const auto result = ReplaceFileAtomically(path, [](std::FILE* file) {
        std::fputs("partial", file);
        return WriteResult::Failure("disk full");
    });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "disk full");
    EXPECT_EQ(testing::ReadFile(path), (testing::Bytes{1, 2, 3}));
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(ReplaceFile, ReplacesAndKeepsPermissions) {
    testing::TempDir dir;
    const std::string path = dir.File("dump.syx");
    testing::WriteFile(path, {1});
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto result = ReplaceFileAtomically(path, [](std::FILE* file) {
        std::fputs("new", file);
        return WriteResult::Success();
    });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(testing::ReadText(path), "new");
#if !defined(_WIN32)  // Windows files have no permission bits
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(ReplaceFile, MissingFolderFailsWithAReason) {
    testing::TempDir dir;
    const auto result = ReplaceFileAtomically(dir.File("none/dump.syx"),
                                              [](std::FILE*) { return WriteResult::Success(); });
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
}

#if defined(__linux__)
// A real full disk: a tiny tmpfs that the new content does not fit in.
TEST(ReplaceFile, FullDiskLeavesTheOldFile) {
    testing::TempDir dir;
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string path = dir.File("dump.syx");
    testing::WriteFile(path, testing::Bytes(4000, 0x11));
    const testing::Bytes big(64 * 1024, 0x22);
    const auto result = ReplaceFileAtomically(path, [&big](std::FILE* file) {
        if (std::fwrite(big.data(), 1, big.size(), file) != big.size()) {
            return WriteResult::Failure("short write");
        }
        return WriteResult::Success();
    });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(testing::ReadFile(path), testing::Bytes(4000, 0x11));
    EXPECT_EQ(FileCount(dir.path()), 1u);
    ::umount(dir.path().c_str());
}
#endif

}  // namespace
}  // namespace korvel
