// Reads back the BDF fonts FormatBdf writes, so that the build can check what it actually wrote.
#pragma once

#include "ScreenFontBuilder.h"

#include <string>

namespace zandor::fontgen {

// The font of the BDF text, each glyph placed in the font's bounding box and filed under the code
// page 437 byte of its encoding; bytes the text has no glyph for stay empty (size 0). Fails with
// std::runtime_error on text it cannot read, on an encoding outside code page 437 and on one
// given twice.
ScreenFont ParseBdf(const std::string& text);

} // namespace zandor::fontgen
