// Building the screen fonts from made-up console fonts: which fonts count as code page 437 fonts,
// cutting a taller cell, every size through the BDF file and back, and the build-time checks
// catching each kind of fault.
#include "ScreenFontBuilder.h"
#include "BdfReader.h"
#include "BdfWriter.h"

#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>

namespace zandor::fontgen {
namespace {

char32_t Cp(int byte) {
    return platform::Cp437ToUnicode(static_cast<unsigned char>(byte));
}

GlyphBitmap RandomGlyph(int width, int height, std::mt19937& rng) {
    GlyphBitmap g(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            g.set(x, y, rng() % 3 == 0);
    return g;
}

// 256 random glyphs whose table names each code page 437 character at its own byte.
ConsoleFont Cp437Font(int height, std::mt19937& rng) {
    ConsoleFont font;
    font.width = 8;
    font.height = height;
    font.hasUnicodeTable = true;
    font.codePoints.resize(256);
    for (int b = 0; b < 256; ++b) {
        font.glyphs.push_back(RandomGlyph(8, height, rng));
        if (b != 0) {
            font.codePoints[b].push_back(Cp(b));
            font.glyphOf[Cp(b)] = b;
        }
    }
    font.glyphs['H'].set(0, height / 2);
    return font;
}

VgaSources MadeUpSources(unsigned seed) {
    std::mt19937 rng(seed);
    VgaSources sources;
    sources.rom8x16 = Cp437Font(16, rng);
    sources.rom8x9 = Cp437Font(9, rng);
    // The ninth row continues the eighth or stays blank, as in the VGA's 8x9 set.
    for (int b = 0; b < 256; ++b)
        for (int x = 0; x < 8; ++x)
            sources.rom8x9.glyphs[b].set(x, 8, b % 2 && sources.rom8x9.glyphs[b].at(x, 7));
    sources.alt8x14 = Cp437Font(14, rng);
    sources.alt8x14.hasUnicodeTable = false;
    sources.alt8x14.glyphOf.clear();
    return sources;
}

TEST(ScreenFontBuilderTest, ACodePage437FontGivesTheGlyphAtEachCharactersByte) {
    std::mt19937 rng(7);
    const ConsoleFont font = Cp437Font(16, rng);
    const Cp437Glyphs glyphs = InCp437Order(font);
    for (int b = 0; b < 256; ++b)
        ASSERT_TRUE(glyphs[b] == font.glyphs[b]) << b;
}

struct Misfit {
    const char* name;
    std::function<void(ConsoleFont&)> spoil;
};

class NotACodePage437Font : public ::testing::TestWithParam<Misfit> {};

TEST_P(NotACodePage437Font, IsRefused) {
    std::mt19937 rng(11);
    ConsoleFont font = Cp437Font(16, rng);
    GetParam().spoil(font);
    EXPECT_THROW(InCp437Order(font), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotACodePage437Font,
    ::testing::Values(Misfit{"NoTable",
                             [](ConsoleFont& f) {
                                 f.hasUnicodeTable = false;
                                 f.glyphOf.clear();
                             }},
                      Misfit{"ACharacterMissing", [](ConsoleFont& f) { f.glyphOf.erase(Cp(0xCD)); }},
                      Misfit{"TwoCharactersSwapped",
                             [](ConsoleFont& f) {
                                 f.glyphOf[Cp(0xB0)] = 0xB2;
                                 f.glyphOf[Cp(0xB2)] = 0xB0;
                             }},
                      Misfit{"FewerThan256Glyphs", [](ConsoleFont& f) { f.glyphs.resize(128); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenFontBuilderTest, CuttingACellKeepsOnlyRowsThatContinueTheLastOneKept) {
    Cp437Glyphs tall;
    for (GlyphBitmap& g : tall)
        g = GlyphBitmap(8, 9);
    tall[0xBA].fill(2, 0, 4, 9); // a line continued into the ninth row
    tall[0x41].fill(0, 3, 8, 4);
    const Cp437Glyphs cut = TopRows(tall, 8);
    EXPECT_EQ(cut[0xBA].height(), 8);
    EXPECT_EQ(cut[0xBA].inkRows(), (std::pair{0, 7}));
    EXPECT_EQ(cut[0x41].inkRows(), (std::pair{3, 3}));
    tall[0x67].set(1, 8); // a descender the short cell would lose
    EXPECT_THROW(TopRows(tall, 8), std::runtime_error);
}

TEST(ScreenFontBuilderTest, EverySizeComesBackFromItsBdfTextPixelForPixel) {
    const VgaSources sources = MadeUpSources(3);
    const std::vector<ScreenFont> fonts = BuildScreenFonts(sources);
    ASSERT_EQ(fonts.size(), 5u);
    std::vector<ScreenFont> readBack;
    for (const ScreenFont& font : fonts) {
        SCOPED_TRACE(font.height);
        const ScreenFont back = ParseBdf(FormatBdf(font));
        EXPECT_EQ(back.family, font.family);
        EXPECT_EQ(back.width, font.width);
        EXPECT_EQ(back.height, font.height);
        EXPECT_EQ(back.ascent, font.ascent);
        for (int b = 0; b < 256; ++b)
            ASSERT_TRUE(back.glyphs[b] == font.glyphs[b]) << b;
        readBack.push_back(back);
    }
    EXPECT_NO_THROW(CheckScreenFonts(readBack, InCp437Order(sources.rom8x16)));
    // The 8x8 is the top of the 8x9 set and the 8x16 the ROM itself.
    for (int b = 0; b < 256; ++b) {
        ASSERT_TRUE(fonts[2].glyphs[b] == sources.rom8x16.glyphs[b]);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(fonts[0].glyphs[b].at(x, y), sources.rom8x9.glyphs[b].at(x, y));
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
    ASSERT_NO_THROW(CheckScreenFonts(fonts, InCp437Order(sources.rom8x16)));
    GetParam().spoil(fonts);
    try {
        CheckScreenFonts(fonts, InCp437Order(sources.rom8x16));
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
                            "differs from the VGA ROM's: byte 0xCD"},
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
