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

// The places of a few bytes in bytes[0, end), handed out in order. The text is read in blocks of
// 64 bytes, each turned into a bit mask of its places once, so a paragraph with several places is
// looked at as a whole instead of once per place. Unused places of few repeat a byte that is there.
class TFewBytesCursor {
public:
    TFewBytesCursor(const uint8_t (&few)[kFewBytes], const unsigned char* bytes, int32_t end)
        : FBytes(bytes), FEnd(end) {
        std::memcpy(FFew, few, sizeof FFew);
#if defined(__SSE2__)
        for (int j = 0; j < kFewBytes; ++j)
            FSplat[j] = _mm_set1_epi8(static_cast<char>(few[j]));
#endif
    }

    // The first place at or after from that holds one of the bytes, or end when there is none.
    int32_t Next(int32_t from) {
        from = from < 0 ? 0 : from;
        while (from < FEnd) {
            const int32_t block = from & ~63;
            if (block != FBlock)
                Load(block);
            if (const uint64_t mask = FMask & (~uint64_t{0} << (from - block)); mask != 0)
                return block + std::countr_zero(mask);
            from = block + 64;
        }
        return FEnd;
    }

private:
    bool IsFew(unsigned char c) const {
        return c == FFew[0] || c == FFew[1] || c == FFew[2] || c == FFew[3];
    }

    void Load(int32_t block) {
        FBlock = block;
        FMask = 0;
        for (int32_t at = block; at < block + 64 && at < FEnd; at += 16)
            FMask |= uint64_t{Mask16(at)} << (at - block);
    }

    // The places in [at, min(at + 16, end)), bit k for at + k.
    uint32_t Mask16(int32_t at) const {
#if defined(__SSE2__)
        if (FEnd >= 16) {
            // Near the end, the last 16 bytes are read and those before at are shifted out.
            const int32_t from = at + 16 <= FEnd ? at : FEnd - 16;
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(FBytes + from));
            const __m128i hit =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, FSplat[0]), _mm_cmpeq_epi8(x, FSplat[1])),
                             _mm_or_si128(_mm_cmpeq_epi8(x, FSplat[2]), _mm_cmpeq_epi8(x, FSplat[3])));
            return static_cast<uint32_t>(_mm_movemask_epi8(hit)) >> (at - from);
        }
#endif
        uint32_t mask = 0;
        for (int32_t k = at; k < at + 16 && k < FEnd; ++k)
            mask |= static_cast<uint32_t>(IsFew(FBytes[k])) << (k - at);
        return mask;
    }

    const unsigned char* FBytes;
    int32_t FEnd;
    uint8_t FFew[kFewBytes];
#if defined(__SSE2__)
    __m128i FSplat[kFewBytes];
#endif
    int32_t FBlock = -64;
    uint64_t FMask = 0;
};

} // namespace zandor
