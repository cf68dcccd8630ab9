// Reading console fonts: both PSF versions, with and without their Unicode tables, and damaged files.
#include "ConsoleFont.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>

namespace zandor::fontgen {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Le16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void Le32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A PSF1 font of 256 glyphs, 4 rows high; glyph g has row 0 = g, the other rows blank.
Bytes Psf1(bool withTable) {
    Bytes b{0x36, 0x04, static_cast<std::uint8_t>(withTable ? 0x02 : 0x00), 4};
    for (int g = 0; g < 256; ++g) {
        b.push_back(static_cast<std::uint8_t>(g));
        b.insert(b.end(), 3, 0);
    }
    if (withTable)
        for (int g = 0; g < 256; ++g) {
            if (g == 1) {
                Le16(b, 0x263A);
                Le16(b, 0x0001);
                Le16(b, 0xFFFE); // a sequence: its code points name no glyph of their own
                Le16(b, 0x0041);
                Le16(b, 0x0301);
            } else if (g == 2) {
                Le16(b, 0x263A); // listed again: the first glyph keeps it
            } else {
                Le16(b, 0xE000 + g);
            }
            Le16(b, 0xFFFF);
        }
    return b;
}

// A PSF2 font of two glyphs, 10 columns wide (two bytes a row) and 3 rows high.
Bytes Psf2(std::uint32_t flags, const Bytes& table) {
    Bytes b;
    Le32(b, 0x864AB572);
    Le32(b, 0);
    Le32(b, 32);
    Le32(b, flags);
    Le32(b, 2);
    Le32(b, 6);
    Le32(b, 3);
    Le32(b, 10);
    // glyph 0: a frame of the full width; glyph 1: only the tenth column
    for (std::uint8_t v : {0xFF, 0xC0, 0x80, 0x40, 0xFF, 0xC0, 0x00, 0x40, 0x00, 0x40, 0x00, 0x40})
        b.push_back(v);
    b.insert(b.end(), table.begin(), table.end());
    return b;
}

const Bytes kPsf2Table = {'A', 0xE2, 0x96, 0x88, 0xFE, 'x', 'y', 0xFF, 0xE2, 0x94, 0x80, 0xFF};

TEST(ConsoleFontTest, Psf1GlyphsAndTheirSingleCodePointsAreRead) {
    const ConsoleFont font = ParsePsf(Psf1(true));
    EXPECT_EQ(font.width, 8);
    EXPECT_EQ(font.height, 4);
    ASSERT_EQ(font.glyphs.size(), 256u);
    EXPECT_TRUE(font.glyphs[3].at(6, 0));
    EXPECT_TRUE(font.glyphs[3].at(7, 0));
    EXPECT_FALSE(font.glyphs[3].at(5, 0));
    EXPECT_FALSE(font.glyphs[3].at(7, 1));
    EXPECT_EQ(font.codePoints[1], (std::vector<char32_t>{0x263A, 0x0001}));
    EXPECT_EQ(font.glyphOf.at(0x263A), 1);
    EXPECT_EQ(font.glyphOf.count(0x0301), 0u);
    EXPECT_EQ(font.glyphOf.at(0xE000 + 255), 255);
}

TEST(ConsoleFontTest, FontsWithoutATableAreReadInTheirGlyphOrder) {
    const ConsoleFont psf1 = ParsePsf(Psf1(false));
    EXPECT_FALSE(psf1.hasUnicodeTable);
    ASSERT_EQ(psf1.glyphs.size(), 256u);
    EXPECT_TRUE(psf1.glyphs[255].at(0, 0));
    EXPECT_TRUE(psf1.glyphOf.empty());
    // Whatever follows the glyphs of a font without a table is not read as one.
    const ConsoleFont psf2 = ParsePsf(Psf2(0, {0xE2, 'A', 'B'}));
    EXPECT_FALSE(psf2.hasUnicodeTable);
    EXPECT_TRUE(psf2.glyphs[1].at(9, 2));
    EXPECT_TRUE(psf2.glyphOf.empty());
    EXPECT_TRUE(ParsePsf(Psf1(true)).hasUnicodeTable);
}

TEST(ConsoleFontTest, Psf2RowsWiderThanAByteAndUtf8TableAreRead) {
    const ConsoleFont font = ParsePsf(Psf2(1, kPsf2Table));
    EXPECT_EQ(font.width, 10);
    EXPECT_EQ(font.height, 3);
    ASSERT_EQ(font.glyphs.size(), 2u);
    for (int x = 0; x < 10; ++x)
        EXPECT_TRUE(font.glyphs[0].at(x, 0)) << x;
    EXPECT_TRUE(font.glyphs[0].at(0, 1));
    EXPECT_TRUE(font.glyphs[0].at(9, 1));
    EXPECT_FALSE(font.glyphs[0].at(5, 1));
    EXPECT_TRUE(font.glyphs[1].at(9, 2));
    EXPECT_FALSE(font.glyphs[1].at(8, 2));
    EXPECT_EQ(font.codePoints[0], (std::vector<char32_t>{U'A', 0x2588}));
    EXPECT_EQ(font.glyphOf.at(0x2500), 1);
    EXPECT_EQ(font.glyphOf.count(U'x'), 0u);
}

struct DamagedFont {
    const char* name;
    Bytes bytes;
};

class DamagedFontTest : public ::testing::TestWithParam<DamagedFont> {};

TEST_P(DamagedFontTest, IsRefused) {
    EXPECT_THROW(ParsePsf(GetParam().bytes), std::runtime_error);
}

Bytes Cut(Bytes b, size_t keep) {
    b.resize(keep);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFontTest,
    ::testing::Values(DamagedFont{"Empty", {}}, DamagedFont{"UnknownMagic", Bytes(64, 0x11)},
                      DamagedFont{"Psf1GlyphsCutShort", Cut(Psf1(true), 500)},
                      DamagedFont{"Psf1TableCutShort", Cut(Psf1(true), 4 + 1024 + 100)},
                      DamagedFont{"Psf2GlyphsCutShort", Cut(Psf2(0, {}), 32 + 7)},
                      DamagedFont{"Psf2TableCutShort", Cut(Psf2(1, kPsf2Table), 32 + 12 + 5)},
                      DamagedFont{"Psf2BadUtf8", Psf2(1, {0xE2, 'A', 'B', 0xFF, 'C', 0xFF})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleFontTest, GzippedAndPlainFilesReadTheSame) {
    test::ScratchDir dir;
    const Bytes bytes = Psf1(true);
    const std::string plain =
        dir.write("plain.psf", QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::string packed = dir.file("packed.psf.gz");
    gzFile gz = gzopen(packed.c_str(), "wb");
    ASSERT_NE(gz, nullptr);
    ASSERT_EQ(gzwrite(gz, bytes.data(), static_cast<unsigned>(bytes.size())), static_cast<int>(bytes.size()));
    gzclose(gz);
    EXPECT_EQ(ReadMaybeGzipped(plain), bytes);
    EXPECT_EQ(ReadMaybeGzipped(packed), bytes);
    EXPECT_THROW(ReadMaybeGzipped(dir.file("missing.psf")), std::runtime_error);
}

} // namespace
} // namespace zandor::fontgen
