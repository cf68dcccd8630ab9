// Case folding of 8-bit text: the upper-casing rule a control uses to compare text without regard
// to letter case (keyword matching, start/stop keys, search).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zandor {

enum TamUpperCase : unsigned char {
    amuAscii,      // only 'a'-'z' become 'A'-'Z'
    amuAnsi,       // the letters of the system's ANSI code page (Windows-1252)
    amuUserDefined // UserUpperCaseProc; the ASCII rule while it is unset
};

// Upper-cases a NUL-terminated byte string in place.
using TUpperCaseProc = void (*)(char* text);

// The application's own rule for amuUserDefined; process-wide, unset by default.
extern TUpperCaseProc UserUpperCaseProc;

// Upper-cases n bytes in place by the given rule. A user-defined procedure sees the bytes as a
// NUL-terminated string: it stops at the first NUL, which text of this program never contains.
void UpperCaseBuffer(TamUpperCase kind, char* text, size_t n);
std::string UpperCased(TamUpperCase kind, std::string_view text);

} // namespace zandor
