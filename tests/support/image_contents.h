// Everything an image holds that an edit may change, to compare two images by: the bytes a save
// writes and every name.
#pragma once

#include "dump_image.h"
#include "image_slots.h"

#include <string>
#include <vector>

namespace korvel::testing {

struct ImageContents {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> names;
    friend bool operator==(const ImageContents&, const ImageContents&) = default;
};

inline ImageContents ContentsOf(const DumpImage& image) {
    ImageContents contents{image.WriteToBytes(), {}};
    auto& names = contents.names;
    for (const auto& slot : korvel::testing::Patterns(image)) {
        names.push_back(slot.name);
    }
    for (const auto& slot : korvel::testing::Playlists(image)) {
        names.push_back(slot.name);
    }
    names.insert(names.end(), image.TrackNames().begin(), image.TrackNames().end());
    names.insert(names.end(), image.PlaylistNames().begin(), image.PlaylistNames().end());
    names.insert(names.end(), image.BankNames().begin(), image.BankNames().end());
    return contents;
}

}  // namespace korvel::testing
