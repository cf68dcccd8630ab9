// Turns a console font into one of our screen fonts: the 256 characters of code page 437 in one
// fixed cell, each under its Unicode code point. Box drawing and block elements are generated for
// the cell so that they tile without seams; pictures the console font lacks are drawn by us.
#pragma once

#include "ConsoleFont.h"

#include <array>
#include <map>
#include <string>

namespace zandor::fontgen {

enum class GlyphSource { Blank, Generated, Console, Drawn };

struct ScreenFont {
    std::string family;
    int width = 0;
    int height = 0;
    int ascent = 0; // rows above the baseline; the rest of the cell is the descent
    std::map<char32_t, GlyphBitmap> glyphs;
    std::array<GlyphSource, 256> sources{}; // where the picture of each byte came from
};

// The console font's line grid. Its box-drawing lines are unitX columns and unitY rows thick; in
// those units the cell is 8 wide, the single horizontal line sits on lineRow and the single
// vertical line covers columns lineCol0 to lineCol1.
struct CellGrid {
    int width = 8;
    int height = 16;
    int ascent = 12;
    int unitX = 1;
    int unitY = 1;
    int lineRow = 7;
    int lineCol0 = 3;
    int lineCol1 = 4;
};

CellGrid MeasureGrid(const ConsoleFont& font);

// A box-drawing character (U+2500-U+256C as code page 437 has them) for the cell, or a blank
// bitmap of size 0 when the code point is not one of them.
GlyphBitmap BoxGlyph(char32_t codePoint, const CellGrid& grid);

// A shade or block element (U+2580-U+2593 as code page 437 has them), or size 0 when not one.
GlyphBitmap BlockGlyph(char32_t codePoint, const CellGrid& grid);

// Places a picture drawn on an 8-column grid (baseline = rows above its baseline) into the cell:
// baselines aligned, kept inside the cell, scaled by the grid units; a picture taller than the
// cell is resampled to fit.
GlyphBitmap FitToCell(const GlyphBitmap& picture, int baseline, const CellGrid& grid);

// Fails with std::runtime_error when some byte would be left without a picture.
ScreenFont BuildScreenFont(const ConsoleFont& font, const std::string& family);

} // namespace zandor::fontgen
