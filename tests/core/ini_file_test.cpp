#include "dump_builder.h"
#include "temp_dir.h"

#include "ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace korvel::ui {
namespace {

// Folder values that generic INI stores mangle: escapes, lists, blanks and quotes.
class FolderValues : public ::testing::TestWithParam<std::string> {};

TEST_P(FolderValues, ComeBackExactlyAsStored) {
    korvel::testing::TempDir dir;
    const std::string path = dir.File("korvel.INI");
    IniFile written;
    written.WriteString("Directories", "Directory Left", GetParam());
    ASSERT_TRUE(written.Save(path).ok());
    IniFile read;
    read.Load(path);
    EXPECT_EQ(read.GetString("Directories", "Directory Left", "?"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Paths, FolderValues,
                         ::testing::Values("D:\\dumps", "/home/me/my dumps", "C:\\a,b\\c;d", "",
                                           " leading and trailing ", "\"quoted\"", "50% = done",
                                           "/x/" + std::string(300, 'y')));

#if !defined(_WIN32)
// A folder, a FIFO or an endless device in the settings file's place reads as a missing file.
TEST(IniFile, AnythingButARegularFileGivesTheDefaults) {
    korvel::testing::TempDir dir;
    std::filesystem::create_directory(dir.File("folder.INI"));
    ASSERT_EQ(::mkfifo(dir.File("fifo.INI").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.INI"));
    for (const char* name : {"folder.INI", "fifo.INI", "zero.INI"}) {
        IniFile ini;
        ini.Parse("[Settings]\nMemoryLayout Left=1\n");
        ini.Load(dir.File(name));
        EXPECT_EQ(ini.GetInt("Settings", "MemoryLayout Left", 12), 12) << name;
    }
}
#endif

TEST(IniFile, KeepsKeysWithBlanksAsTheyStand) {
    IniFile file;
    file.WriteString("Directories", "Directory Left", "/a");
    file.WriteString("Directories", "Directory Right", "");
    file.WriteInt("Settings", "MemoryLayout Left", 0);
    file.WriteInt("Settings", "MemoryLayout Right", 2);
    EXPECT_EQ(file.Text(),
              "[Directories]\nDirectory Left=/a\nDirectory Right=\n[Settings]\n"
              "MemoryLayout Left=0\nMemoryLayout Right=2\n");
}

TEST(IniFile, ReadsWhatAPersonWrote) {
    IniFile file;
    file.Parse(
        "; my settings\r\n[directories]\r\n  Directory Left = D:\\dumps  \r\n\r\n"
        "[Settings]\r\nMemoryLayout Left=1\r\nMemoryLayout Right=\r\nOther=x\r\n");
    EXPECT_EQ(file.GetString("Directories", "Directory Left", "?"), "D:\\dumps");
    EXPECT_EQ(file.GetString("Directories", "Directory Right", "none"), "none");
    EXPECT_EQ(file.GetInt("Settings", "MemoryLayout Left", 12), 1);
    EXPECT_EQ(file.GetInt("Settings", "MemoryLayout Right", 12), 12);  // empty is missing
    EXPECT_EQ(file.GetInt("Settings", "Missing", 12), 12);
    // Writing a key keeps the other lines, comments included, where they were.
    file.WriteInt("Settings", "MemoryLayout Right", 0);
    file.WriteString("Directories", "Directory Right", "/r");
    EXPECT_EQ(file.Text(),
              "; my settings\n[directories]\n  Directory Left = D:\\dumps  \nDirectory Right=/r\n\n"
              "[Settings]\nMemoryLayout Left=1\nMemoryLayout Right=0\nOther=x\n");
}

TEST(IniFile, NumbersAsGivenAndNonsenseAsMissing) {
    IniFile file;
    for (const auto& [text, expected] :
         {std::pair{"7", 7}, std::pair{"-1", -1}, std::pair{"+2", 2}, std::pair{" 0 ", 0},
          std::pair{"1abc", 1}, std::pair{"abc", 12}, std::pair{"", 12},
          std::pair{"99999999999", 12}}) {
        file.WriteString("Settings", "MemoryLayout Left", text);
        EXPECT_EQ(file.GetInt("Settings", "MemoryLayout Left", 12), expected) << text;
    }
}

TEST(IniFile, MissingFileIsEmpty) {
    korvel::testing::TempDir dir;
    IniFile file;
    file.Load(dir.File("none.INI"));
    EXPECT_EQ(file.GetString("Directories", "Directory Left", ""), "");
    EXPECT_EQ(file.GetInt("Settings", "MemoryLayout Left", 12), 12);
}

}  // namespace
}  // namespace korvel::ui
