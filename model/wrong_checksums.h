// The pattern and playlist messages of a loaded dump whose checksum byte is not the one the
// checksum rule gives, for a report that names each with both values.
#pragma once

#include "dump_image.h"
#include "image_change.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace korvel {

struct WrongChecksum {
    SlotPlace place;
    // Where the message starts in the bytes the image was loaded from; none for a message an
    // edit put there.
    std::optional<std::size_t> offset;
    int found = 0;
    int expected = 0;
};

// Playlists first, then patterns, each in memory order.
std::vector<WrongChecksum> WrongChecksums(const DumpImage& image);

}  // namespace korvel
