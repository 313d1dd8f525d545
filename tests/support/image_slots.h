// The tests' way to an image's slots themselves, to set up a state or look at one slot's
// private copy; the program reaches them only through the image's operations.
#pragma once

#include "dump_image.h"

namespace korvel::testing {

struct ImageSlots {
    static auto& Patterns(DumpImage& image) { return image.patterns_; }
    static auto& Playlists(DumpImage& image) { return image.playlists_; }
    static auto& Type3(DumpImage& image) { return image.type3_; }
    static const auto& Patterns(const DumpImage& image) { return image.patterns_; }
    static const auto& Playlists(const DumpImage& image) { return image.playlists_; }
};

inline auto& Patterns(DumpImage& image) {
    return ImageSlots::Patterns(image);
}
inline auto& Playlists(DumpImage& image) {
    return ImageSlots::Playlists(image);
}
inline auto& Type3(DumpImage& image) {
    return ImageSlots::Type3(image);
}
inline const auto& Patterns(const DumpImage& image) {
    return ImageSlots::Patterns(image);
}
inline const auto& Playlists(const DumpImage& image) {
    return ImageSlots::Playlists(image);
}

}  // namespace korvel::testing
