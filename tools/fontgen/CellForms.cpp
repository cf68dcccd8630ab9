#include "CellForms.h"

#include "platform/ScreenCells.h"
#include "platform/ScreenFonts.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>

namespace zandor::fontgen {

namespace {

using platform::DosAspectHeight;
using platform::ScreenFontFamily;
using platform::StretchedRowSource;

constexpr const char* kFaces[] = {platform::LargeScreenFontFace, platform::TinyScreenFontFace};

// The screen face and form a family draws, as ScreenFontFamily names them.
struct Form {
    std::string face;
    bool nineDots = false;
    bool dosAspect = false;
};

bool FormOf(const std::string& family, Form* form) {
    for (const char* face : kFaces)
        for (bool nine : {false, true})
            for (bool dos : {false, true})
                if (family == ScreenFontFamily(face, nine, dos)) {
                    *form = Form{face, nine, dos};
                    return true;
                }
    return false;
}

std::string Cell(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string Name(const ScreenFont& font) {
    return font.family + " " + Cell(font.width, font.height);
}

[[noreturn]] void Fault(const std::string& what, int byte = -1) {
    char where[24] = "";
    if (byte >= 0)
        std::snprintf(where, sizeof where, ": byte 0x%02X", byte);
    throw std::runtime_error(what + where);
}

bool IsBaseCell(const std::string& face, int height) {
    const std::vector<int>& bases = platform::ScreenFontBaseCells(face);
    return std::find(bases.begin(), bases.end(), height) != bases.end();
}

const ScreenFont* Find(const std::vector<ScreenFont>& fonts, const std::string& family, int width,
                       int height) {
    for (const ScreenFont& font : fonts)
        if (font.family == family && font.width == width && font.height == height)
            return &font;
    return nullptr;
}

int DosAspectAscent(int baseAscent, int height, int baseRows) {
    int ascent = 0;
    for (int y = 0; y < height; ++y)
        ascent += StretchedRowSource(y, height, baseRows) < baseAscent;
    return ascent;
}

// The form of a base font of 8 or 9 pixels per cell: its face, whether it has nine pixels.
Form BaseForm(const ScreenFont& base) {
    Form form;
    if (!FormOf(base.family, &form) || form.dosAspect || base.width != (form.nineDots ? 9 : 8) ||
        !IsBaseCell(form.face, base.height))
        Fault(Name(base) + " is not a base cell of a screen face");
    return form;
}

} // namespace

GlyphBitmap NineDotGlyph(const GlyphBitmap& glyph, unsigned char byte) {
    GlyphBitmap out(glyph.width() + 1, glyph.height());
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x)
            out.set(x, y, glyph.at(x, y));
        out.set(glyph.width(), y, platform::RepeatsEighthColumn(byte) && glyph.at(glyph.width() - 1, y));
    }
    return out;
}

GlyphBitmap DosAspectGlyph(const GlyphBitmap& glyph, int factor) {
    const int height = DosAspectHeight(factor * glyph.height());
    GlyphBitmap out(factor * glyph.width(), height);
    for (int y = 0; y < height; ++y) {
        const int source = StretchedRowSource(y, height, glyph.height());
        for (int x = 0; x < glyph.width(); ++x)
            if (glyph.at(x, source))
                out.fill(factor * x, y, factor * x + factor, y + 1);
    }
    return out;
}

std::vector<ScreenFont> NineDotFonts(const std::vector<ScreenFont>& eightDot) {
    std::vector<ScreenFont> out;
    for (const ScreenFont& font : eightDot) {
        const int factor = font.width / 8;
        if (factor < 1 || font.width % 8 != 0 || font.height % factor != 0 ||
            !IsBaseCell(font.family, font.height / factor))
            Fault(Name(font) + " is no enlargement of a base cell");
        const ScreenFont* base = Find(eightDot, font.family, 8, font.height / factor);
        if (!base)
            Fault("the base of " + Name(font) + " is missing");
        ScreenFont nine;
        nine.family = ScreenFontFamily(font.family, true, false);
        nine.width = 9 * factor;
        nine.height = font.height;
        nine.ascent = factor * base->ascent;
        for (int b = 0; b < 256; ++b)
            nine.glyphs[b] = Multiplied(NineDotGlyph(base->glyphs[b], static_cast<unsigned char>(b)), factor);
        out.push_back(std::move(nine));
    }
    return out;
}

std::vector<ScreenFont> DosAspectFonts(const std::vector<ScreenFont>& bases) {
    std::vector<ScreenFont> out;
    for (const ScreenFont& base : bases) {
        const Form form = BaseForm(base);
        for (int factor = platform::kLeastDosAspectFactor; factor <= platform::kMostDosAspectFactor;
             ++factor) {
            ScreenFont font;
            font.family = ScreenFontFamily(form.face, form.nineDots, true);
            font.width = factor * base.width;
            font.height = DosAspectHeight(factor * base.height);
            font.ascent = DosAspectAscent(base.ascent, font.height, base.height);
            for (int b = 0; b < 256; ++b)
                font.glyphs[b] = DosAspectGlyph(base.glyphs[b], factor);
            out.push_back(std::move(font));
        }
    }
    return out;
}

void CheckNineDotFonts(const std::vector<ScreenFont>& eightDot, const std::vector<ScreenFont>& nineDot) {
    if (eightDot.size() != nineDot.size())
        Fault("a nine-pixel font is missing or one too many");
    for (const ScreenFont& eight : eightDot) {
        const int factor = eight.width / 8;
        const ScreenFont* nine =
            Find(nineDot, ScreenFontFamily(eight.family, true, false), 9 * factor, eight.height);
        if (!nine)
            Fault("the nine-pixel form of " + Name(eight) + " is missing");
        if (nine->ascent != eight.ascent)
            Fault(Name(*nine) + " does not stand on the baseline of " + Name(eight));
        // The first eight columns (each `factor` wide) are the 8-pixel glyph's, the ninth repeats
        // the eighth or stays blank.
        for (int b = 0; b < 256; ++b) {
            const GlyphBitmap &from = eight.glyphs[b], &to = nine->glyphs[b];
            const bool repeats = platform::RepeatsEighthColumn(static_cast<unsigned char>(b));
            auto expected = [&](int x, int y) {
                return x < eight.width ? from.at(x, y) : repeats && from.at(eight.width - 1, y);
            };
            bool same = to.width() == nine->width && to.height() == nine->height;
            for (int y = 0; same && y < nine->height; ++y)
                for (int x = 0; same && x < nine->width; ++x)
                    same = to.at(x, y) == expected(x, y);
            if (!same)
                Fault("the " + Name(*nine) + " glyph is not its 8-pixel glyph with a ninth column", b);
        }
    }
}

void CheckDosAspectFonts(const std::vector<ScreenFont>& bases, const std::vector<ScreenFont>& dosAspect) {
    const int factors = platform::kMostDosAspectFactor - platform::kLeastDosAspectFactor + 1;
    if (dosAspect.size() != bases.size() * static_cast<size_t>(factors))
        Fault("a DOS-aspect font is missing or one too many");
    for (const ScreenFont& base : bases) {
        const Form form = BaseForm(base);
        for (int factor = platform::kLeastDosAspectFactor; factor <= platform::kMostDosAspectFactor;
             ++factor) {
            const int height = DosAspectHeight(factor * base.height);
            const ScreenFont* font = Find(dosAspect, ScreenFontFamily(form.face, form.nineDots, true),
                                          factor * base.width, height);
            if (!font)
                Fault("the DOS-aspect form of " + Name(base) + " times " + std::to_string(factor) +
                      " is missing");
            if (font->ascent != DosAspectAscent(base.ascent, height, base.height))
                Fault(Name(*font) + " does not stand on the baseline of " + Name(base));
            for (int b = 0; b < 256; ++b) {
                const GlyphBitmap &from = base.glyphs[b], &to = font->glyphs[b];
                bool same = to.width() == font->width && to.height() == height;
                for (int y = 0; same && y < height; ++y) {
                    const int source = StretchedRowSource(y, height, base.height);
                    for (int x = 0; same && x < font->width; ++x)
                        same = to.at(x, y) == from.at(x / factor, source);
                }
                if (!same)
                    Fault("the " + Name(*font) + " glyph does not follow the rows of " + Name(base), b);
            }
        }
    }
}

void CheckFamilies(const std::vector<ScreenFont>& fonts) {
    std::set<std::string> known;
    for (const char* face : kFaces)
        for (bool nine : {false, true})
            for (bool dos : {false, true}) {
                const std::string family = ScreenFontFamily(face, nine, dos);
                known.insert(family);
                std::vector<int> expected;
                for (int cell : platform::ScreenFontCells(face)) {
                    const int pixels = dos ? platform::DosAspectPixels(face, cell) : cell;
                    if (pixels != 0)
                        expected.push_back(pixels);
                }
                std::sort(expected.begin(), expected.end());
                expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
                std::vector<int> built;
                for (const ScreenFont& font : fonts)
                    if (font.family == family)
                        built.push_back(font.height);
                std::sort(built.begin(), built.end());
                if (built != expected) {
                    // Appended piece by piece: GCC 12's optimiser warns falsely about " " + string.
                    std::string heights;
                    for (int h : built)
                        heights.append(" ").append(std::to_string(h));
                    std::string asked;
                    for (int h : expected)
                        asked.append(" ").append(std::to_string(h));
                    Fault(family + " comes in the heights" + heights + ", the program asks for" + asked);
                }
            }
    for (const ScreenFont& font : fonts)
        if (!known.count(font.family))
            Fault(Name(font) + " is no family of a screen face");
}

} // namespace zandor::fontgen
