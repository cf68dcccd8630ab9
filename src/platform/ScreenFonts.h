// The program's own screen fonts and the stand-ins for the Windows font names it asks for.
// "ZandorLarge" and "ZandorTiny" are bitmap fonts generated at build time into a "fonts" folder
// beside the executable (installed under share/zandor); the Windows faces map to installed Debian
// fonts by Qt's substitution.
#pragma once

#include <string>

namespace zandor::platform {

inline constexpr const char* LargeScreenFontFace = "ZandorLarge";
inline constexpr const char* TinyScreenFontFace = "ZandorTiny";

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
