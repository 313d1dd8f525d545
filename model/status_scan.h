// Finding the next MIDI status byte fast: inside a SysEx message every byte is below 80 hex, so
// the first byte with its high bit set ends the message or whatever cut it off.
#pragma once

#include <cstdint>

namespace korvel {

// The first byte in [from, end) with its high bit set, or null. Uses vector instructions where
// the processor has them, chosen once at start.
const std::uint8_t* FindStatusByte(const std::uint8_t* from, const std::uint8_t* end);

}  // namespace korvel
