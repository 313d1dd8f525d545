#include "paths.h"

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

}  // namespace
}  // namespace korvel
