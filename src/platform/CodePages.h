// The two 8-bit character sets the program knows: the system's ANSI code page (Windows-1252) and the
// OEM set (code page 437) that text-mode art is drawn in. Conversions go through 256-entry tables.
#pragma once

#include <string>
#include <string_view>

namespace zandor::platform {

// The code page that stands for "the system's ANSI code page" everywhere in the program.
inline constexpr int AnsiCodePage = 1252;
// The font character-set number of the OEM set; every other number is read as ANSI.
inline constexpr int OemCharset = 255;

char16_t Cp1252ToUnicode(unsigned char byte);
char16_t Cp437ToUnicode(unsigned char byte);

// The byte that shows the given character, or -1 when the code page has none.
int UnicodeToCp1252(char16_t ch);
int UnicodeToCp437(char16_t ch);

// The whole 256-entry table of a font character set (OemCharset: code page 437, else Windows-1252).
const char16_t* CharsetTable(int charset);

// Text exchanged with other programs (the clipboard): the bytes as the characters a font of the
// character set shows them, and back. Tab, LF and CR are the text's structure and keep their codes
// both ways, so no character turns into a break or a tab; every other byte is its table's
// character. A character the set has no byte for (a surrogate pair counts as one) becomes "?".
std::u16string TextToUnicode(std::string_view bytes, int charset);
std::string UnicodeToText(std::u16string_view text, int charset);

// Letter case in the ANSI code page: for every byte, the byte of its upper- or lower-case letter, or
// the byte itself when the code page has no such letter (so the length of a text never changes).
const unsigned char* AnsiUpperTable();
const unsigned char* AnsiLowerTable();

} // namespace zandor::platform
