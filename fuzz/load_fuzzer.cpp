// Loads arbitrary bytes as two dumps, copies and deletes between them, re-addresses every copy
// and checks that writing and loading again is stable.
#include "dump_image.h"
#include "image_slots.h"
#include "sysex_message.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using korvel::DumpImage;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Write(Load(Write(image))) must equal Write(image).
void RequireStableRoundTrip(const DumpImage& image) {
    const std::vector<std::uint8_t> once = image.WriteToBytes();
    DumpImage reloaded;
    Require(reloaded.Load(once).ok());
    Require(reloaded.WriteToBytes() == once);
}

// Runs one edit chosen by four control bytes; the numbers may lie outside either layout.
void Edit(DumpImage& destination, const DumpImage& source, const std::uint8_t* op) {
    const int a = op[1] % 14 - 1;
    const int b = op[2] % 10 - 1;
    const int c = op[3] % 18 - 1;
    switch (op[0] % 8) {
        case 0:
            (void)destination.CopyPattern(source, a, b, c, op[3] % 12, op[2] % 8, op[1] % 16);
            break;
        case 1:
            (void)destination.CopyTrack(source, a, b, op[3] % 12, op[1] % 8);
            break;
        case 2:
            (void)destination.CopyBank(source, a, op[3] % 12);
            break;
        case 3:
            (void)destination.CopyPlaylists(source, a, op[3] % 12);
            break;
        case 4:
            (void)destination.DeletePattern(a, b, c);
            break;
        case 5:
            (void)destination.DeleteTrack(a, b);
            break;
        case 6:
            (void)destination.DeleteBank(a);
            break;
        default:
            (void)destination.DeletePlaylists(a);
            break;
    }
}

void ReaddressEveryCopy(DumpImage& image) {
    for (int i = 0; i < korvel::kPatternSlotCount; ++i) {
        auto& slot = korvel::testing::Patterns(image)[static_cast<std::size_t>(i)];
        if (slot.copy != nullptr) {
            Require(slot.ReaddressPattern(i / 128, (i / 16) % 8, i % 16));
            Require(slot.begin[8] * 16 + slot.begin[9] == i && *slot.end == korvel::kSysExEnd);
        }
    }
    for (int i = 0; i < korvel::kPlaylistSlotCount; ++i) {
        auto& slot = korvel::testing::Playlists(image)[static_cast<std::size_t>(i)];
        if (slot.copy != nullptr) {
            Require(slot.ReaddressPlaylist(i / 8, i % 8));
            Require(slot.begin[8] == i && *slot.end == korvel::kSysExEnd);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t layouts = data[0];
    const std::size_t split = 1 + data[1] * (size - 1) / 256;
    DumpImage left;
    DumpImage right;
    Require(left.Load(std::span(data + 1, split - 1)).ok());
    Require(right.Load(std::span(data + split, size - split)).ok());
    RequireStableRoundTrip(left);
    RequireStableRoundTrip(right);

    left.SetLayoutChoice(layouts % 3);
    right.SetLayoutChoice((layouts / 3) % 3);
    // The edits are steered by the input's own bytes, four at a time.
    for (std::size_t i = 2; i + 4 <= size && i < 2 + 4 * 24; i += 4) {
        if (data[i] & 0x80) {
            Edit(left, right, data + i);
        } else {
            Edit(right, left, data + i);
        }
    }
    ReaddressEveryCopy(left);
    ReaddressEveryCopy(right);
    RequireStableRoundTrip(left);
    RequireStableRoundTrip(right);
    return 0;
}
