#include "BdfWriter.h"

#include "platform/CodePages.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace zandor::fontgen {

namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

} // namespace

std::string FormatBdf(const ScreenFont& font) {
    const int w = font.width, h = font.height, descent = font.height - font.ascent;
    // Written in code point order, so that the file reads the same from build to build.
    std::map<char32_t, const GlyphBitmap*> byCodePoint;
    for (int b = 0; b < 256; ++b)
        byCodePoint.emplace(platform::Cp437ToUnicode(static_cast<unsigned char>(b)), &font.glyphs[b]);
    // The nominal size is the cell height in pixels; at 72 dpi points and pixels are the same.
    std::ostringstream out;
    out << "STARTFONT 2.1\n"
        << "FONT -Zandor-" << font.family << "-Medium-R-Normal--" << h << '-' << h * 10 << "-72-72-C-"
        << w * 10 << "-ISO10646-1\n"
        << "SIZE " << h << " 72 72\n"
        << "FONTBOUNDINGBOX " << w << ' ' << h << " 0 " << -descent << '\n'
        << "STARTPROPERTIES 17\n"
        << "FOUNDRY \"Zandor\"\n"
        << "FAMILY_NAME \"" << font.family << "\"\n"
        << "WEIGHT_NAME \"Medium\"\n"
        << "SLANT \"R\"\n"
        << "SETWIDTH_NAME \"Normal\"\n"
        << "ADD_STYLE_NAME \"\"\n"
        << "PIXEL_SIZE " << h << '\n'
        << "POINT_SIZE " << h * 10 << '\n'
        << "RESOLUTION_X 72\n"
        << "RESOLUTION_Y 72\n"
        << "SPACING \"C\"\n"
        << "AVERAGE_WIDTH " << w * 10 << '\n'
        << "CHARSET_REGISTRY \"ISO10646\"\n"
        << "CHARSET_ENCODING \"1\"\n"
        << "FONT_ASCENT " << font.ascent << '\n'
        << "FONT_DESCENT " << descent << '\n'
        << "DEFAULT_CHAR 32\n"
        << "ENDPROPERTIES\n"
        << "CHARS " << byCodePoint.size() << '\n';
    const int swidth = (w * 1000 + h / 2) / h;
    const int bytesPerRow = (w + 7) / 8;
    for (const auto& [cp, glyph] : byCodePoint) {
        out << "STARTCHAR uni" << Hex(cp, 4) << '\n'
            << "ENCODING " << static_cast<unsigned>(cp) << '\n'
            << "SWIDTH " << swidth << " 0\n"
            << "DWIDTH " << w << " 0\n"
            << "BBX " << w << ' ' << h << " 0 " << -descent << '\n'
            << "BITMAP\n";
        // Each row byte by byte, the cell padded to whole bytes: rows may be wider than a word.
        for (int y = 0; y < h; ++y) {
            for (int byte = 0; byte < bytesPerRow; ++byte) {
                unsigned bits = 0;
                for (int x = 8 * byte; x < 8 * byte + 8; ++x)
                    bits = (bits << 1) | (x < w && glyph->at(x, y) ? 1u : 0u);
                out << Hex(bits, 2);
            }
            out << '\n';
        }
        out << "ENDCHAR\n";
    }
    out << "ENDFONT\n";
    return out.str();
}

} // namespace zandor::fontgen
