#include "BdfReader.h"

#include "platform/CodePages.h"

#include <sstream>
#include <stdexcept>

namespace zandor::fontgen {

namespace {

// Beyond every cell the screen fonts come in (the DOS-aspect forms reach 36x86).
constexpr int kLargestCell = 128;

[[noreturn]] void Unreadable(const std::string& what) {
    throw std::runtime_error("unreadable BDF font: " + what);
}

bool StartsWith(const std::string& line, const char* keyword) {
    const std::string k = std::string(keyword) + ' ';
    return line.compare(0, k.size(), k) == 0;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    Unreadable(std::string("bad hex digit '") + c + "'");
}

std::istringstream Arguments(const std::string& line) {
    const size_t space = line.find(' ');
    return std::istringstream(space == std::string::npos ? std::string() : line.substr(space + 1));
}

} // namespace

ScreenFont ParseBdf(const std::string& text) {
    ScreenFont font;
    int boxX = 0, boxY = 0;
    bool haveBox = false;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || !StartsWith(line, "STARTFONT"))
        Unreadable("no STARTFONT line");
    long encoding = -1;
    int w = 0, h = 0, x0 = 0, y0 = 0;
    while (std::getline(in, line)) {
        if (StartsWith(line, "FONTBOUNDINGBOX")) {
            auto args = Arguments(line);
            if (!(args >> font.width >> font.height >> boxX >> boxY) || font.width <= 0 || font.height <= 0 ||
                font.width > kLargestCell || font.height > kLargestCell)
                Unreadable("bad FONTBOUNDINGBOX");
            haveBox = true;
        } else if (StartsWith(line, "FAMILY_NAME")) {
            const size_t open = line.find('"'), close = line.rfind('"');
            if (open != std::string::npos && close > open)
                font.family = line.substr(open + 1, close - open - 1);
        } else if (StartsWith(line, "FONT_ASCENT")) {
            Arguments(line) >> font.ascent;
        } else if (StartsWith(line, "ENCODING")) {
            if (!(Arguments(line) >> encoding))
                Unreadable("bad ENCODING");
        } else if (StartsWith(line, "BBX")) {
            if (!(Arguments(line) >> w >> h >> x0 >> y0) || w < 0 || h < 0)
                Unreadable("bad BBX");
        } else if (line == "BITMAP") {
            if (!haveBox)
                Unreadable("a glyph before the FONTBOUNDINGBOX");
            const int byte = encoding >= 0 && encoding <= 0xFFFF
                                 ? platform::UnicodeToCp437(static_cast<char16_t>(encoding))
                                 : -1;
            if (byte < 0 || platform::Cp437ToUnicode(static_cast<unsigned char>(byte)) != encoding)
                Unreadable("encoding " + std::to_string(encoding) + " is not a code page 437 character");
            GlyphBitmap& glyph = font.glyphs[byte];
            if (glyph.width() != 0)
                Unreadable("encoding " + std::to_string(encoding) + " given twice");
            glyph = GlyphBitmap(font.width, font.height);
            // Glyph rows run down from the top of its box; the cell's top is the top of the font's box.
            const int left = x0 - boxX, top = (boxY + font.height) - (y0 + h);
            for (int row = 0; row < h; ++row) {
                if (!std::getline(in, line) || line.size() < static_cast<size_t>((w + 7) / 8 * 2))
                    Unreadable("bitmap cut short");
                for (int x = 0; x < w; ++x) {
                    const int nibble = HexDigit(line[x / 4]);
                    if (!((nibble >> (3 - x % 4)) & 1))
                        continue;
                    const int cx = left + x, cy = top + row;
                    if (cx < 0 || cy < 0 || cx >= font.width || cy >= font.height)
                        Unreadable("a glyph outside the bounding box");
                    glyph.set(cx, cy);
                }
            }
            encoding = -1;
        }
    }
    if (!haveBox)
        Unreadable("no FONTBOUNDINGBOX");
    return font;
}

} // namespace zandor::fontgen
