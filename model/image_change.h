// What an edit changed in an image, held as the states before and after it of just the slots
// and names it touched, so that it can be taken back and done again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

enum class SlotArea { pattern, playlist };
enum class NameArea { track, playlist, bank };

// A slot by its memory position (pattern slots 0-383, playlist slots 0-95), so that it means
// the same under every layout.
struct SlotPlace {
    SlotArea area = SlotArea::pattern;
    int index = 0;
    friend bool operator==(const SlotPlace&, const SlotPlace&) = default;
};

// A name by its index: track names 0-95 (bank * 8 + track), playlist and bank names 0-11.
struct NamePlace {
    NameArea area = NameArea::bank;
    int index = 0;
    friend bool operator==(const NamePlace&, const NamePlace&) = default;
};

struct SlotState {
    SlotPlace place;
    std::vector<std::uint8_t> message;  // empty for an empty slot
    std::string name;
};

struct NameState {
    NamePlace place;
    std::string text;
};

struct ImageState {
    std::vector<SlotState> slotStates;
    std::vector<NameState> names;
};

// The places an edit may touch.
struct Footprint {
    std::vector<SlotPlace> slotPlaces;
    std::vector<NamePlace> names;
};

struct ImageChange {
    ImageState before;
    ImageState after;

    bool IsEmpty() const { return before.slotStates.empty() && before.names.empty(); }
    // The bytes the change holds, messages and names included.
    std::size_t HeldBytes() const;
};

// Keeps, of two captures of the same footprint, only the places whose state differs.
ImageChange Difference(ImageState before, ImageState after);

}  // namespace korvel
