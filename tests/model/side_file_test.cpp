#include "side_file.h"
#include "side_file_text.h"
#include "dump_builder.h"
#include "dump_image.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace korvel {
namespace {

struct PathCase {
    std::string dump;
    std::string side;
};
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.dump;
}

class SidePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(SidePath, IsBesideTheDump) {
    EXPECT_EQ(SideFilePath(GetParam().dump), GetParam().side);
}

INSTANTIATE_TEST_SUITE_P(Paths, SidePath,
                         ::testing::Values(PathCase{"/d/song.syx", "/d/song.bnl"},
                                           PathCase{"/d/my.set.syx", "/d/my.set.bnl"},
                                           PathCase{"D:\\dumps\\set1.syx", "D:\\dumps\\set1.bnl"},
                                           PathCase{"/home/me/v1.2/song", "/home/me/v1.2/song.bnl"},
                                           PathCase{"/my.dumps/song", "/my.dumps/song.bnl"},
                                           PathCase{"song", "song.bnl"},
                                           PathCase{"song.syx", "song.bnl"}));

class SideFile : public ::testing::Test {
  protected:
    std::string Write(const std::string& text) {
        const std::string path = dir.File("names.bnl");
        testing::WriteFile(path, testing::Bytes(text.begin(), text.end()));
        return path;
    }
    testing::TempDir dir;
};

TEST_F(SideFile, WritesTwelveCrLfLines) {
    DumpImage image;
    image.SetBankName(2, "03 Drums");
    ASSERT_EQ(image.WriteBankNames(dir.File("a.bnl")), 1);
    EXPECT_EQ(testing::ReadText(dir.File("a.bnl")),
              "\r\n\r\n03 Drums\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    DumpImage again;
    again.SetBankName(0, "stale");
    ASSERT_EQ(again.ReadBankNames(dir.File("a.bnl")), 1);
    EXPECT_EQ(again.BankNames(), image.BankNames());
}

TEST_F(SideFile, UnnamedImageWrites24Bytes) {
    DumpImage image;
    ASSERT_EQ(image.WriteBankNames(dir.File("a.bnl")), 1);
    EXPECT_EQ(testing::ReadFile(dir.File("a.bnl")).size(), 24u);
}

struct ReadCase {
    const char* what;
    std::string text;
    std::array<std::string, 12> names;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

class ReadNames : public SideFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadNames, FillsBanksLineByLine) {
    DumpImage image;
    for (int b = 0; b < kBankCount; ++b) {
        image.SetBankName(b, "old");
    }
    ASSERT_EQ(image.ReadBankNames(Write(GetParam().text)), 1);
    EXPECT_EQ(image.BankNames(), GetParam().names) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadNames,
    ::testing::Values(
        ReadCase{"three lines", "01 A\r\n02 B\r\n03 C\r\n", {"01 A", "02 B", "03 C"}},
        ReadCase{"fifteen lines",
                 "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n",
                 {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        ReadCase{"LF endings", "01 A\n02 B\n", {"01 A", "02 B"}},
        ReadCase{"empty fifth line", "a\nb\nc\nd\n\nf\ng\n", {"a", "b", "c", "d", "", "f", "g"}},
        ReadCase{"last line without its end", "01 A\r\n02 B", {"01 A", "02 B"}},
        ReadCase{"empty file", "", {}}, ReadCase{"name without number", "Drums\n", {"Drums"}}));

TEST_F(SideFile, MissingFileLeavesEveryBankUnnamed) {
    DumpImage image;
    for (int b = 0; b < kBankCount; ++b) {
        image.SetBankName(b, "old");
    }
    EXPECT_EQ(image.ReadBankNames(dir.File("missing.bnl")), 0);
    for (const auto& name : image.BankNames()) {
        EXPECT_EQ(name, "");
    }
}

// Names are UTF-8 in memory; on Windows the file holds the ANSI code page where it can spell the
// name, and UTF-8 where it cannot, so every name comes back as typed.
TEST_F(SideFile, NamesOutsideAsciiComeBackAsTyped) {
    DumpImage image;
    image.SetBankName(0, "01 B\u00e4ss");             // in every Western code page
    image.SetBankName(1, "02 \u03a9 \u0416 \u65e5");  // in no single one
    ASSERT_EQ(image.WriteBankNames(dir.File("a.bnl")), 1);
    DumpImage again;
    ASSERT_EQ(again.ReadBankNames(dir.File("a.bnl")), 1);
    EXPECT_EQ(again.BankNames(), image.BankNames());
#if defined(_WIN32)
    if (::GetACP() == 1252) {
        EXPECT_EQ(testing::ReadText(dir.File("a.bnl")).substr(0, 9), "01 B\xe4ss\r\n");
        ASSERT_EQ(again.ReadBankNames(Write("01 Gr\xfc\xdf"
                                            "e\r\n")),
                  1);
        EXPECT_EQ(again.BankNames()[0], "01 Gr\u00fc\u00dfe");
    }
#else
    EXPECT_EQ(testing::ReadText(dir.File("a.bnl")).substr(0, 10), "01 B\u00e4ss\r\n");
#endif
}

#if defined(_WIN32)
// A name whose spelling in the code page happens to be valid UTF-8 would read back as another
// name; it is written as UTF-8. Names the code page spells otherwise stay in the code page.
TEST(SideFileText, EveryNameComesBackInItsCodePage) {
    struct Case {
        unsigned codePage;
        std::string name;
        bool asUtf8;
    };
    const Case cases[] = {
        {1252, "01 GRO\u00df\u2026", true},                                      // DF 85
        {1252, "02 Gr\u00fc\u00dfe", false},                                     // FC DF 65
        {1251, "03 \u0426\u0456", true},                                         // D6 B3
        {1251, "04 \u0411\u0430\u0441", false}, {932, "05 \uff82\uff71", true},  // C2 B1
        {932, "06 \u65e5\u672c", false},
    };
    for (const Case& c : cases) {
        const std::string line = SideFileLineOfNameIn(c.codePage, c.name);
        EXPECT_EQ(line == c.name, c.asUtf8) << c.name;
        EXPECT_EQ(NameOfSideFileLineIn(c.codePage, line), c.name) << c.codePage << " " << c.name;
    }
}
#endif

TEST_F(SideFile, FailedWriteLeavesTheOldFile) {
    const std::string path = Write("01 Old\r\n");
    DumpImage image;
    image.SetBankName(0, "01 New");
    EXPECT_EQ(image.WriteBankNames(dir.File("no-such-folder/names.bnl")), 0);
    EXPECT_EQ(testing::ReadText(path), "01 Old\r\n");
}

}  // namespace
#if !defined(_WIN32)
// A new side file is no more readable than its dump; one that exists keeps its own bits.
TEST_F(SideFile, NewSideFileTakesTheDumpsPermissions) {
    const auto modeOf = [](const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 0777;
    };
    DumpImage image;
    for (const mode_t mode : {0600, 0640, 0644}) {
        const std::string dump = dir.File("m" + std::to_string(mode) + ".syx");
        testing::WriteFile(dump, testing::FullDump(1));
        ASSERT_EQ(::chmod(dump.c_str(), mode), 0);
        const DumpSaveResult saved = SaveDumpWithBankNames(image, dump);
        ASSERT_TRUE(saved.dump.ok() && saved.names.ok());
        EXPECT_EQ(modeOf(saved.sideFile), mode);
    }
    const std::string dump = dir.File("m384.syx");
    ASSERT_EQ(::chmod(dump.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(SideFilePath(dump).c_str(), 0600), 0);
    ASSERT_TRUE(WriteBankNamesBeside(image, dump).ok());
    EXPECT_EQ(modeOf(SideFilePath(dump)), 0600u);
}
#endif

}  // namespace korvel
