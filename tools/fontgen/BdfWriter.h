// Writes a screen font as a BDF bitmap font that FreeType, and so Qt, loads as an application font.
#pragma once

#include "ScreenFontBuilder.h"

#include <string>

namespace zandor::fontgen {

// The BDF text of the font: encoded in ISO 10646 (each byte under its code page 437 character),
// every glyph one full cell of fixed advance.
std::string FormatBdf(const ScreenFont& font);

} // namespace zandor::fontgen
