// The text of a document for other programs: UTF-8 read through the font's character set, so art
// drawn in code page 437 keeps its box and block characters in any modern editor or browser.
#pragma once

#include "platform/Colors.h"

#include <string>
#include <vector>

namespace zandor {

// The lines as UTF-8, each ended by "\n". The bytes are read as the font's character set shows
// them (code page 437 for the OEM set, the ANSI code page otherwise); a tab stays a tab.
std::string LinesToUtf8(const std::vector<std::string>& lines, int charset);

// A page that needs nothing beside it: the UTF-8 text (escaped) in one pre block in the given
// colours, in a monospaced font stack whose box and block characters line up.
std::string HtmlPage(const std::string& utf8Text, const std::string& title, platform::TColor foreground,
                     platform::TColor background);

} // namespace zandor
