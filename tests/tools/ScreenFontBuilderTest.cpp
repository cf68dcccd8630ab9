// Building screen fonts from the Debian console fonts: every code page 437 byte gets a picture,
// block and box characters tile across cells, and the BDF text carries each glyph once.
#include "ScreenFontBuilder.h"
#include "BdfWriter.h"
#include "DrawnGlyphs.h"

#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace zandor::fontgen {
namespace {

char32_t Cp(int byte) {
    return platform::Cp437ToUnicode(static_cast<unsigned char>(byte));
}

bool IsBlankByte(int byte) {
    return byte == 0 || byte == 0x20 || byte == 0xFF;
}

class RealFontTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::string path = std::string(ZANDOR_CONSOLEFONTS_DIR) + "/" + GetParam() + ".psf.gz";
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << path << " is missing (package console-setup-linux)";
        console_ = ParsePsf(ReadMaybeGzipped(path));
        grid_ = MeasureGrid(console_);
        font_ = BuildScreenFont(console_, "ZandorTest");
    }

    const GlyphBitmap& Glyph(int byte) const { return font_.glyphs.at(Cp(byte)); }

    ConsoleFont console_;
    CellGrid grid_;
    ScreenFont font_;
};

TEST_P(RealFontTest, EveryByteHasACellSizedPictureUnderItsCodePoint) {
    EXPECT_EQ(font_.glyphs.size(), 256u);
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        ASSERT_EQ(font_.glyphs.count(Cp(byte)), 1u);
        EXPECT_EQ(Glyph(byte).width(), font_.width);
        EXPECT_EQ(Glyph(byte).height(), font_.height);
        EXPECT_EQ(Glyph(byte).hasInk(), !IsBlankByte(byte));
    }
}

TEST_P(RealFontTest, NoTwoVisibleBytesLookAlike) {
    // The console fonts show some characters through another one's glyph (triangles as arrows,
    // double lines as single ones); each byte of the art must keep its own look.
    for (int a = 1; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            if (!IsBlankByte(a) && !IsBlankByte(b)) {
                EXPECT_FALSE(Glyph(a) == Glyph(b)) << std::hex << a << " and " << b;
            }
}

TEST_P(RealFontTest, BlockElementsCoverTheirPartOfTheCell) {
    const int w = font_.width, h = font_.height;
    struct Part {
        int byte, x0, y0, x1, y1;
    };
    for (const Part& p : {Part{0xDB, 0, 0, w, h}, Part{0xDC, 0, h / 2, w, h}, Part{0xDD, 0, 0, w / 2, h},
                          Part{0xDE, w / 2, 0, w, h}, Part{0xDF, 0, 0, w, h / 2}})
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Glyph(p.byte).at(x, y), x >= p.x0 && x < p.x1 && y >= p.y0 && y < p.y1)
                    << std::hex << p.byte << std::dec << " at " << x << "," << y;
}

TEST_P(RealFontTest, ShadesContinueTheirPatternAcrossCellEdges) {
    const int w = font_.width, h = font_.height;
    for (int byte : {0xB0, 0xB1, 0xB2}) {
        const GlyphBitmap& g = Glyph(byte);
        auto tiled = [&](int x, int y) { return g.at(x % w, y % h); };
        const int periodX = 4 * grid_.unitX, periodY = 2 * grid_.unitY;
        for (int y = 0; y < 2 * h - periodY; ++y)
            for (int x = 0; x < 2 * w - periodX; ++x) {
                ASSERT_EQ(tiled(x, y), tiled(x + periodX, y))
                    << std::hex << byte << std::dec << " at " << x << "," << y;
                ASSERT_EQ(tiled(x, y), tiled(x, y + periodY))
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

std::vector<bool> Row(const GlyphBitmap& g, int y) {
    std::vector<bool> r;
    for (int x = 0; x < g.width(); ++x)
        r.push_back(g.at(x, y));
    return r;
}

int Runs(const std::vector<bool>& line) {
    int runs = 0;
    for (size_t i = 0; i < line.size(); ++i)
        runs += line[i] && (i == 0 || !line[i - 1]);
    return runs;
}

TEST_P(RealFontTest, BoxDrawingLinesMeetTheirNeighbours) {
    const int w = font_.width, h = font_.height;
    // What a cell edge looks like where a single or double line crosses it.
    const std::vector<bool> blankColumn(h, false), blankRow(w, false);
    const std::vector<bool> hEdge[3] = {blankColumn, Column(Glyph(0xC4), 0), Column(Glyph(0xCD), 0)};
    const std::vector<bool> vEdge[3] = {blankRow, Row(Glyph(0xB3), 0), Row(Glyph(0xBA), 0)};
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

TEST_P(RealFontTest, DoubleCornersCloseWithAnOuterAndAnInnerLine) {
    // ╔: on the row between its two horizontal lines, the outer vertical line passes and the inner
    // one has not begun; the outer horizontal line crosses above the inner vertical one.
    const GlyphBitmap& g = Glyph(0xC9);
    const int gapRow = grid_.unitY * grid_.lineRow, outerRow = grid_.unitY * (grid_.lineRow - 1);
    const int outerColumn = grid_.unitX * (grid_.lineCol0 - 1),
              innerColumn = grid_.unitX * (grid_.lineCol1 + 1);
    EXPECT_TRUE(g.at(outerColumn, gapRow));
    EXPECT_FALSE(g.at(innerColumn, gapRow));
    EXPECT_FALSE(g.at(font_.width - 1, gapRow));
    EXPECT_TRUE(g.at(innerColumn, outerRow));
    EXPECT_FALSE(g.at(outerColumn, outerRow - 1));
    EXPECT_EQ(Runs(Column(g, outerColumn)), 1);
    EXPECT_EQ(Runs(Column(g, innerColumn)), 2);
}

TEST_P(RealFontTest, CodePointsTheConsoleOnlyStandsInForAreDrawnByUs) {
    // ▲ and ▼ share the arrows' glyphs in these fonts; the arrows keep them.
    EXPECT_EQ(font_.sources[0x18], GlyphSource::Console);
    EXPECT_EQ(font_.sources[0x1E], GlyphSource::Drawn);
    EXPECT_EQ(font_.sources[0x1F], GlyphSource::Drawn);
    EXPECT_EQ(font_.sources[0xB3], GlyphSource::Generated);
    EXPECT_EQ(font_.sources[0x41], GlyphSource::Console);
}

TEST_P(RealFontTest, BdfCarriesEveryGlyphOnceInFullCells) {
    const std::string bdf = FormatBdf(font_);
    std::istringstream in(bdf);
    std::string line;
    std::set<long> encodings;
    std::map<long, std::vector<std::string>> bitmaps;
    long current = -1;
    bool inBitmap = false;
    int ascent = -1, descent = -1;
    while (std::getline(in, line)) {
        if (line.rfind("ENCODING ", 0) == 0) {
            current = std::stol(line.substr(9));
            EXPECT_TRUE(encodings.insert(current).second) << current;
        } else if (line == "BITMAP") {
            inBitmap = true;
        } else if (line == "ENDCHAR") {
            inBitmap = false;
        } else if (inBitmap) {
            bitmaps[current].push_back(line);
        } else if (line.rfind("FONT_ASCENT ", 0) == 0) {
            ascent = std::stoi(line.substr(12));
        } else if (line.rfind("FONT_DESCENT ", 0) == 0) {
            descent = std::stoi(line.substr(13));
        }
    }
    EXPECT_NE(bdf.find("CHARS 256\n"), std::string::npos);
    EXPECT_NE(bdf.find("FAMILY_NAME \"ZandorTest\"\n"), std::string::npos);
    EXPECT_EQ(ascent + descent, font_.height);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(encodings.count(Cp(byte)), 1u) << byte;
    const auto& full = bitmaps.at(0x2588);
    ASSERT_EQ(full.size(), static_cast<size_t>(font_.height));
    for (const std::string& row : full)
        EXPECT_EQ(row, std::string(font_.width / 4, 'F'));
}

INSTANTIATE_TEST_SUITE_P(Uni2, RealFontTest,
                         ::testing::Values("Uni2-VGA8", "Uni2-VGA14", "Uni2-VGA16", "Uni2-VGA28x16",
                                           "Uni2-VGA32x16"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

GlyphBitmap Picture(int height, std::initializer_list<int> inkRows) {
    GlyphBitmap g(8, height);
    for (int row : inkRows)
        g.fill(1, row, 7, row + 1);
    return g;
}

std::vector<int> InkRowList(const GlyphBitmap& g) {
    std::vector<int> rows;
    for (int y = 0; y < g.height(); ++y)
        if (Runs(Row(g, y)))
            rows.push_back(y);
    return rows;
}

TEST(FitToCellTest, PictureKeepsItsBaselineInASmallerCell) {
    CellGrid grid{8, 14, 12, 1, 1, 7, 3, 4};
    // Row 11 stands on the baseline of the tall grid (12 rows above it).
    EXPECT_EQ(InkRowList(FitToCell(Picture(16, {2, 11}), 12, grid)), (std::vector<int>{2, 11}));
    grid.ascent = 11;
    EXPECT_EQ(InkRowList(FitToCell(Picture(16, {2, 11}), 12, grid)), (std::vector<int>{1, 10}));
}

TEST(FitToCellTest, PictureScalesWithTheGridUnits) {
    const CellGrid grid{16, 28, 24, 2, 2, 7, 3, 4};
    const GlyphBitmap cell = FitToCell(Picture(16, {11}), 12, grid);
    EXPECT_EQ(InkRowList(cell), (std::vector<int>{22, 23}));
    EXPECT_EQ(Row(cell, 22), (std::vector<bool>{false, false, true, true, true, true, true, true, true, true,
                                                true, true, true, true, false, false}));
}

TEST(FitToCellTest, PictureStaysInsideTheCell) {
    const CellGrid grid{8, 14, 13, 1, 1, 7, 3, 4};
    // The descender would fall below the cell when the baselines are aligned.
    EXPECT_EQ(InkRowList(FitToCell(Picture(16, {12, 15}), 12, grid)), (std::vector<int>{10, 13}));
}

TEST(FitToCellTest, PictureTallerThanTheCellIsSqueezedIntoIt) {
    const CellGrid grid{8, 14, 12, 1, 1, 7, 3, 4};
    std::vector<int> all(14);
    for (int i = 0; i < 14; ++i)
        all[i] = i;
    GlyphBitmap full(8, 16);
    full.fill(0, 0, 8, 16);
    EXPECT_EQ(InkRowList(FitToCell(full, 12, grid)), all);
}

TEST(DrawnGlyphsTest, EveryPictureOnTheSheetsIsWholeAndInked) {
    for (const DrawnGrid& grid : {kTallGrid, kSmallGrid}) {
        const std::vector<char32_t> codePoints = DrawnCodePoints(grid);
        EXPECT_EQ(std::set<char32_t>(codePoints.begin(), codePoints.end()).size(), codePoints.size());
        for (char32_t cp : codePoints) {
            SCOPED_TRACE(static_cast<unsigned>(cp));
            const auto picture = DrawnGlyph(cp, grid);
            ASSERT_TRUE(picture.has_value());
            EXPECT_EQ(picture->height(), grid.height);
            EXPECT_TRUE(picture->hasInk());
        }
    }
}

} // namespace
} // namespace zandor::fontgen
