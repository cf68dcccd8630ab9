// Searching a text for any of a few bytes many bytes at a time, as the keyword search and the
// address scan both do before they look closer.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zandor {

inline constexpr int kFewBytes = 4;

// Index of the first byte at or after `from` that is one of few[0 .. kFewBytes), or where the wide
// search stops (fewer than 16, or 8, bytes before end); the caller's byte-wise loop goes on from
// there. Unused places of few repeat a byte that is there.
inline int32_t FindFewBytes(const uint8_t (&few)[kFewBytes], const unsigned char* bytes, int32_t from,
                            int32_t end) {
#if defined(__SSE2__)
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(few[0])),
                  f1 = _mm_set1_epi8(static_cast<char>(few[1]));
    const __m128i f2 = _mm_set1_epi8(static_cast<char>(few[2])),
                  f3 = _mm_set1_epi8(static_cast<char>(few[3]));
    while (end - from >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, f0), _mm_cmpeq_epi8(x, f1)),
                                         _mm_or_si128(_mm_cmpeq_epi8(x, f2), _mm_cmpeq_epi8(x, f3)));
        if (const auto mask = static_cast<uint32_t>(_mm_movemask_epi8(hit)); mask != 0)
            return from + static_cast<int32_t>(std::countr_zero(mask));
        from += 16;
    }
#else
    // Eight bytes at a time; the lowest flagged byte of these bit tricks is always a true hit.
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    const auto equal = [](uint64_t x, uint64_t c) {
        const uint64_t y = x ^ (kOnes * c);
        return (y - kOnes) & ~y & kHighs;
    };
    while (end - from >= 8) {
        uint64_t x;
        std::memcpy(&x, bytes + from, 8);
        const uint64_t hit = equal(x, few[0]) | equal(x, few[1]) | equal(x, few[2]) | equal(x, few[3]);
        if (hit != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return from + static_cast<int32_t>(std::countr_zero(hit)) / 8;
            return from;
        }
        from += 8;
    }
#endif
    return from;
}

} // namespace zandor
