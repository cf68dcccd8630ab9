// The two 256-entry code-page tables and their reverse lookups.
#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::platform {
namespace {

struct CodeRow {
    unsigned char Byte;
    char16_t Ansi;
    char16_t Oem;
};

class CodePages : public ::testing::TestWithParam<CodeRow> {};

TEST_P(CodePages, MapBytesToTheCharactersTheirFontsShow) {
    EXPECT_EQ(Cp1252ToUnicode(GetParam().Byte), GetParam().Ansi);
    EXPECT_EQ(Cp437ToUnicode(GetParam().Byte), GetParam().Oem);
    EXPECT_EQ(UnicodeToCp1252(GetParam().Ansi), GetParam().Byte);
    EXPECT_EQ(UnicodeToCp437(GetParam().Oem), GetParam().Byte);
}

INSTANTIATE_TEST_SUITE_P(Rows, CodePages,
                         ::testing::Values(CodeRow{'A', u'A', u'A'}, CodeRow{0x01, 0x0001, 0x263A},
                                           CodeRow{0x7F, 0x007F, 0x2302}, CodeRow{0x80, 0x20AC, 0x00C7},
                                           CodeRow{0x81, 0x0081, 0x00FC}, CodeRow{0xB0, 0x00B0, 0x2591},
                                           CodeRow{0xC9, 0x00C9, 0x2554}, CodeRow{0xDB, 0x00DB, 0x2588},
                                           CodeRow{0xFF, 0x00FF, 0x00A0}));

TEST(CodePagesRoundTrip, EveryByteSurvivesBothTables) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(UnicodeToCp1252(Cp1252ToUnicode(byte)), b);
        EXPECT_EQ(UnicodeToCp437(Cp437ToUnicode(byte)), b);
        EXPECT_EQ(CharsetTable(OemCharset)[b], Cp437ToUnicode(byte));
        EXPECT_EQ(CharsetTable(0)[b], Cp1252ToUnicode(byte));
    }
}

TEST(CodePagesRoundTrip, CharactersOutsideACodePageHaveNoByte) {
    EXPECT_EQ(UnicodeToCp1252(0x2588), -1);
    EXPECT_EQ(UnicodeToCp437(0x20AC), -1);
    // Plain control characters still name their byte in the OEM set.
    EXPECT_EQ(UnicodeToCp437(0x0009), 9);
}

} // namespace
} // namespace zandor::platform

namespace zandor::platform {
namespace {

// Text exchanged with other programs: every byte comes back as it went, and nothing that comes in
// turns into a break or a tab unless it was one.
class TextExchange : public ::testing::TestWithParam<int> {};

TEST_P(TextExchange, EveryByteSurvivesTheRoundTripAndOnlyBreaksAndTabsKeepTheirControlCodes) {
    const int charset = GetParam();
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::u16string text = TextToUnicode(all, charset);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(UnicodeToText(text, charset), all);
    EXPECT_EQ(text[9], u'\t');
    EXPECT_EQ(text[10], u'\n');
    EXPECT_EQ(text[13], u'\r');
    for (char16_t ch = 1; ch < 0xD800; ++ch) {
        const std::string byte = UnicodeToText(std::u16string(1, ch), charset);
        ASSERT_EQ(byte.size(), 1u);
        if (byte == "\t" || byte == "\n" || byte == "\r") {
            EXPECT_EQ(ch, char16_t(byte[0])) << std::hex << int(ch);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Charsets, TextExchange, ::testing::Values(0, OemCharset));

TEST(TextExchange, ArtReadsAsItsBoxAndBlockCharactersAndForeignCharactersBecomeQuestionMarks) {
    EXPECT_EQ(TextToUnicode("\xC9\xCD\xBB\xDB\xB0 A", OemCharset), u"\u2554\u2550\u2557\u2588\u2591 A");
    EXPECT_EQ(UnicodeToText(u"\u2554\u2588\u00FC\u20AC\u266A\U0001F600.", OemCharset), "\xC9\xDB\x81???.");
    EXPECT_EQ(UnicodeToText(u"\u20AC\u2588\u00FC", 0), "\x80?\xFC");
}

} // namespace
} // namespace zandor::platform
