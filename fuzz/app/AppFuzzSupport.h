// What the targets of the program's features share: the application object that widgets, fonts
// and printers need, and plain models of UTF-8 and of the two code pages that are written apart
// from the program's own conversions, so that they can judge them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zandor::fuzz {

class FuzzInput;

// A number from the next bytes, the first the highest. One call per number: the order in which the
// operands of one expression read their bytes would differ between compilers, and so would what a
// saved input means.
uint32_t ReadNumber(FuzzInput& in, int bytes);

// A QApplication on the offscreen platform, made on first use and kept to the end of the process;
// an application made by the caller (the test runner's) is used as it is.
void EnsureGuiApplication();

// UTF-8 read by the table of well-formed byte sequences of the Unicode standard, one code point at
// a time. On a failure, Offset is where the sequence that failed starts and CutOff tells whether
// its bytes so far begin a well-formed sequence that the text's end cut off.
struct ModelUtf8 {
    std::u32string Text;
    bool Ok = true;
    bool CutOff = false;
    size_t Offset = 0;
};
ModelUtf8 ModelDecodeUtf8(std::string_view bytes);

// The character each byte of Windows-1252 stands for, as the system's iconv knows it; the five
// bytes that code page leaves undefined stand for the C1 control of their own number, as the
// Windows conversion has them.
char32_t ModelCp1252(uint8_t byte);
// The byte of Windows-1252 for a character, if any.
std::optional<uint8_t> ModelCp1252Byte(char32_t c);
// Code page 437 as iconv knows it, for the bytes that are printable characters there (0x20 to
// 0x7E and 0x80 to 0xFF); nothing for the others, whose pictures iconv does not give.
std::optional<char32_t> ModelCp437(uint8_t byte);

// The byte of the other case of a byte's letter in Windows-1252, as the C library's Unicode locale
// knows the letters (the byte itself where the code page lacks the other letter); HasModelCase is
// false when the system has no such locale.
bool HasModelCase();
uint8_t ModelAnsiCase(uint8_t byte, bool upper);

// Every occurrence of from (not empty) replaced by to, from the left in the text as it was, none
// found in what was put in.
std::string ModelReplaceAll(const std::string& text, const std::string& from, const std::string& to);

// The bytes as printable text for a failure message: C escapes for everything else.
std::string Printable(std::string_view bytes, size_t maxLength = 200);

} // namespace zandor::fuzz
