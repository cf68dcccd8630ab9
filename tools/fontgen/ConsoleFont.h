// The Linux console fonts (PSF1 and PSF2, optionally gzip-compressed) that our screen fonts start from.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zandor::fontgen {

// A one-bit picture, one byte per pixel (0 or 1), rows from the top.
class GlyphBitmap {
public:
    GlyphBitmap() = default;
    GlyphBitmap(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x] != 0; }
    void set(int x, int y, bool on = true) { pixels_[static_cast<size_t>(y) * width_ + x] = on ? 1 : 0; }
    // Sets every pixel of the rectangle [x0, x1) x [y0, y1), clipped to the picture.
    void fill(int x0, int y0, int x1, int y1);
    bool hasInk() const;
    // First and last row with ink, or {-1, -1} when the picture is blank.
    std::pair<int, int> inkRows() const;

    bool operator==(const GlyphBitmap&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

struct ConsoleFont {
    int width = 0;
    int height = 0;
    std::vector<GlyphBitmap> glyphs;
    // Whether the font names the characters of its glyphs; without a table only the glyph order,
    // the code page the font was made for, says which character a glyph is.
    bool hasUnicodeTable = false;
    // The single code points of each glyph in the order the table lists them (sequences left out).
    std::vector<std::vector<char32_t>> codePoints;
    // The glyph listed first for a code point.
    std::map<char32_t, int> glyphOf;
};

// Parses a PSF1 or PSF2 font held in memory; fails with std::runtime_error on malformed data.
ConsoleFont ParsePsf(const std::vector<std::uint8_t>& bytes);

// Reads a whole file, decompressing it when it is gzip data; fails with std::runtime_error.
std::vector<std::uint8_t> ReadMaybeGzipped(const std::string& path);

} // namespace zandor::fontgen
