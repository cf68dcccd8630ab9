// Builds our screen fonts from the code page 437 sets that text art was drawn in: the 256
// characters in one fixed cell, glyph for glyph as the art archives' renderings show them (their
// 8x16 and 8x8 sets come from libansilove, see AnsiloveGlyphs.h) and, for the 8x14 cell, as the
// IBM set in Debian's console-data package draws them. Nothing is drawn by us.
#pragma once

#include "ConsoleFont.h"

#include <array>
#include <string>
#include <vector>

namespace zandor::fontgen {

// The 256 glyphs of one cell size, indexed by code page 437 byte.
using Cp437Glyphs = std::array<GlyphBitmap, 256>;

struct ScreenFont {
    std::string family;
    int width = 0;
    int height = 0;
    int ascent = 0; // rows above the baseline; the rest of the cell is the descent
    Cp437Glyphs glyphs;
};

// The sets the screen fonts are made of.
struct VgaSources {
    // The 8x16 set, as libansilove draws code page 437 in 80x25.
    Cp437Glyphs vga8x16;
    // The 8x8 set, as libansilove draws code page 437 in 80x50.
    Cp437Glyphs vga8x8;
    // An IBM-derived 8x14 set made for code page 866, without a Unicode table (console-data).
    ConsoleFont alt8x14;
};
inline constexpr const char* kAlt8x14File = "alt-8x14.psf.gz";

// The 8x14 form of a VGA 8x16 glyph. The VGA's 8x16 set grew out of its 8x14 set by drawing one
// row twice, at the middle where it can (row 7 again as row 8), and adding a row at the bottom;
// this drops the bottom row and the repeat nearest the middle, looking below it first, so that no
// row the glyph draws only once is lost.
GlyphBitmap Vga8x14From8x16(const GlyphBitmap& glyph);

// Every pixel as a 2x2 square.
GlyphBitmap Doubled(const GlyphBitmap& glyph);

// Every pixel as a square of n x n.
GlyphBitmap Multiplied(const GlyphBitmap& glyph, int n);

// The whole-number enlargements the window and the export draw art at, beyond the doubled sizes:
// "ZandorTiny" x2, x3 and x4, and x3 and x4 of the 8x14 and 8x16 "ZandorLarge" (each base is one
// of `fonts` with an 8-pixel cell). Each glyph is its base's glyph multiplied exactly.
std::vector<ScreenFont> EnlargedScreenFonts(const std::vector<ScreenFont>& fonts);

// Fails with std::runtime_error when an enlarged font (read back) is not its base multiplied.
void CheckEnlargedFonts(const std::vector<ScreenFont>& bases, const std::vector<ScreenFont>& enlarged);

// "ZandorTiny" 8x8 and "ZandorLarge" 8x14, 8x16, 16x28 and 16x32, in that order.
std::vector<ScreenFont> BuildScreenFonts(const VgaSources& sources);

// Checks the fonts as they were read back from their files: every size has all 256 glyphs of its
// cell, the 8x16 and 8x8 glyphs are their sources' bit for bit, and each doubled size is the exact
// doubling of its base. Fails with std::runtime_error naming the first fault.
void CheckScreenFonts(const std::vector<ScreenFont>& fonts, const VgaSources& sources);

} // namespace zandor::fontgen
