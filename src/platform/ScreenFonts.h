// The program's own screen fonts and the stand-ins for the Windows font names it asks for.
// "ZandorLarge" and "ZandorTiny" are bitmap fonts generated at build time into a "fonts" folder
// beside the executable (installed under share/zandor); the Windows faces map to installed Debian
// fonts by Qt's substitution.
#pragma once

#include "platform/FontValue.h"

#include <string>
#include <string_view>
#include <vector>

namespace zandor::platform {

inline constexpr const char* LargeScreenFontFace = "ZandorLarge";
inline constexpr const char* TinyScreenFontFace = "ZandorTiny";

// True for "ZandorLarge" and "ZandorTiny".
bool IsScreenFontFace(std::string_view face);

// The screen fonts hold the glyphs of code page 437 and no others, so a font of either face shows
// the OEM character set whatever a stored setting, a dialog or a command line gave it; every other
// font keeps its own. Every way the editor's font is chosen goes through this.
FontValue WithFaceCharset(FontValue font);

// The character set a font shows its bytes in, as the conversions of CodePages.h number it:
// OemCharset (code page 437) for the screen faces and OEM fonts, AnsiCodePage for the others.
int ShownCharset(const FontValue& font);

// The pixel heights of the cells the screen font `face` comes in (the generated sizes, each a base
// cell or a whole multiple of one); empty for any other face.
const std::vector<int>& ScreenFontCells(std::string_view face);

// The cell of a screen font nearest to `pixels` (the smaller of two equally near), so every device
// draws the same glyphs instead of leaving the choice to the font matcher; other faces keep
// `pixels`.
int ScreenFontPixels(std::string_view face, int pixels);

// The "fonts" folder of the program's files (ResourceFolder of the executable's folder; needs an
// application object).
std::string DefaultScreenFontsFolder();

// Loads every font file of the folder (.bdf, .pcf, .ttf, .otf) as an application font, so that its
// faces are found by name. Needs a QGuiApplication. True when the folder held font files and each
// one loaded; a file that an earlier call loaded counts as loaded and is not added twice.
bool RegisterScreenFonts(const std::string& folder);

// "MS Sans Serif", "Tahoma", "Arial" and "Courier New" resolve to installed look-alikes when the
// faces themselves are missing (metric-compatible Liberation faces first where they exist).
void InstallFontSubstitutions();

} // namespace zandor::platform
