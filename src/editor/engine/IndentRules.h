// Indentation rules of typing: how far a smart tab reaches, and the indentation a new line takes
// over from the line above. Plain text rules, on the paragraph store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandor {

class TParagraphsList;

// The blanks a smart tab inserts with the caret at screen column `column` of paragraph `par`
// (tabs expanded to tabStops, format codes counting nothing when staticFormat): up the text to the
// first paragraph whose screen length exceeds the column, and there from the character at that
// column past the rest of its word and the blanks after it. 0 when no paragraph above is longer.
int32_t SmartTabBlanks(const TParagraphsList& pars, int32_t par, int32_t column, int tabStops,
                       bool staticFormat);

// The leading blanks and tabs of a line, at most `limit` characters of them.
std::string_view LeadingIndent(std::string_view line, int32_t limit);

// An indentation as blanks only: each tab becomes tabStops blanks (tabs stay with tabStops <= 0).
std::string IndentAsBlanks(std::string_view indent, int tabStops);

} // namespace zandor
