#include "paths.h"
#include "dump_builder.h"
#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct PathParts {
    std::string path;
    std::string folder;
    std::string fileName;
    std::string extension;
};

class Paths : public ::testing::TestWithParam<PathParts> {};

TEST_P(Paths, SplitByTheSystemsSeparator) {
    const PathParts& c = GetParam();
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(FileNameOf(c.path), c.fileName);
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
    EXPECT_EQ(FolderPrefixOf(c.path) + FileNameOf(c.path), c.path);
}

#if defined(_WIN32)
const PathParts kBackslash{"C:\\my.dumps\\song", "C:\\my.dumps", "song", ""};
#else
// A backslash is part of a name where the system does not separate by it.
const PathParts kBackslash{"a\\b.syx", "", "a\\b.syx", ".syx"};
#endif

INSTANTIATE_TEST_SUITE_P(Cases, Paths,
                         ::testing::Values(PathParts{"/d/song.syx", "/d", "song.syx", ".syx"},
                                           PathParts{"song", "", "song", ""},
                                           PathParts{"/v1.2/song", "/v1.2", "song", ""},
                                           PathParts{"/d/.bnl", "/d", ".bnl", ".bnl"},
                                           PathParts{"dumps/", "dumps", "", ""}, kBackslash));

// The conversions between the model's UTF-8 names and the system's never throw.
TEST(PathConversion, RoundTripsUtf8AndRefusesWhatIsNot) {
    for (const std::string name : {"plain.syx", "M\u00fcll/B\u00e4ss \u03a9.syx",
                                   "C:/Users/Jos\u00e9/korvel.INI", "\U0001F3B9.syx"}) {
        const auto native = NativePathOf(name);
        ASSERT_TRUE(native) << name;
        EXPECT_EQ(Utf8Of(*native), name);
    }
    const std::string latin1 = "Jos\xe9.syx";  // what an ANSI code page gives for "José"
    const auto native = NativePathOf(latin1);
#if defined(_WIN32)
    ASSERT_FALSE(native);
    EXPECT_NE(native.reason().find("not valid UTF-8"), std::string::npos);
#else
    ASSERT_TRUE(native);  // a name is any bytes here
    EXPECT_EQ(native->native(), latin1);
#endif
}

#if !defined(_WIN32)
// Only "no such file" means a name is free: a folder that cannot be looked into (here a loop of
// links, which stops root too) could hide a backup, so no name is taken there.
TEST(UnusedPath, CountsOnAndRefusesWhatItCannotTell) {
    testing::TempDir dir;
    testing::WriteFile(dir.File("W2.syx"), {1});
    EXPECT_EQ(*UnusedPath(dir.File("W2"), ".syx"), dir.File("W2 (2).syx"));
    std::filesystem::create_symlink("loop", dir.File("loop"));
    const auto refused = UnusedPath(dir.File("loop/W2"), ".syx");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("cannot be told"), std::string::npos) << refused.reason();
}
#endif

}  // namespace
}  // namespace korvel
