// Writes a generated dump for the tests that run outside the test binaries: a full one (481
// messages), or with LONG a pattern message of LONG data bytes between two short messages.
#include "dump_builder.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    using namespace korvel::testing;
    if (argc == 3) {
        const int length = std::atoi(argv[2]);
        WriteFile(argv[1], Concat({Type3Message(), PatternMessage(0, 0, 0, length, 3),
                                   PatternMessage(0, 0, 1, 200, 4)}));
        return 0;
    }
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr,
                     "usage: korvel_make_dump OUT [PATTERN_BYTES PLAYLIST_BYTES]\n"
                     "       korvel_make_dump OUT LONG\n");
        return 2;
    }
    const int pattern = argc == 4 ? std::atoi(argv[2]) : 200;
    const int playlist = argc == 4 ? std::atoi(argv[3]) : 100;
    WriteFile(argv[1], FullDump(11, pattern, playlist));
    return 0;
}
