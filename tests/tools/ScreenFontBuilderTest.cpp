// Building the screen fonts from made-up sets: every size and form through the BDF file and back,
// the forms' cells, and the build-time checks catching each kind of fault.
#include "ScreenFontBuilder.h"
#include "BdfReader.h"
#include "BdfWriter.h"
#include "CellForms.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>

namespace zandor::fontgen {
namespace {

GlyphBitmap RandomGlyph(int width, int height, std::mt19937& rng) {
    GlyphBitmap g(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            g.set(x, y, rng() % 3 == 0);
    return g;
}

Cp437Glyphs RandomGlyphs(int height, std::mt19937& rng) {
    Cp437Glyphs glyphs;
    for (GlyphBitmap& g : glyphs)
        g = RandomGlyph(8, height, rng);
    glyphs['H'].set(0, height / 2);
    return glyphs;
}

VgaSources MadeUpSources(unsigned seed) {
    std::mt19937 rng(seed);
    VgaSources sources;
    sources.vga8x16 = RandomGlyphs(16, rng);
    sources.vga8x8 = RandomGlyphs(8, rng);
    sources.alt8x14.width = 8;
    sources.alt8x14.height = 14;
    const Cp437Glyphs alt = RandomGlyphs(14, rng);
    sources.alt8x14.glyphs.assign(alt.begin(), alt.end());
    return sources;
}

// Every font the build writes from the sources, in the order the generator writes them.
struct AllFonts {
    std::vector<ScreenFont> eightDot, nineDot, bases, dosAspect;
};

AllFonts BuildAll(const VgaSources& sources) {
    AllFonts all;
    all.eightDot = BuildScreenFonts(sources);
    for (ScreenFont& font : EnlargedScreenFonts(all.eightDot))
        all.eightDot.push_back(std::move(font));
    all.nineDot = NineDotFonts(all.eightDot);
    for (const auto* fonts : {&all.eightDot, &all.nineDot})
        for (const ScreenFont& font : *fonts)
            if (font.width == 8 || font.width == 9)
                all.bases.push_back(font);
    all.dosAspect = DosAspectFonts(all.bases);
    return all;
}

TEST(ScreenFontBuilderTest, EverySizeAndFormComesBackFromItsBdfTextPixelForPixel) {
    const VgaSources sources = MadeUpSources(3);
    const AllFonts all = BuildAll(sources);
    std::vector<ScreenFont> every;
    for (const auto* fonts : {&all.eightDot, &all.nineDot, &all.dosAspect})
        every.insert(every.end(), fonts->begin(), fonts->end());
    ASSERT_EQ(every.size(), 42u);
    EXPECT_NO_THROW(CheckFamilies(every));
    for (const ScreenFont& font : every) {
        SCOPED_TRACE(font.family + " " + std::to_string(font.width) + "x" + std::to_string(font.height));
        const ScreenFont back = ParseBdf(FormatBdf(font));
        EXPECT_EQ(back.family, font.family);
        EXPECT_EQ(back.width, font.width);
        EXPECT_EQ(back.height, font.height);
        EXPECT_EQ(back.ascent, font.ascent);
        for (int b = 0; b < 256; ++b)
            ASSERT_TRUE(back.glyphs[b] == font.glyphs[b]) << b;
    }
    EXPECT_NO_THROW(CheckScreenFonts(all.eightDot, sources));
    EXPECT_NO_THROW(CheckNineDotFonts(all.eightDot, all.nineDot));
    EXPECT_NO_THROW(CheckDosAspectFonts(all.bases, all.dosAspect));
}

TEST(ScreenFontBuilderTest, TheDosAspectRepeatsRowsWithTheEdgeRowsAtTheEdges) {
    // 14 rows stretched to round(28 * 1.35) = 38: the middle of row y falls in source row
    // (2y + 1) * 14 / 76, so the top and bottom rows of the cell are drawn three times each, and
    // every pixel is two wide.
    GlyphBitmap glyph(8, 14);
    glyph.set(0, 0);
    glyph.set(7, 13);
    const GlyphBitmap tall = DosAspectGlyph(glyph, 2);
    ASSERT_EQ(tall.width(), 16);
    ASSERT_EQ(tall.height(), 38);
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(tall.at(x, y), (x < 2 && y < 3) || (x >= 14 && y >= 35)) << x << "," << y;
    // The ninth column continues the line-drawing bytes only.
    GlyphBitmap line(8, 2);
    line.fill(0, 0, 8, 1);
    for (int byte : {0xB3, 0xC0, 0xC4, 0xDF, 0xE0}) {
        const GlyphBitmap nine = NineDotGlyph(line, static_cast<unsigned char>(byte));
        ASSERT_EQ(nine.width(), 9);
        EXPECT_EQ(nine.at(8, 0), byte >= 0xC0 && byte <= 0xDF) << std::hex << byte;
        EXPECT_FALSE(nine.at(8, 1));
    }
}

struct Fault {
    const char* name;
    std::function<void(std::vector<ScreenFont>&)> spoil;
    const char* message;
};

class SpoiledFonts : public ::testing::TestWithParam<Fault> {};

TEST_P(SpoiledFonts, AreCaughtByTheBuildChecks) {
    const VgaSources sources = MadeUpSources(5);
    std::vector<ScreenFont> fonts = BuildScreenFonts(sources);
    ASSERT_NO_THROW(CheckScreenFonts(fonts, sources));
    GetParam().spoil(fonts);
    try {
        CheckScreenFonts(fonts, sources);
        ADD_FAILURE() << "not caught";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
}

void Flip(GlyphBitmap& g, int x, int y) {
    g.set(x, y, !g.at(x, y));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpoiledFonts,
    ::testing::Values(Fault{"APixelOfThe8x16", [](auto& f) { Flip(f[2].glyphs[0xCD], 7, 5); },
                            "8x16 glyph differs from its source's: byte 0xCD"},
                      Fault{"APixelOfThe8x8", [](auto& f) { Flip(f[0].glyphs[0x30], 3, 3); },
                            "8x8 glyph differs from its source's: byte 0x30"},
                      Fault{"AGlyphMissing", [](auto& f) { f[4].glyphs[0xDB] = GlyphBitmap(); },
                            "16x32 font has no glyph"},
                      Fault{"AGlyphOfTheWrongCell", [](auto& f) { f[0].glyphs[0x20] = GlyphBitmap(8, 9); },
                            "8x8 font has no glyph"},
                      Fault{"ADoubledPixel", [](auto& f) { Flip(f[4].glyphs[0xB0], 31 % 16, 31); },
                            "16x32 glyph is not its base"},
                      Fault{"ABaseOfADoubledSize", [](auto& f) { Flip(f[1].glyphs[0x41], 0, 0); },
                            "16x28 glyph is not its base"},
                      Fault{"ASizeMissing", [](auto& f) { f.erase(f.begin()); }, "the 8x8 font is missing"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormFault {
    const char* name;
    std::function<void(AllFonts&)> spoil;
    const char* message;
};

class SpoiledForms : public ::testing::TestWithParam<FormFault> {};

ScreenFont& Named(std::vector<ScreenFont>& fonts, const std::string& family, int width, int height) {
    for (ScreenFont& font : fonts)
        if (font.family == family && font.width == width && font.height == height)
            return font;
    throw std::logic_error("no " + family);
}

TEST_P(SpoiledForms, AreCaughtByTheBuildChecks) {
    AllFonts all = BuildAll(MadeUpSources(9));
    GetParam().spoil(all);
    try {
        CheckNineDotFonts(all.eightDot, all.nineDot);
        CheckDosAspectFonts(all.bases, all.dosAspect);
        std::vector<ScreenFont> every = all.eightDot;
        every.insert(every.end(), all.nineDot.begin(), all.nineDot.end());
        every.insert(every.end(), all.dosAspect.begin(), all.dosAspect.end());
        CheckFamilies(every);
        ADD_FAILURE() << "not caught";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpoiledForms,
    ::testing::Values(
        FormFault{"ANinthColumnBesideALetter",
                  [](AllFonts& f) { Named(f.nineDot, "ZandorLarge9", 9, 16).glyphs['A'].set(8, 3); },
                  "ZandorLarge9 9x16 glyph is not its 8-pixel glyph with a ninth column: byte 0x41"},
        FormFault{"AnEnlargedNinthColumn",
                  [](AllFonts& f) { Flip(Named(f.nineDot, "ZandorTiny9", 27, 24).glyphs[0xC4], 25, 12); },
                  "ZandorTiny9 27x24 glyph is not its 8-pixel glyph"},
        FormFault{
            "AStretchedRow",
            [](AllFonts& f) { Flip(Named(f.dosAspect, "ZandorLarge9Dos", 18, 38).glyphs[0xB1], 17, 2); },
            "ZandorLarge9Dos 18x38 glyph does not follow the rows of ZandorLarge9 9x14: byte 0xB1"},
        FormFault{"AStretchedBaseline",
                  [](AllFonts& f) { ++Named(f.dosAspect, "ZandorTinyDos", 24, 32).ascent; },
                  "does not stand on the baseline"},
        FormFault{"AStretchedSizeMissing", [](AllFonts& f) { f.dosAspect.pop_back(); },
                  "a DOS-aspect font is missing"},
        FormFault{"AFamilyNameOutOfLine",
                  [](AllFonts& f) { Named(f.nineDot, "ZandorTiny9", 18, 16).family = "ZandorTiny9x"; },
                  "the nine-pixel form of ZandorTiny 16x16 is missing"},
        FormFault{"ASizeTheProgramAsksFor",
                  [](AllFonts& f) {
                      std::erase_if(f.eightDot,
                                    [](const ScreenFont& x) { return x.width == 32 && x.height == 32; });
                      std::erase_if(f.nineDot,
                                    [](const ScreenFont& x) { return x.width == 36 && x.height == 32; });
                  },
                  "ZandorTiny comes in the heights 8 16 24, the program asks for 8 16 24 32"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadBdf {
    const char* name;
    std::string text;
};

class UnreadableBdf : public ::testing::TestWithParam<BadBdf> {};

TEST_P(UnreadableBdf, IsRefused) {
    EXPECT_THROW(ParseBdf(GetParam().text), std::runtime_error);
}

const std::string kHead = "STARTFONT 2.1\nFONTBOUNDINGBOX 8 2 0 0\n";

std::string Char(int encoding, const std::string& bbx, const std::string& rows) {
    return "STARTCHAR x\nENCODING " + std::to_string(encoding) + "\nBBX " + bbx + "\nBITMAP\n" + rows +
           "ENDCHAR\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableBdf,
    ::testing::Values(BadBdf{"NotBdf", "hello\n"}, BadBdf{"NoBoundingBox", "STARTFONT 2.1\nENDFONT\n"},
                      BadBdf{"EncodingOutsideCodePage437", kHead + Char(0x0001, "8 2 0 0", "FF\n00\n")},
                      BadBdf{"EncodingTwice",
                             kHead + Char(65, "8 2 0 0", "FF\n00\n") + Char(65, "8 2 0 0", "00\n00\n")},
                      BadBdf{"GlyphOutsideTheBox", kHead + Char(65, "8 2 0 1", "FF\n00\n")},
                      BadBdf{"BitmapCutShort", kHead + Char(65, "8 2 0 0", "FF\n")},
                      BadBdf{"BadHexDigit", kHead + Char(65, "8 2 0 0", "FG\n00\n")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zandor::fontgen
