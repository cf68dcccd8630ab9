#include "platform/Colors.h"

#include "platform/PlatformErrors.h"

#include <QPalette>
#include <gtest/gtest.h>

using namespace zandor::platform;

namespace {

struct NamedRow {
    const char* name;
    uint32_t value;
};

// Every named colour with its value written out independently of the constants.
const NamedRow kRows[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", 0xFF000000},
    {"clBackground", 0xFF000001},
    {"clActiveCaption", 0xFF000002},
    {"clInactiveCaption", 0xFF000003},
    {"clMenu", 0xFF000004},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clMenuText", 0xFF000007},
    {"clWindowText", 0xFF000008},
    {"clCaptionText", 0xFF000009},
    {"clActiveBorder", 0xFF00000A},
    {"clInactiveBorder", 0xFF00000B},
    {"clAppWorkSpace", 0xFF00000C},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clBtnFace", 0xFF00000F},
    {"clBtnShadow", 0xFF000010},
    {"clGrayText", 0xFF000011},
    {"clBtnText", 0xFF000012},
    {"clInactiveCaptionText", 0xFF000013},
    {"clBtnHighlight", 0xFF000014},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clInfoText", 0xFF000017},
    {"clInfoBk", 0xFF000018},
    {"clHotLight", 0xFF00001A},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuBar", 0xFF00001E},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

} // namespace

class NamedColors : public ::testing::TestWithParam<NamedRow> {};

TEST_P(NamedColors, NameAndValueConvertBothWays) {
    const NamedRow row = GetParam();
    const auto value = TColor(row.value);
    EXPECT_EQ(ColorToString(value), row.name);
    EXPECT_EQ(StringToColor(row.name), value);

    std::string upper = row.name;
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(StringToColor(upper), value);

    TColor ident = 0;
    EXPECT_TRUE(IdentToColor(row.name, ident));
    EXPECT_EQ(ident, value);
    std::string name;
    EXPECT_TRUE(ColorToIdent(value, name));
    EXPECT_EQ(name, row.name);
}

INSTANTIATE_TEST_SUITE_P(All, NamedColors, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextRow {
    const char* text;
    uint32_t value;
};

class ColorNumbers : public ::testing::TestWithParam<TextRow> {};

TEST_P(ColorNumbers, IntegerTextGivesItsValue) {
    EXPECT_EQ(StringToColor(GetParam().text), TColor(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(Texts, ColorNumbers,
                         ::testing::Values(TextRow{"$00FF00FF", 0x00FF00FF}, TextRow{"$004a0000", 0x004A0000},
                                           TextRow{"$FF", 0xFF}, TextRow{"255", 0xFF}, TextRow{"0", 0},
                                           TextRow{"-1", 0xFFFFFFFF}, TextRow{"$FF000019", 0xFF000019},
                                           TextRow{"4849664", 0x004A0000},
                                           TextRow{"2147483647", 0x7FFFFFFF}));

TEST(Colors, UnnamedColoursAreWrittenAsEightHexDigits) {
    EXPECT_EQ(ColorToString(0x004A0000), "$004A0000");
    EXPECT_EQ(ColorToString(0x00FF00FF + 1), "$00FF0100");
    EXPECT_EQ(ColorToString(TColor(0xFF000019)), "$FF000019");
    EXPECT_EQ(ColorToString(TColor(0xFFFFFFFF)), "$FFFFFFFF");
    std::string name = "unchanged";
    EXPECT_FALSE(ColorToIdent(0x123456, name));
    EXPECT_EQ(name, "unchanged");
}

class InvalidColorText : public ::testing::TestWithParam<const char*> {};

TEST_P(InvalidColorText, FailsWithTheIntegerConversionError) {
    try {
        (void)StringToColor(GetParam());
        FAIL() << "accepted " << GetParam();
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), std::string("'") + GetParam() + "' is not a valid integer value");
    }
    TColor color = 7;
    EXPECT_FALSE(IdentToColor(GetParam(), color));
    EXPECT_EQ(color, 7);
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidColorText,
                         ::testing::Values("", "clReddish", "cl", "red", "$", "$1234567890", "12x", " 12",
                                           "2147483648", "$GG", "clRed ", "0x10"));

TEST(Colors, PlainColoursBecomeTheirRgbValue) {
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ColorToQColor(0x004A0000), QColor(0, 0, 0x4A));
    EXPECT_EQ(ColorToQColor(clSkyBlue), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_FALSE(ColorToQColor(clNone).isValid());
    EXPECT_FALSE(ColorToQColor(clDefault).isValid());
    EXPECT_FALSE(ColorToQColor(TColor(0xFF000019)).isValid());
    EXPECT_FALSE(ColorToQColor(TColor(0xFF000040)).isValid());
}

TEST(Colors, SystemColoursComeFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 1, 1));
    palette.setColor(QPalette::Text, QColor(2, 2, 2));
    palette.setColor(QPalette::Highlight, QColor(3, 3, 3));
    palette.setColor(QPalette::HighlightedText, QColor(4, 4, 4));
    palette.setColor(QPalette::Button, QColor(5, 5, 5));
    palette.setColor(QPalette::ToolTipBase, QColor(6, 6, 6));
    palette.setColor(QPalette::ToolTipText, QColor(7, 7, 7));
    EXPECT_EQ(ColorToQColor(clWindow, palette), QColor(1, 1, 1));
    EXPECT_EQ(ColorToQColor(clWindowText, palette), QColor(2, 2, 2));
    EXPECT_EQ(ColorToQColor(clHighlight, palette), QColor(3, 3, 3));
    EXPECT_EQ(ColorToQColor(clHighlightText, palette), QColor(4, 4, 4));
    EXPECT_EQ(ColorToQColor(clBtnFace, palette), QColor(5, 5, 5));
    EXPECT_EQ(ColorToQColor(clInfoBk, palette), QColor(6, 6, 6));
    EXPECT_EQ(ColorToQColor(clInfoText, palette), QColor(7, 7, 7));
    EXPECT_EQ(ColorToQColor(clRed, palette), QColor(255, 0, 0));
}

TEST(Colors, EveryNamedSystemColourHasAColourWithoutAGuiApplication) {
    for (const auto& row : kRows) {
        if ((row.value & 0xFF000000u) == 0xFF000000u) {
            EXPECT_TRUE(ColorToQColor(TColor(row.value)).isValid()) << row.name;
        }
    }
    // A light desktop: dark text on a light window.
    EXPECT_LT(ColorToQColor(clWindowText).lightness(), ColorToQColor(clWindow).lightness());
}
