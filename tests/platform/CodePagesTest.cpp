// The two 256-entry code-page tables and their reverse lookups.
#include "platform/CodePages.h"

#include <gtest/gtest.h>

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
