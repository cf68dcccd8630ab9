// Format codes: with StaticFormat on, five byte values inside the text are zero-width toggles of
// style bits. Everything that walks text with codes in it (layout, painting, replacement, copying
// as plain text) reads them through these helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandor {

inline constexpr char fcBold = 2;
inline constexpr char fcItalic = 1;
inline constexpr char fcUnderline = 21;
inline constexpr char fcHighlight = 3;
inline constexpr char fcAltFont = 4;

// The style bit that byte c toggles, or 0 when c is no format code.
uint8_t FormatCodeBit(char c);
inline bool IsFormatCode(char c) {
    return FormatCodeBit(c) != 0;
}
// The format code that toggles a style bit, or 0 for a bit without a code (strike-out, marks).
char FormatCodeOf(uint8_t styleBit);
// style toggled by every code in text.
uint8_t ApplyFormatCodes(uint8_t style, std::string_view text);
// The bits that the codes of text toggle an odd number of times.
inline uint8_t ToggledBits(std::string_view text) {
    return ApplyFormatCodes(0, text);
}
// The codes that undo a set of toggled bits, in the order underline, italic, bold, highlight,
// alternate font.
std::string CompensationCodes(uint8_t toggled);
// text without any of the five code bytes.
std::string StripFormatCodes(std::string_view text);
// text without the pairs of identical codes that stand next to each other with only codes between
// them, which toggle a style on and off again. mark, when given, is an index into text on entry and
// the number of characters before it that were kept on return.
std::string RemoveCodePairs(std::string_view text, size_t* mark = nullptr);

} // namespace zandor
