// The cursor over the places of a few bytes against a byte-by-byte search: random texts on both
// sides of the block and read sizes, asked from random places, forwards and back.
#include "editor/engine/ByteSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace zandor {
namespace {

TEST(FewBytesCursor, FindsTheNextPlaceWhereverItIsAsked) {
    std::mt19937 rng(64);
    const std::string alphabet = "ab.:@\xB3 ";
    for (int round = 0; round < 2000; ++round) {
        const size_t length = rng() % (round % 4 == 0 ? 20 : 200);
        std::string text(length, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        // One to four distinct bytes, the unused places repeating the first.
        uint8_t few[kFewBytes];
        const int distinct = 1 + static_cast<int>(rng() % kFewBytes);
        for (int j = 0; j < kFewBytes; ++j)
            few[j] = static_cast<uint8_t>(j < distinct ? alphabet[rng() % alphabet.size()] : few[0]);
        // The cursor may see only part of the text.
        const auto end = static_cast<int32_t>(length == 0 ? 0 : rng() % (length + 1));
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        TFewBytesCursor cursor(few, bytes, end);
        for (int ask = 0; ask < 12; ++ask) {
            const int32_t from = static_cast<int32_t>(rng() % (length + 3)) - 1;
            int32_t expected = std::min(std::max(from, 0), end);
            while (expected < end && bytes[expected] != few[0] && bytes[expected] != few[1] &&
                   bytes[expected] != few[2] && bytes[expected] != few[3])
                ++expected;
            ASSERT_EQ(cursor.Next(from), expected)
                << "round " << round << " text '" << text << "' end " << end << " from " << from;
        }
    }
}

} // namespace
} // namespace zandor
