#include "ScreenFontBuilder.h"

#include "platform/CodePages.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace zandor::fontgen {

namespace {

char32_t CodePoint(int byte) {
    return platform::Cp437ToUnicode(static_cast<unsigned char>(byte));
}

[[noreturn]] void Fail(const std::string& what, int byte) {
    char where[40];
    std::snprintf(where, sizeof where, ": byte 0x%02X (U+%04X)", byte,
                  static_cast<unsigned>(CodePoint(byte)));
    throw std::runtime_error(what + where);
}

std::string CellName(const ScreenFont& font) {
    return std::to_string(font.width) + "x" + std::to_string(font.height);
}

bool RowsEqual(const GlyphBitmap& g, int ya, int yb) {
    for (int x = 0; x < g.width(); ++x)
        if (g.at(x, ya) != g.at(x, yb))
            return false;
    return true;
}

// The rows of a glyph in order, leaving out the rows listed.
GlyphBitmap WithoutRows(const GlyphBitmap& glyph, std::initializer_list<int> dropped) {
    GlyphBitmap out(glyph.width(), glyph.height() - static_cast<int>(dropped.size()));
    int to = 0;
    for (int y = 0; y < glyph.height(); ++y) {
        if (std::find(dropped.begin(), dropped.end(), y) != dropped.end())
            continue;
        for (int x = 0; x < glyph.width(); ++x)
            out.set(x, to, glyph.at(x, y));
        ++to;
    }
    return out;
}

// alt-8x14 is made for code page 866, which keeps code page 437's characters at these bytes: the
// pictures of the control bytes and ASCII, box drawing, shades and blocks, and ° ∙ · √ ■ and the
// no-break space. Its smiley (byte 1) has the mouth turned down, so that one follows the 8x16 set.
bool TakenFromAlt8x14(int byte) {
    if (byte == 0x01)
        return false;
    return byte < 0x80 || (byte >= 0xB0 && byte <= 0xDF) || (byte >= 0xF8 && byte <= 0xFB) || byte >= 0xFE;
}

// Rows above the baseline: the capital H stands on it.
int AscentOf(const Cp437Glyphs& glyphs) {
    const auto [top, bottom] = glyphs['H'].inkRows();
    if (bottom < 0)
        throw std::runtime_error("the capital H is blank");
    return bottom + 1;
}

ScreenFont Font(const std::string& family, const Cp437Glyphs& glyphs) {
    ScreenFont font;
    font.family = family;
    font.width = glyphs[0].width();
    font.height = glyphs[0].height();
    font.ascent = AscentOf(glyphs);
    font.glyphs = glyphs;
    return font;
}

ScreenFont DoubledFont(const ScreenFont& base) {
    ScreenFont font;
    font.family = base.family;
    font.width = 2 * base.width;
    font.height = 2 * base.height;
    font.ascent = 2 * base.ascent;
    for (int b = 0; b < 256; ++b)
        font.glyphs[b] = Doubled(base.glyphs[b]);
    return font;
}

void RequireCells(const Cp437Glyphs& glyphs, int width, int height, const char* name) {
    for (int b = 0; b < 256; ++b)
        if (glyphs[b].width() != width || glyphs[b].height() != height)
            Fail(std::string(name) + " has no glyph of " + std::to_string(width) + "x" +
                     std::to_string(height),
                 b);
}

void RequireCell(const ConsoleFont& font, int width, int height, const char* name) {
    if (font.width != width || font.height != height || font.glyphs.size() < 256) {
        char message[160];
        std::snprintf(message, sizeof message, "%s: expected 256 glyphs of %dx%d, found %zu of %dx%d", name,
                      width, height, font.glyphs.size(), font.width, font.height);
        throw std::runtime_error(message);
    }
}

} // namespace

GlyphBitmap Vga8x14From8x16(const GlyphBitmap& glyph) {
    if (glyph.height() != 16)
        throw std::runtime_error("an 8x14 glyph is made from a 16-row glyph");
    // The repeated row: 8 when it repeats 7, else the first repeat below the middle, else the
    // nearest one above it; a glyph without any repeat loses row 8.
    int repeat = 8;
    for (int y : {8, 9, 10, 11, 12, 13, 14, 7, 6, 5, 4, 3, 2, 1})
        if (RowsEqual(glyph, y, y - 1)) {
            repeat = y;
            break;
        }
    return WithoutRows(glyph, {repeat, 15});
}

GlyphBitmap Doubled(const GlyphBitmap& glyph) {
    return Multiplied(glyph, 2);
}

GlyphBitmap Multiplied(const GlyphBitmap& glyph, int n) {
    GlyphBitmap out(n * glyph.width(), n * glyph.height());
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (glyph.at(x, y))
                out.fill(n * x, n * y, n * x + n, n * y + n);
    return out;
}

namespace {

ScreenFont MultipliedFont(const ScreenFont& base, int n) {
    ScreenFont font;
    font.family = base.family;
    font.width = n * base.width;
    font.height = n * base.height;
    font.ascent = n * base.ascent;
    for (int b = 0; b < 256; ++b)
        font.glyphs[b] = Multiplied(base.glyphs[b], n);
    return font;
}

// The factors each base is enlarged by here; the doubled "ZandorLarge" sizes are built with the bases.
std::vector<int> EnlargementsOf(const ScreenFont& base) {
    if (base.family == "ZandorTiny")
        return {2, 3, 4};
    return {3, 4};
}

} // namespace

std::vector<ScreenFont> EnlargedScreenFonts(const std::vector<ScreenFont>& fonts) {
    std::vector<ScreenFont> out;
    for (const ScreenFont& base : fonts)
        if (base.width == 8)
            for (int n : EnlargementsOf(base))
                out.push_back(MultipliedFont(base, n));
    return out;
}

void CheckEnlargedFonts(const std::vector<ScreenFont>& bases, const std::vector<ScreenFont>& enlarged) {
    const std::vector<ScreenFont> expected = EnlargedScreenFonts(bases);
    if (expected.size() != enlarged.size())
        throw std::runtime_error("an enlarged font is missing");
    for (size_t i = 0; i < expected.size(); ++i)
        for (int b = 0; b < 256; ++b)
            if (!(expected[i].glyphs[b] == enlarged[i].glyphs[b]) || expected[i].ascent != enlarged[i].ascent)
                Fail("the " + CellName(enlarged[i]) + " glyph is not its base enlarged", b);
}

std::vector<ScreenFont> BuildScreenFonts(const VgaSources& sources) {
    RequireCells(sources.vga8x16, 8, 16, "the 8x16 set");
    RequireCells(sources.vga8x8, 8, 8, "the 8x8 set");
    RequireCell(sources.alt8x14, 8, 14, kAlt8x14File);
    Cp437Glyphs cell14;
    for (int b = 0; b < 256; ++b)
        cell14[b] = TakenFromAlt8x14(b) ? sources.alt8x14.glyphs[b] : Vga8x14From8x16(sources.vga8x16[b]);

    std::vector<ScreenFont> fonts;
    fonts.push_back(Font("ZandorTiny", sources.vga8x8));
    fonts.push_back(Font("ZandorLarge", cell14));
    fonts.push_back(Font("ZandorLarge", sources.vga8x16));
    fonts.push_back(DoubledFont(fonts[1]));
    fonts.push_back(DoubledFont(fonts[2]));
    return fonts;
}

void CheckScreenFonts(const std::vector<ScreenFont>& fonts, const VgaSources& sources) {
    auto find = [&](int width, int height) -> const ScreenFont* {
        for (const ScreenFont& font : fonts)
            if (font.width == width && font.height == height)
                return &font;
        return nullptr;
    };
    for (const auto& [w, h] : {std::pair{8, 8}, {8, 14}, {8, 16}, {16, 28}, {16, 32}})
        if (!find(w, h)) {
            char message[64];
            std::snprintf(message, sizeof message, "the %dx%d font is missing", w, h);
            throw std::runtime_error(message);
        }
    for (const ScreenFont& font : fonts)
        for (int b = 0; b < 256; ++b)
            if (font.glyphs[b].width() != font.width || font.glyphs[b].height() != font.height)
                Fail("the " + CellName(font) + " font has no glyph of its cell", b);
    const ScreenFont& vga = *find(8, 16);
    for (int b = 0; b < 256; ++b) {
        if (!(vga.glyphs[b] == sources.vga8x16[b]))
            Fail("the 8x16 glyph differs from its source's", b);
        if (!(find(8, 8)->glyphs[b] == sources.vga8x8[b]))
            Fail("the 8x8 glyph differs from its source's", b);
    }
    for (const auto& [doubled, base] : {std::pair{find(16, 28), find(8, 14)}, {find(16, 32), &vga}})
        for (int b = 0; b < 256; ++b)
            if (!(doubled->glyphs[b] == Doubled(base->glyphs[b])))
                Fail("the " + CellName(*doubled) + " glyph is not its base doubled", b);
}

} // namespace zandor::fontgen
