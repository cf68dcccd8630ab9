// Pictures of our own for the code page 437 characters that the console fonts lack or only
// approximate (smileys, card suits, notes, triangles, a few symbols). They are drawn on the two
// grids of the console fonts, 8x16 and 8x8, and fitted to each cell by the builder.
#pragma once

#include "ConsoleFont.h"

#include <optional>

namespace zandor::fontgen {

struct DrawnGrid {
    int height;   // 16 or 8 rows, 8 columns
    int baseline; // rows above the baseline (the ascent of the grid's letters)
};
inline constexpr DrawnGrid kTallGrid{16, 12};
inline constexpr DrawnGrid kSmallGrid{8, 7};

// Our picture of the code point on the given grid, when we drew one.
std::optional<GlyphBitmap> DrawnGlyph(char32_t codePoint, const DrawnGrid& grid);

// Every code point drawn on the grid (for tests and the completeness check).
std::vector<char32_t> DrawnCodePoints(const DrawnGrid& grid);

} // namespace zandor::fontgen
