// Writes a generated full dump (481 messages) for the tests that run outside the test binaries.
#include "dump_builder.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: korvel_make_dump OUT [PATTERN_BYTES PLAYLIST_BYTES]\n");
        return 2;
    }
    const int pattern = argc == 4 ? std::atoi(argv[2]) : 200;
    const int playlist = argc == 4 ? std::atoi(argv[3]) : 100;
    korvel::testing::WriteFile(argv[1], korvel::testing::FullDump(11, pattern, playlist));
    return 0;
}
