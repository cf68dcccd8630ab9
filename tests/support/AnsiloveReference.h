// What libansilove draws for each code page 437 byte, read at test time from its own picture: the
// reference the screen fonts are compared with. Written apart from the font generator's reader on
// purpose, so that a test comparing the two does not run the code it checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zandor::test {

// libansilove's code page 437 fonts: 8x16 cells (80x25) and 8x8 cells (80x50).
enum class TAnsiloveFont { Cp437, Cp437_80x50 };

// One byte's cell as drawn, rows from the top.
struct TReferenceGlyph {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Ink; // Width * Height, 1 where the foreground colour is

    bool At(int x, int y) const { return Ink[static_cast<size_t>(y) * Width + x] != 0; }
    // The rows as '#' and '.', for failure messages.
    std::string Picture() const;
};

// The 256 cells libansilove draws for the bytes 0-255 in `font`, with 8 or 9 pixels per cell
// (`bits`), bright white on black. Empty, with the reason in `error`, when the library refuses or
// its picture is not one row of 256 cells of the font's size.
std::vector<TReferenceGlyph> AnsiloveReference(TAnsiloveFont font, int bits, std::string* error);

} // namespace zandor::test
