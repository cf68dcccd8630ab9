// The code page 437 glyphs as the art archives show them: libansilove draws every byte once and the
// glyphs are read back from its picture, so that the screen fonts hold exactly what the renderings
// of the archives hold.
#pragma once

#include "ScreenFontBuilder.h"

namespace zandor::fontgen {

// libansilove's two code page 437 sets: the 8x16 set of its 80x25 mode and the 8x8 set of its 80x50
// mode.
enum class AnsiloveSet { Cell8x16, Cell8x8 };

// The 256 glyphs of the set, 8 pixels wide, as libansilove draws them. Fails with
// std::runtime_error when the library refuses or its picture is not the grid of cells it should be.
Cp437Glyphs AnsiloveGlyphs(AnsiloveSet set);

// Fails with std::runtime_error when the glyphs are not the set that libansilove 1.3.1 draws, as
// told by some rows of letters, pictures, box drawing and shades known from it.
void CheckKnownAnsiloveRows(AnsiloveSet set, const Cp437Glyphs& glyphs);

} // namespace zandor::fontgen
