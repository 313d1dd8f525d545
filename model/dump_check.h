// What a dump read back from the W2 says about a send: each slot the sent dump held must come
// back byte for byte. Slots the W2 holds besides are counted, not failed: it keeps what it had.
#pragma once

#include "comparison.h"
#include "dump_image.h"
#include "item.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvel {

enum class CheckFailure { differs, missing };

// "differs", "missing".
const char* CheckFailureWord(CheckFailure failure);

struct FailedSlot {
    std::optional<SlotPlace> place;  // none for the type-3 message
    CheckFailure failure = CheckFailure::differs;
};

struct DumpCheck {
    int held = 0;                      // messages the sent dump holds
    int asSent = 0;                    // of those, the ones that came back byte for byte
    std::vector<FailedSlot> failures;  // the type-3 message, then playlists, then patterns
    int extra = 0;                     // slots the W2 sent that the sent dump did not hold
    bool nothingCame = false;

    bool AllBack() const { return !nothingCame && failures.empty(); }
    // "The W2 holds all 481 messages as sent.", or how many did not come back and how.
    std::string Summary() const;
    // The summary and, a line each, the slots that failed as a tree under `layout` names them
    // ("B03 T02 P01: differs"); past a screenful a count says the rest.
    std::string Report(MemoryLayout layout) const;
};

DumpCheck CheckDump(const DumpImage& sent, const DumpImage& received);

// A send checked against the messages the W2 sent back, and what loading them passed over.
struct ReadBack {
    DumpCheck check;
    LoadReport passedOver;
};
ReadBack CheckReadBack(const DumpImage& sent, std::span<const std::uint8_t> received);

// A failed slot as a tree under `layout` names it ("B03 T02 P01", "Playlist B04", "Type-3
// message").
std::string FailedSlotName(const FailedSlot& slot, MemoryLayout layout);

}  // namespace korvel
