// The screen fonts as the build wrote them, read back from their BDF files: the 8x16 and 8x8 glyphs
// and their nine-pixel cells are libansilove's own, the large sizes are exact doublings, and in
// every size and form each byte keeps its own look, the blocks split the cell and the box-drawing
// lines meet their neighbours.
#include "BdfReader.h"
#include "ConsoleFont.h"
#include "ScreenFontBuilder.h"

#include "support/AnsiloveReference.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace zandor::fontgen {
namespace {

std::string BuiltFontPath(const std::string& name) {
    const char* build = std::getenv("ZANDOR_BINARY_DIR");
    return std::string(build ? build : ".") + "/fonts/" + name + ".bdf";
}

ScreenFont ReadBuiltFont(const std::string& name) {
    std::ifstream file(BuiltFontPath(name), std::ios::binary);
    if (!file.is_open())
        throw std::runtime_error(BuiltFontPath(name) + " was not built");
    std::ostringstream text;
    text << file.rdbuf();
    return ParseBdf(text.str());
}

std::string ConsoleFontPath(const char* file) {
    return std::string(ZANDOR_CONSOLEFONTS_DIR) + "/" + file;
}

#define SKIP_WITHOUT(file)                                                                                   \
    if (!std::filesystem::exists(ConsoleFontPath(file)))                                                     \
    GTEST_SKIP() << ConsoleFontPath(file) << " is missing (Debian package console-data)"

std::vector<bool> Row(const GlyphBitmap& g, int y) {
    std::vector<bool> r;
    for (int x = 0; x < g.width(); ++x)
        r.push_back(g.at(x, y));
    return r;
}

std::string Rows(const GlyphBitmap& g) {
    std::string text;
    for (int y = 0; y < g.height(); ++y) {
        text += '\n';
        for (int x = 0; x < g.width(); ++x)
            text += g.at(x, y) ? '#' : '.';
    }
    return text;
}

// libansilove's glyphs of the bytes, drawn at test time.
std::vector<GlyphBitmap> Libansilove(test::TAnsiloveFont font, int bits) {
    std::string error;
    const std::vector<test::TReferenceGlyph> reference = test::AnsiloveReference(font, bits, &error);
    if (reference.size() != 256)
        throw std::runtime_error(error);
    std::vector<GlyphBitmap> glyphs;
    for (const test::TReferenceGlyph& r : reference) {
        glyphs.emplace_back(r.Width, r.Height);
        for (int y = 0; y < r.Height; ++y)
            for (int x = 0; x < r.Width; ++x)
                glyphs.back().set(x, y, r.At(x, y));
    }
    return glyphs;
}

TEST(BuiltFontsTest, TheBaseCellsAreLibansilovesGlyphForGlyph) {
    const struct {
        const char* file;
        test::TAnsiloveFont font;
        int bits;
    } cells[] = {{"ZandorLarge-8x16", test::TAnsiloveFont::Cp437, 8},
                 {"ZandorTiny-8x8", test::TAnsiloveFont::Cp437_80x50, 8},
                 {"ZandorLarge9-9x16", test::TAnsiloveFont::Cp437, 9},
                 {"ZandorTiny9-9x8", test::TAnsiloveFont::Cp437_80x50, 9}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.file);
        const std::vector<GlyphBitmap> reference = Libansilove(cell.font, cell.bits);
        const ScreenFont built = ReadBuiltFont(cell.file);
        for (int b = 0; b < 256; ++b)
            EXPECT_TRUE(built.glyphs[b] == reference[b]) << "byte " << b << ": built" << Rows(built.glyphs[b])
                                                         << "\nlibansilove" << Rows(reference[b]);
    }
}

TEST(BuiltFontsTest, The8x14BoxDrawingAndBlocksAreTheIbmSetsAndFollowThe8x16Rows) {
    SKIP_WITHOUT(kAlt8x14File);
    const ConsoleFont alt = ParsePsf(ReadMaybeGzipped(ConsoleFontPath(kAlt8x14File)));
    const std::vector<GlyphBitmap> vga = Libansilove(test::TAnsiloveFont::Cp437, 8);
    const ScreenFont built = ReadBuiltFont("ZandorLarge-8x14");
    for (int b = 0xB0; b <= 0xDF; ++b)
        EXPECT_TRUE(built.glyphs[b] == alt.glyphs[b]) << b;
    // Where both sets have a line or block, the 8x14 one is the 8x16 one less a repeated row and
    // the bottom row: the rule the characters the IBM 8x14 set lacks are made by. Its Cyrillic
    // letters stand where code page 437 has others, so those are made by the rule.
    for (int b = 0xB3; b <= 0xDF; ++b)
        EXPECT_TRUE(Vga8x14From8x16(vga[b]) == alt.glyphs[b]) << b;
    for (const auto& [first, last] : {std::pair{0x80, 0xAF}, {0xE0, 0xF7}})
        for (int b = first; b <= last; ++b)
            EXPECT_TRUE(built.glyphs[b] == Vga8x14From8x16(vga[b])) << b;
    // The rule never loses a row a glyph draws only once (an accent, the smiley's mouth).
    for (int b = 0; b < 256; ++b) {
        const GlyphBitmap short14 = Vga8x14From8x16(vga[b]);
        std::set<std::vector<bool>> kept;
        for (int y = 0; y < 14; ++y)
            kept.insert(Row(short14, y));
        for (int y = 0; y < 15; ++y)
            EXPECT_TRUE(kept.count(Row(vga[b], y))) << "byte " << b << " row " << y << Rows(vga[b]);
    }
}

TEST(BuiltFontsTest, EachDoubledSizeIsItsBaseWithEveryPixelTwiceAsWideAndHigh) {
    for (const auto& [doubledName, baseName] :
         {std::pair{"ZandorLarge-16x28", "ZandorLarge-8x14"}, {"ZandorLarge-16x32", "ZandorLarge-8x16"}}) {
        SCOPED_TRACE(doubledName);
        const ScreenFont doubled = ReadBuiltFont(doubledName), base = ReadBuiltFont(baseName);
        ASSERT_EQ(doubled.width, 2 * base.width);
        ASSERT_EQ(doubled.height, 2 * base.height);
        EXPECT_EQ(doubled.ascent, 2 * base.ascent);
        for (int b = 0; b < 256; ++b)
            for (int y = 0; y < doubled.height; ++y)
                for (int x = 0; x < doubled.width; ++x)
                    ASSERT_EQ(doubled.glyphs[b].at(x, y), base.glyphs[b].at(x / 2, y / 2))
                        << b << " at " << x << "," << y;
    }
}

// ---- what every size must hold ----------------------------------------------------------------

class EveryBuiltSize : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { font_ = ReadBuiltFont(GetParam()); }
    const GlyphBitmap& Glyph(int byte) const { return font_.glyphs[byte]; }
    ScreenFont font_;
};

bool IsBlankByte(int byte) {
    return byte == 0 || byte == 0x20 || byte == 0xFF;
}

TEST_P(EveryBuiltSize, EveryByteHasAGlyphOfTheCellAndOnlyTheBlanksAreEmpty) {
    EXPECT_GT(font_.ascent, 0);
    EXPECT_LT(font_.ascent, font_.height);
    for (int b = 0; b < 256; ++b) {
        ASSERT_EQ(Glyph(b).width(), font_.width) << b;
        ASSERT_EQ(Glyph(b).height(), font_.height) << b;
        EXPECT_EQ(Glyph(b).hasInk(), !IsBlankByte(b)) << b;
    }
}

TEST_P(EveryBuiltSize, NoTwoVisibleBytesLookAlike) {
    std::map<std::vector<bool>, int> seen;
    for (int b = 0; b < 256; ++b) {
        if (IsBlankByte(b))
            continue;
        std::vector<bool> pixels;
        for (int y = 0; y < font_.height; ++y)
            for (int x = 0; x < font_.width; ++x)
                pixels.push_back(Glyph(b).at(x, y));
        const auto [it, fresh] = seen.emplace(pixels, b);
        EXPECT_TRUE(fresh) << std::hex << b << " looks like " << it->second;
    }
}

TEST_P(EveryBuiltSize, HalfBlocksSplitTheFullBlockWithoutGapOrOverlap) {
    for (int y = 0; y < font_.height; ++y)
        for (int x = 0; x < font_.width; ++x) {
            ASSERT_TRUE(Glyph(0xDB).at(x, y));
            ASSERT_NE(Glyph(0xDF).at(x, y), Glyph(0xDC).at(x, y))
                << "upper and lower half at " << x << "," << y;
            ASSERT_NE(Glyph(0xDD).at(x, y), Glyph(0xDE).at(x, y))
                << "left and right half at " << x << "," << y;
            ASSERT_EQ(Glyph(0xDF).at(x, y), Glyph(0xDF).at(0, y)) << "the upper half is whole rows";
            ASSERT_EQ(Glyph(0xDD).at(x, y), Glyph(0xDD).at(x, 0)) << "the left half is whole columns";
        }
    EXPECT_TRUE(Glyph(0xDF).at(0, 0));
    EXPECT_TRUE(Glyph(0xDD).at(0, 0));
}

TEST_P(EveryBuiltSize, ShadesRepeatAcrossCellEdgesAndDarkenInTurn) {
    // A nine-pixel cell leaves the shades' ninth column blank, as the VGA did, and a stretched
    // cell repeats rows unevenly: those keep the pattern only the other way.
    const bool nine = font_.family.find('9') != std::string::npos;
    const bool stretched = font_.family.ends_with("Dos");
    const int w = font_.width, h = font_.height, unit = w / (nine ? 9 : 8);
    auto tiled = [&](int byte, int x, int y) { return Glyph(byte).at(x % w, y % h); };
    for (int byte : {0xB0, 0xB1, 0xB2})
        for (int y = 0; y < 2 * h; ++y)
            for (int x = 0; x < 2 * w; ++x) {
                // Stacked cells continue the pattern; the lighter two also continue side by side.
                if (!stretched) {
                    ASSERT_EQ(tiled(byte, x, y), tiled(byte, x, y + (byte == 0xB2 ? 4 : 2) * unit))
                        << std::hex << byte << std::dec << " at " << x << "," << y;
                }
                if (byte != 0xB2 && !nine) {
                    ASSERT_EQ(tiled(byte, x, y), tiled(byte, x + 4 * unit, y))
                        << std::hex << byte << std::dec << " at " << x << "," << y;
                }
            }
    int ink[3] = {};
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ink[i] += Glyph(0xB0 + i).at(x, y);
    EXPECT_LT(ink[0], ink[1]);
    EXPECT_LT(ink[1], ink[2]);
}

// The arms of each box-drawing byte (0xB3-0xDA): up, down, left, right; 1 single, 2 double.
// clang-format off
const std::map<int, std::array<int, 4>> kArms = {
    {0xB3, {1,1,0,0}}, {0xB4, {1,1,1,0}}, {0xB5, {1,1,2,0}}, {0xB6, {2,2,1,0}}, {0xB7, {0,2,1,0}},
    {0xB8, {0,1,2,0}}, {0xB9, {2,2,2,0}}, {0xBA, {2,2,0,0}}, {0xBB, {0,2,2,0}}, {0xBC, {2,0,2,0}},
    {0xBD, {2,0,1,0}}, {0xBE, {1,0,2,0}}, {0xBF, {0,1,1,0}}, {0xC0, {1,0,0,1}}, {0xC1, {1,0,1,1}},
    {0xC2, {0,1,1,1}}, {0xC3, {1,1,0,1}}, {0xC4, {0,0,1,1}}, {0xC5, {1,1,1,1}}, {0xC6, {1,1,0,2}},
    {0xC7, {2,2,0,1}}, {0xC8, {2,0,0,2}}, {0xC9, {0,2,0,2}}, {0xCA, {2,0,2,2}}, {0xCB, {0,2,2,2}},
    {0xCC, {2,2,0,2}}, {0xCD, {0,0,2,2}}, {0xCE, {2,2,2,2}}, {0xCF, {1,0,2,2}}, {0xD0, {2,0,1,1}},
    {0xD1, {0,1,2,2}}, {0xD2, {0,2,1,1}}, {0xD3, {2,0,0,1}}, {0xD4, {1,0,0,2}}, {0xD5, {0,1,0,2}},
    {0xD6, {0,2,0,1}}, {0xD7, {2,2,1,1}}, {0xD8, {1,1,2,2}}, {0xD9, {1,0,1,0}}, {0xDA, {0,1,0,1}},
};
// clang-format on

std::vector<bool> Column(const GlyphBitmap& g, int x) {
    std::vector<bool> c;
    for (int y = 0; y < g.height(); ++y)
        c.push_back(g.at(x, y));
    return c;
}

int Runs(const std::vector<bool>& line) {
    int runs = 0;
    for (size_t i = 0; i < line.size(); ++i)
        runs += line[i] && (i == 0 || !line[i - 1]);
    return runs;
}

TEST_P(EveryBuiltSize, BoxDrawingLinesMeetTheirNeighbours) {
    const int w = font_.width, h = font_.height;
    // What a cell edge looks like where a single or double line crosses it.
    const std::vector<bool> hEdge[3] = {std::vector<bool>(h, false), Column(Glyph(0xC4), 0),
                                        Column(Glyph(0xCD), 0)};
    const std::vector<bool> vEdge[3] = {std::vector<bool>(w, false), Row(Glyph(0xB3), 0),
                                        Row(Glyph(0xBA), 0)};
    EXPECT_EQ(Runs(hEdge[1]), 1);
    EXPECT_EQ(Runs(hEdge[2]), 2);
    EXPECT_EQ(Runs(vEdge[1]), 1);
    EXPECT_EQ(Runs(vEdge[2]), 2);
    for (const auto& [byte, arms] : kArms) {
        SCOPED_TRACE(byte);
        const GlyphBitmap& g = Glyph(byte);
        EXPECT_EQ(Row(g, 0), vEdge[arms[0]]);
        EXPECT_EQ(Row(g, h - 1), vEdge[arms[1]]);
        EXPECT_EQ(Column(g, 0), hEdge[arms[2]]);
        EXPECT_EQ(Column(g, w - 1), hEdge[arms[3]]);
    }
}

TEST_P(EveryBuiltSize, ADoubleCornerClosesWithAnOuterAndAnInnerLine) {
    // ╔: each horizontal line runs to the right edge from its own vertical line, each vertical line
    // to the bottom edge from its own horizontal line: the outer pair meets, the inner pair meets.
    const GlyphBitmap& g = Glyph(0xC9);
    const std::vector<bool> rows = Column(Glyph(0xCD), 0), cols = Row(Glyph(0xBA), 0);
    std::vector<int> lineRows, lineCols;
    for (int y = 0; y < font_.height; ++y)
        if (rows[y] && (y == 0 || !rows[y - 1]))
            lineRows.push_back(y);
    for (int x = 0; x < font_.width; ++x)
        if (cols[x] && (x == 0 || !cols[x - 1]))
            lineCols.push_back(x);
    ASSERT_EQ(lineRows.size(), 2u);
    ASSERT_EQ(lineCols.size(), 2u);
    auto fromRightEdge = [&](int y) {
        int x = font_.width;
        while (x > 0 && g.at(x - 1, y))
            --x;
        return x;
    };
    auto fromBottomEdge = [&](int x) {
        int y = font_.height;
        while (y > 0 && g.at(x, y - 1))
            --y;
        return y;
    };
    for (int line = 0; line < 2; ++line) {
        EXPECT_EQ(fromRightEdge(lineRows[line]), lineCols[line]) << "line " << line;
        EXPECT_EQ(fromBottomEdge(lineCols[line]), lineRows[line]) << "line " << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EveryBuiltSize,
                         ::testing::Values("ZandorTiny-8x8", "ZandorLarge-8x14", "ZandorLarge-8x16",
                                           "ZandorLarge-16x28", "ZandorLarge-16x32", "ZandorLarge9-9x14",
                                           "ZandorTiny9-27x24", "ZandorLargeDos-16x38", "ZandorTinyDos-32x43",
                                           "ZandorLarge9Dos-27x65"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

} // namespace
} // namespace zandor::fontgen
