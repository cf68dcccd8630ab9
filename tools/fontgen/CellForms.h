// The forms of the screen fonts beyond their 8-pixel cells (platform/ScreenCells.h): the VGA's
// nine-pixel cells, and the taller-than-wide pixels of its 720x400 mode as rows stretched to the
// DOS aspect. Each form is a family of its own, built from the 8-pixel fonts.
#pragma once

#include "ScreenFontBuilder.h"

#include <vector>

namespace zandor::fontgen {

// The nine-pixel cell of an 8-pixel glyph of `byte`: its ninth column repeats the eighth for the
// line-drawing bytes and is blank for the others.
GlyphBitmap NineDotGlyph(const GlyphBitmap& glyph, unsigned char byte);

// The glyph `factor` times as wide and stretched to DosAspectHeight(factor * height) rows: each row
// shows the glyph's row StretchedRowSource picks for it, every pixel `factor` wide.
GlyphBitmap DosAspectGlyph(const GlyphBitmap& glyph, int factor);

// The nine-pixel form of every 8-pixel font of a screen face (each base cell and each enlargement
// of one among `eightDot`): the base's glyphs with their ninth column, enlarged as the 8-pixel size
// is, in the family ScreenFontFamily(face, true, false).
std::vector<ScreenFont> NineDotFonts(const std::vector<ScreenFont>& eightDot);

// The DOS-aspect forms of base fonts of 8 or 9 pixels per cell (a face's base cells or their
// nine-pixel forms), for every factor from kLeastDosAspectFactor to kMostDosAspectFactor, in the
// family ScreenFontFamily(face, nine, true). The ascent is the rows whose source row lies above the
// base's baseline.
std::vector<ScreenFont> DosAspectFonts(const std::vector<ScreenFont>& bases);

// Fail with std::runtime_error naming the first fault when the fonts, read back from their files,
// are not the forms of the 8-pixel fonts (also read back): each nine-pixel font its 8-pixel size
// with the ninth column, each DOS-aspect font its base row by row.
void CheckNineDotFonts(const std::vector<ScreenFont>& eightDot, const std::vector<ScreenFont>& nineDot);
void CheckDosAspectFonts(const std::vector<ScreenFont>& bases, const std::vector<ScreenFont>& dosAspect);

// Fails unless the fonts are exactly the families and heights the program asks for: every form of
// each screen face, in the cells ScreenFontCells gives the face, the DOS-aspect forms at the
// heights DosAspectPixels gives for those cells, each height once in a family.
void CheckFamilies(const std::vector<ScreenFont>& fonts);

} // namespace zandor::fontgen
