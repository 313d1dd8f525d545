// Finding the next MIDI status byte fast: inside a SysEx message every byte is below 80 hex, so
// the first byte with its high bit set ends the message or whatever cut it off.
#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvel {

// The first byte in [from, end) with its high bit set, or null. Uses vector instructions where
// the processor has them, chosen once at start.
const std::uint8_t* FindStatusByte(const std::uint8_t* from, const std::uint8_t* end);

// One bit for each of the 64 bytes at `at` that is a status byte.
inline std::uint64_t StatusMask64(const std::uint8_t* at) {
#if defined(__SSE2__)
    const auto* v = reinterpret_cast<const __m128i*>(at);
    const auto bits = [v](int i) {
        return static_cast<std::uint64_t>(
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_loadu_si128(v + i))));
    };
    return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        mask |= static_cast<std::uint64_t>(at[i] >> 7) << i;
    }
    return mask;
#endif
}

// Calls `onStatus(at)` for every status byte in [from, end), in order: for data where they are
// frequent, so that each costs a bit of a 64-byte mask and no call of its own.
template <typename OnStatus>
void ForEachStatusByte(const std::uint8_t* from, const std::uint8_t* end, OnStatus&& onStatus) {
    const std::uint8_t* p = from;
    for (; end - p >= 64; p += 64) {
        for (std::uint64_t mask = StatusMask64(p); mask != 0; mask &= mask - 1) {
            onStatus(p + std::countr_zero(mask));
        }
    }
    for (; p < end; ++p) {
        if ((*p & 0x80) != 0) {
            onStatus(p);
        }
    }
}

}  // namespace korvel
