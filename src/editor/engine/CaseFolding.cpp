#include "editor/engine/CaseFolding.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zandor {

TUpperCaseProc UserUpperCaseProc = nullptr;

namespace {

using Table = std::array<unsigned char, 256>;

Table AsciiTable() {
    Table t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 32 : b);
    return t;
}

// Windows-1252: the accented small letters sit 0x20 above their capitals, except the division
// sign (0xF7, whose place holds the multiplication sign) and y with diaeresis, whose capital lives
// in the 0x80 block like the three other letter pairs there. Sharp s and micro sign have no capital
// in this code page and stay.
Table AnsiTable() {
    Table t = AsciiTable();
    for (int b = 0xE0; b <= 0xFE; ++b)
        if (b != 0xF7)
            t[b] = static_cast<unsigned char>(b - 0x20);
    t[0x9A] = 0x8A; // s caron
    t[0x9C] = 0x8C; // oe
    t[0x9E] = 0x8E; // z caron
    t[0xFF] = 0x9F; // y diaeresis
    return t;
}

const Table& TableFor(TamUpperCase kind) {
    static const Table ascii = AsciiTable();
    static const Table ansi = AnsiTable();
    return kind == amuAnsi ? ansi : ascii;
}

} // namespace

void UpperCaseBuffer(TamUpperCase kind, char* text, size_t n) {
    if (kind == amuUserDefined && UserUpperCaseProc) {
        // The procedure works on NUL-terminated strings: give it a terminated copy so it can never
        // run past the bytes asked for.
        std::vector<char> copy(text, text + n);
        copy.push_back('\0');
        UserUpperCaseProc(copy.data());
        std::memcpy(text, copy.data(), n);
        return;
    }
    const Table& t = TableFor(kind);
    auto* p = reinterpret_cast<unsigned char*>(text);
    for (size_t i = 0; i < n; ++i)
        p[i] = t[p[i]];
}

std::string UpperCased(TamUpperCase kind, std::string_view text) {
    std::string s(text);
    UpperCaseBuffer(kind, s.data(), s.size());
    return s;
}

} // namespace zandor
