// The text commands' rewrites of the selected bytes, as pure functions: letter case through the ANSI
// code page's tables, joining lines, re-encoding between a character set and UTF-8, and trimming.
// None of them knows the editor; the commands hand them the selection and put back what they return.
#pragma once

#include "platform/CodePages.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zandor {

// Every byte through the ANSI code page's lower- or upper-case table (the length never changes).
// The bytes are taken as ANSI whatever font shows them, so an OEM box-drawing byte may change too.
std::string LowercasedText(std::string_view text);
std::string UppercasedText(std::string_view text);
// Only the first byte upper-cased; the rest as it was.
std::string CapitalizedText(std::string_view text);

// CR LF becomes a blank, then every three blanks one, then every two blanks one: each pass replaces
// non-overlapping runs from left to right without looking at its own output, so a long run of
// blanks shrinks but may keep two. A lone CR or LF stays.
std::string JoinedLines(std::string_view text);

// Without the characters of code 32 or less at either end.
std::string TrimmedText(std::string_view text);

// The bytes of a character set (platform::OemCharset: code page 437, else the ANSI code page) as
// UTF-8; the control bytes stay control characters.
std::string CharsetToUtf8(std::string_view text, int charset = platform::AnsiCodePage);

// UTF-8 decoded and written in a character set; a character the set lacks becomes "?".
// Text that is not UTF-8 is refused whole rather than converted in part.
struct TUtf8Decoding {
    enum class TStatus { Ok, Invalid, CutOff };
    TStatus Status = TStatus::Ok;
    std::string Text;       // the converted text when Ok
    size_t ErrorOffset = 0; // where the sequence that failed starts
    bool Ok() const { return Status == TStatus::Ok; }
};
TUtf8Decoding Utf8ToCharset(std::string_view text, int charset = platform::AnsiCodePage);

} // namespace zandor
