#include "status_scan.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define KORVEL_HAVE_AVX2_DISPATCH 1
#else
#define KORVEL_HAVE_AVX2_DISPATCH 0
#endif

namespace korvel {

namespace {

// The first byte with its high bit set, or null. Inside a SysEx message every byte is below 80
// hex, so this finds a message's end (or whatever cut it off) in one pass over its bytes. The
// high bits come straight out of a vector's byte mask, so no comparison is needed.
const std::uint8_t* FindStatusBytePlain(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__)
    while (end - p >= 64) {
        const auto* v = reinterpret_cast<const __m128i*>(p);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                         _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
        p += 64;
    }
    while (end - p >= 16) {
        const int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        if (mask != 0) {
            return p + std::countr_zero(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if ((*p & 0x80) != 0) {
            return p;
        }
    }
    return nullptr;
}

#if KORVEL_HAVE_AVX2_DISPATCH
// The high bits of 32 bytes, one bit per byte.
__attribute__((target("avx2"))) unsigned HighBits32(const std::uint8_t* at) {
    return static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at))));
}

__attribute__((target("avx2"))) const std::uint8_t* FindStatusByteAvx2(const std::uint8_t* p,
                                                                       const std::uint8_t* end) {
    if (end - p < 32) {
        return FindStatusBytePlain(p, end);
    }
    if (const unsigned first = HighBits32(p); first != 0) {
        return p + std::countr_zero(first);
    }
    // From here on the loads are aligned, so none of them straddles two cache lines; the few
    // bytes read twice held no status byte.
    p = reinterpret_cast<const std::uint8_t*>((reinterpret_cast<std::uintptr_t>(p) + 32) &
                                              ~std::uintptr_t{31});
    while (end - p >= 128) {
        const auto* v = reinterpret_cast<const __m256i*>(p);
        const __m256i any =
            _mm256_or_si256(_mm256_or_si256(_mm256_load_si256(v), _mm256_load_si256(v + 1)),
                            _mm256_or_si256(_mm256_load_si256(v + 2), _mm256_load_si256(v + 3)));
        if (_mm256_movemask_epi8(any) != 0) {
            break;
        }
        p += 128;
    }
    while (end - p >= 32) {
        if (const unsigned found = HighBits32(p); found != 0) {
            return p + std::countr_zero(found);
        }
        p += 32;
    }
    return FindStatusBytePlain(p, end);
}

using StatusByteFinder = const std::uint8_t* (*)(const std::uint8_t*, const std::uint8_t*);
const StatusByteFinder kFinder =
    __builtin_cpu_supports("avx2") ? FindStatusByteAvx2 : FindStatusBytePlain;
#else
constexpr auto kFinder = FindStatusBytePlain;
#endif

}  // namespace

const std::uint8_t* FindStatusByte(const std::uint8_t* from, const std::uint8_t* end) {
    return kFinder(from, end);
}

}  // namespace korvel
