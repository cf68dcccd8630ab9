// Builds our screen fonts from the IBM VGA's own character sets as Debian's console-data package
// ships them: the 256 characters of code page 437 in one fixed cell, glyph for glyph as the VGA
// drew them, so that text art looks the way it was drawn. Nothing is drawn by us.
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

// The console fonts the screen fonts are made of, and their file names in the console fonts folder.
struct VgaSources {
    // The VGA ROM's 8x16 set, in code page 437 order with its Unicode table.
    ConsoleFont rom8x16;
    // The VGA ROM's 8x8 set, in code page 437 order, each glyph given a ninth row.
    ConsoleFont rom8x9;
    // An IBM-derived 8x14 set made for code page 866, without a Unicode table.
    ConsoleFont alt8x14;
};
inline constexpr const char* kRom8x16File = "default8x16.psf.gz";
inline constexpr const char* kRom8x9File = "default8x9.psf.gz";
inline constexpr const char* kAlt8x14File = "alt-8x14.psf.gz";

// The glyphs of a font whose Unicode table lists every code page 437 character under the glyph at
// that character's own byte. Fails with std::runtime_error when the font is not such a font.
Cp437Glyphs InCp437Order(const ConsoleFont& font);

// The top `rows` rows of every glyph. Fails when a row cut off holds anything but a repeat of the
// last row kept (how a taller cell continues the lines and blocks of a shorter set).
Cp437Glyphs TopRows(const Cp437Glyphs& glyphs, int rows);

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
// cell, the 8x16 glyphs are the ROM's bit for bit, and each doubled size is the exact doubling of
// its base. Fails with std::runtime_error naming the first fault.
void CheckScreenFonts(const std::vector<ScreenFont>& fonts, const Cp437Glyphs& rom8x16);

} // namespace zandor::fontgen
