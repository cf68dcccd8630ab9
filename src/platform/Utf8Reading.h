// Reading one UTF-8 sequence as the standard's table of well-formed sequences defines it: no
// overlong forms, no surrogate halves, nothing past U+10FFFF. Shared by the file decoding and the
// text commands.
#pragma once

#include <cstddef>
#include <string_view>

namespace zandor::platform {

struct TUtf8Step {
    enum class TStatus { Ok, Invalid, CutOff };
    char32_t Char = 0;
    // The bytes read: the whole sequence, or up to the byte that broke it (the end of the text for
    // a sequence cut off there).
    size_t Length = 1;
    TStatus Status = TStatus::Ok;
};

// The character whose sequence starts at `at` (which must lie inside the text).
inline TUtf8Step ReadUtf8Char(std::string_view text, size_t at) {
    const auto byteAt = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byteAt(at);
    if (lead < 0x80)
        return {lead, 1, TUtf8Step::TStatus::Ok};
    // The sequence's length by its lead byte, and the range its second byte must fall in: narrower
    // after the leads whose full range would hold overlong forms (E0, F0), surrogate halves (ED)
    // or values past the last code point (F4).
    size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {0, 1, TUtf8Step::TStatus::Invalid};
    }
    char32_t c = lead & (0x7F >> length);
    for (size_t n = 1; n < length; ++n) {
        if (at + n == text.size())
            return {0, n, TUtf8Step::TStatus::CutOff};
        const unsigned byte = byteAt(at + n);
        if (byte < (n == 1 ? low : 0x80) || byte > (n == 1 ? high : 0xBF))
            return {0, n, TUtf8Step::TStatus::Invalid};
        c = (c << 6) | (byte & 0x3F);
    }
    return {c, length, TUtf8Step::TStatus::Ok};
}

} // namespace zandor::platform
