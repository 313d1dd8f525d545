// Files that are not what they seem, and saves that are interrupted or misdirected.
#include "atomic_file.h"
#include "dump_builder.h"
#include "dump_image.h"
#include "file_read.h"
#include "side_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::size_t FileCount(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// Node's file system, under which the browser build's suites run, makes a FIFO a plain file.
#if defined(__EMSCRIPTEN__)
#define SKIP_WITHOUT_FIFOS() GTEST_SKIP() << "node's file system has no FIFOs"
#else
#define SKIP_WITHOUT_FIFOS() (void)0
#endif

Outcome WriteText(std::FILE* file, const char* text) {
    return std::fputs(text, file) >= 0 ? Outcome::Success() : Outcome::Failure("fputs");
}

// Each kind of path a reader may meet; a FIFO must be refused at once, never waited on.
TEST(ReadRegularFile, RefusesAllButRegularFilesWithoutBlocking) {
    SKIP_WITHOUT_FIFOS();
    testing::TempDir dir;
    testing::WriteFile(dir.File("dump.syx"), {1, 2, 3});
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.File("zero"));
    fs::create_directory(dir.File("folder"));
    struct Case {
        std::string name;
        std::uint64_t maxSize;
        ReadStatus status;
    };
    for (const auto& [name, maxSize, status] :
         {Case{"dump.syx", 3, ReadStatus::ok}, Case{"dump.syx", 2, ReadStatus::tooLarge},
          Case{"fifo", 100, ReadStatus::notRegular}, Case{"zero", 100, ReadStatus::notRegular},
          Case{"folder", 100, ReadStatus::notRegular}, Case{"none", 100, ReadStatus::cannotOpen}}) {
        const FileReadResult read = ReadRegularFile(dir.File(name), maxSize);
        EXPECT_EQ(read.status, status) << name;
        EXPECT_EQ(read.ok(), read.reason.empty()) << name;
    }
    const FileReadResult read = ReadRegularFile(dir.File("dump.syx"), 3);
    ASSERT_EQ(read.size, 3u);
    EXPECT_EQ(read.bytes[2], 3);
}

TEST(ReadRegularFile, SideFileThatIsAFifoIsNotRead) {
    SKIP_WITHOUT_FIFOS();
    testing::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("song.bnl").c_str(), 0600), 0);
    DumpImage image;
    image.SetBankName(0, "01 Old");
    EXPECT_EQ(image.ReadBankNames(dir.File("song.bnl")), 0);
    EXPECT_EQ(image.GetBankName(0), "");
}

TEST(ReplaceFile, TemporaryIsNeverWiderThanTheTarget) {
    testing::TempDir dir;
    const std::string path = dir.File("private.syx");
    testing::WriteFile(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    mode_t whileWriting = 0;
    const auto result = ReplaceFileAtomically(path, [&whileWriting](std::FILE* file) {
        struct stat info {};
        ::fstat(::fileno(file), &info);
        whileWriting = info.st_mode & 07777;
        return WriteText(file, "new");
    });
    ASSERT_TRUE(result.ok()) << result.reason();
    EXPECT_EQ(whileWriting, 0600u);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// A target that is not a regular file is refused with nothing written and no debris.
TEST(ReplaceFile, RefusesTargetsThatAreNotRegularFiles) {
    SKIP_WITHOUT_FIFOS();
    testing::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.File("folder"));
    for (const std::string& target :
         {dir.File("fifo"), dir.File("folder"), dir.File("folder/"), dir.File("new/")}) {
        bool wrote = false;
        const auto result = ReplaceFileAtomically(target, [&wrote](std::FILE* file) {
            wrote = true;
            return WriteText(file, "x");
        });
        EXPECT_FALSE(result.ok()) << target;
        EXPECT_NE(result.reason().find(target), std::string::npos) << result.reason();
        EXPECT_FALSE(wrote) << target;
    }
    EXPECT_TRUE(fs::is_fifo(dir.File("fifo")));
    EXPECT_EQ(FileCount(dir.path()), 2u);
    EXPECT_EQ(FileCount(dir.File("folder")), 0u);
}

TEST(ReplaceFile, LongestFileNameStillSaves) {
    testing::TempDir dir;
    const std::string path = dir.File(std::string(251, 'n') + ".syx");
    DumpImage image;
    ASSERT_TRUE(image.Load(testing::FullDump()).ok());
    const DumpSaveResult saved = SaveDumpWithBankNames(image, path);
    EXPECT_TRUE(saved.dump.ok()) << saved.dump.reason();
    EXPECT_TRUE(saved.names.ok()) << saved.names.reason();
    EXPECT_EQ(testing::ReadFile(path), testing::FullDump());
}

#if defined(__linux__)
// A save killed while it writes leaves nothing behind: the new file has no name until it is
// complete, whether it replaces a file or is new, and whatever its permissions.
TEST(ReplaceFile, NewFileHasNoNameWhileItIsWritten) {
    struct Case {
        const char* what;
        bool exists;
        mode_t mode;
    };
    for (const Case& c :
         {Case{"new", false, 0644}, Case{"existing", true, 0644}, Case{"private", true, 0600}}) {
        testing::TempDir dir;
        const std::string path = dir.File("dump.syx");
        if (c.exists) {
            testing::WriteFile(path, {7});
            ::chmod(path.c_str(), c.mode);
        }
        std::size_t whileWriting = 99;
        const auto result = ReplaceFileAtomically(path, [&](std::FILE* file) {
            whileWriting = FileCount(dir.path());
            RemoveInterruptedTemporaryFile();  // what a signal handler would do: nothing to undo
            return WriteText(file, "whole");
        });
        ASSERT_TRUE(result.ok()) << c.what << ": " << result.reason();
        EXPECT_EQ(whileWriting, c.exists ? 1u : 0u) << c.what;
        EXPECT_EQ(testing::ReadFile(path), (testing::Bytes{'w', 'h', 'o', 'l', 'e'})) << c.what;
        EXPECT_EQ(FileCount(dir.path()), 1u) << c.what;
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        if (c.exists) {
            EXPECT_EQ(info.st_mode & 0777, c.mode) << c.what;
        }
    }
}
#endif

TEST(DumpWrite, ReasonIsThatOfTheFailedWrite) {
    DumpImage image;
    ASSERT_TRUE(image.Load(testing::FullDump()).ok());
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) {
        GTEST_SKIP() << "no /dev/full here";
    }
    std::setvbuf(full, nullptr, _IONBF, 0);
    const Outcome written = image.Write(full);
    std::fclose(full);
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.reason(), std::strerror(ENOSPC));
}

// A dump named like its own side file: neither saved nor renamed over, and opened without names.
TEST(OwnSideFile, IsNeitherSavedNorRead) {
    for (const char* name : {"x.bnl", "x.BNL", "dir.syx/x.Bnl"}) {
        EXPECT_TRUE(SideFileIsDumpItself(name)) << name;
    }
    for (const char* name : {"x.syx", "x.bnl.syx", "bnl", "x.bnlx", "d.bnl/x"}) {
        EXPECT_FALSE(SideFileIsDumpItself(name)) << name;
    }
    testing::TempDir dir;
    const std::string path = dir.File("out.bnl");
    testing::WriteFile(path, testing::FullDump());
    DumpImage image;
    ASSERT_TRUE(image.LoadFile(path).ok());
    ASSERT_TRUE(ReadBankNamesBeside(image, path).ok());
    EXPECT_EQ(image.GetBankName(0), "");
    image.SetBankName(0, "01 Drums");
    const DumpSaveResult saved = SaveDumpWithBankNames(image, path);
    EXPECT_FALSE(saved.dump.ok());
    EXPECT_NE(saved.dump.reason().find(".bnl"), std::string::npos);
    EXPECT_FALSE(WriteBankNamesBeside(image, path).ok());
    EXPECT_EQ(testing::ReadFile(path), testing::FullDump());
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

}  // namespace
}  // namespace korvel

#endif
