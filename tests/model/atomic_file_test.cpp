#include "atomic_file.h"
#include "dump_builder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        return Outcome::Failure("disk full");
    });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.reason(), "disk full");
    EXPECT_EQ(testing::ReadFile(path), (testing::Bytes{1, 2, 3}));
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

#if !defined(_WIN32)
// A save through a link writes the file the link names and leaves the link a link.
struct LinkCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // link, what it names
    std::string written;                                     // "" when the save is refused
};

class SaveThroughLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SaveThroughLinks, ReplaceTheFileTheLinkNames) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    testing::WriteFile(dir.File("real/real.syx"), {1});
    for (const auto& [link, target] : GetParam().links) {
        std::filesystem::create_symlink(target, dir.File(link));
    }
    const auto result = ReplaceFileWithBytes(dir.File("link.syx"), testing::Bytes{2, 3});
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.syx")));
    if (GetParam().written.empty()) {
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.reason().find("does not exist; it was not replaced"), std::string::npos)
            << result.reason();
        EXPECT_EQ(testing::ReadFile(dir.File("real/real.syx")), testing::Bytes{1});
    } else {
        ASSERT_TRUE(result.ok()) << result.reason();
        EXPECT_EQ(testing::ReadFile(dir.File(GetParam().written)), (testing::Bytes{2, 3}));
    }
    EXPECT_EQ(FileCount(dir.File("real")), 1u);  // and no temporary beside it
}

INSTANTIATE_TEST_SUITE_P(
    Links, SaveThroughLinks,
    ::testing::Values(LinkCase{"to a file", {{"link.syx", "real/real.syx"}}, "real/real.syx"},
                      LinkCase{"to a link",
                               {{"middle.syx", "real/real.syx"}, {"link.syx", "middle.syx"}},
                               "real/real.syx"},
                      LinkCase{"to nothing", {{"link.syx", "real/gone.syx"}}, ""}),
    [](const auto& test) {
        std::string name = test.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });
#endif

TEST(ReplaceFile, ReplacesAndKeepsPermissions) {
    testing::TempDir dir;
    const std::string path = dir.File("dump.syx");
    testing::WriteFile(path, {1});
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto result = ReplaceFileAtomically(path, [](std::FILE* file) {
        std::fputs("new", file);
        return Outcome::Success();
    });
    ASSERT_TRUE(result.ok());
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
                                              [](std::FILE*) { return Outcome::Success(); });
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.reason().empty());
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
            return Outcome::Failure("short write");
        }
        return Outcome::Success();
    });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(testing::ReadFile(path), testing::Bytes(4000, 0x11));
    EXPECT_EQ(FileCount(dir.path()), 1u);
    ::umount(dir.path().c_str());
}
#endif

}  // namespace
}  // namespace korvel
