#include "platform/FontValue.h"

#include "platform/PlatformErrors.h"

#include <gtest/gtest.h>

using namespace zandor::platform;

namespace zandor::platform {
// Readable failure output: the text form plus what it leaves out.
void PrintTo(const FontValue& f, std::ostream* os) {
    *os << FontToString(f) << " (height " << f.Height << ", charset " << int(f.Charset) << ")";
}
} // namespace zandor::platform

namespace {

FontValue font(std::string name, int size, FontStyles style, TColor color) {
    FontValue f;
    f.Name = std::move(name);
    f.Size = size;
    f.Style = style;
    f.Color = color;
    return f;
}

} // namespace

TEST(FontValue, ItalicRedTenPointFromItsText) {
    FontValue f;
    StringToFont("Courier New,10,0100,clRed", f);
    EXPECT_EQ(f.Name, "Courier New");
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.Style, fsItalic);
    EXPECT_EQ(f.Color, clRed);
}

TEST(FontValue, BoldWhiteNinePointIsStoredInTheDocumentedForm) {
    EXPECT_EQ(FontToString(font("ZandorLarge", 9, fsBold, clWhite)), "ZandorLarge,9,1000,clWhite");
    FontValue f;
    StringToFont("ZandorLarge,9,1000,clWhite", f);
    EXPECT_EQ(f, font("ZandorLarge", 9, fsBold, clWhite));
}

class FontRoundTrip : public ::testing::TestWithParam<FontValue> {};

TEST_P(FontRoundTrip, TextFormGivesTheSameFontBack) {
    FontValue parsed = font("other", 99, fsBold | fsStrikeOut, clAqua);
    parsed.Height = 40;
    StringToFont(FontToString(GetParam()), parsed);
    FontValue expected = GetParam();
    expected.Charset = parsed.Charset; // the set is stored apart from the text
    EXPECT_EQ(parsed, expected) << FontToString(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, FontRoundTrip,
    ::testing::Values(FontValue{}, font("Terminal", 9, 0, 0x004A0000),
                      font("Courier New", 10, fsBold | fsItalic | fsUnderline | fsStrikeOut, clNone),
                      font("Lucida Console", 12, fsUnderline, clHighlightText), font("", 0, fsItalic, clRed),
                      font("Small", -3, 0, TColor(0xFF000019))));

TEST(FontValue, FaceWithCommaFailsWithoutLosingTheFaceBeforeIt) {
    // A comma inside the face cannot be told apart from the separator; the text form then reads
    // back as another font or not at all, so the name part before the comma is what survives.
    FontValue f;
    EXPECT_THROW(StringToFont(FontToString(font("A,B", 9, 0, clRed)), f), ConversionError);
    EXPECT_EQ(f.Name, "A");
}

struct BadText {
    const char* text;
    const char* message;
};

class InvalidFontText : public ::testing::TestWithParam<BadText> {};

TEST_P(InvalidFontText, FailsWithAConversionError) {
    FontValue f;
    try {
        StringToFont(GetParam().text, f);
        FAIL() << "accepted " << GetParam().text;
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InvalidFontText,
    ::testing::Values(BadText{"Courier New,10,010,clRed", "Invalid string to font conversion"},
                      BadText{"Courier New,10,01000,clRed", "Invalid string to font conversion"},
                      BadText{"Courier New,10,0100", "Invalid string to font conversion"},
                      BadText{"Courier New,10", "Invalid string to font conversion"},
                      BadText{"Courier New", "Invalid string to font conversion"},
                      BadText{"", "Invalid string to font conversion"},
                      BadText{"Courier New,abc,0100,clRed", "'abc' is not a valid integer value"},
                      BadText{"Courier New,,0100,clRed", "'' is not a valid integer value"},
                      BadText{"Courier New,10,0100,clRose", "'clRose' is not a valid integer value"},
                      BadText{"Courier New,10,0100,", "'' is not a valid integer value"}));

TEST(FontValue, FailureLeavesThePropertiesSetBeforeIt) {
    FontValue f = font("Arial", 12, fsBold, clBlue);
    EXPECT_THROW(StringToFont("Courier New,10,010,clRed", f), ConversionError);
    EXPECT_EQ(f.Name, "Courier New");
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.Style, fsBold);
    EXPECT_EQ(f.Color, clBlue);

    f = font("Arial", 12, fsBold, clBlue);
    EXPECT_THROW(StringToFont("Courier New,10,0011,nonsense", f), ConversionError);
    EXPECT_EQ(f.Style, fsUnderline | fsStrikeOut);
    EXPECT_EQ(f.Color, clBlue);
}

TEST(FontValue, OnlyTheDigitOneSetsAStyle) {
    FontValue f;
    StringToFont("X,8,1x01,$00000010", f);
    EXPECT_EQ(f.Style, fsBold | fsStrikeOut);
    EXPECT_EQ(f.Color, 0x10);
}

struct PixelRow {
    int pixels;
    int points;
};

class PixelHeights : public ::testing::TestWithParam<PixelRow> {};

TEST_P(PixelHeights, FontSetByHeightIsStoredInPointsAt96Dpi) {
    FontValue f = font("ZandorLarge", 30, 0, clWhite);
    f.Height = GetParam().pixels;
    EXPECT_EQ(FontToString(f), "ZandorLarge," + std::to_string(GetParam().points) + ",0000,clWhite");
    StringToFont(FontToString(f), f);
    EXPECT_EQ(f.Height, 0);
    EXPECT_EQ(f.Size, GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Rows, PixelHeights,
                         ::testing::Values(PixelRow{19, 14}, PixelRow{16, 12}, PixelRow{12, 9},
                                           PixelRow{13, 10}, PixelRow{-16, 12}, PixelRow{1, 1}));
