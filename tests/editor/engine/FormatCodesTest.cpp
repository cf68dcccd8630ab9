// Format codes: exactly five byte values toggle style bits; stripping removes exactly those.
#include "editor/engine/FormatCodes.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

TEST(FormatCodes, OnlyTheFiveCodesToggleAndEachItsOwnBit) {
    int codes = 0;
    for (int c = 0; c < 256; ++c) {
        const uint8_t bit = FormatCodeBit(static_cast<char>(c));
        if (!bit)
            continue;
        ++codes;
        EXPECT_EQ(FormatCodeOf(bit), static_cast<char>(c)) << c;
    }
    EXPECT_EQ(codes, 5);
    EXPECT_EQ(FormatCodeBit(2), sfBold);
    EXPECT_EQ(FormatCodeBit(1), sfItalic);
    EXPECT_EQ(FormatCodeBit(21), sfUnderline);
    EXPECT_EQ(FormatCodeBit(3), sfHighlight);
    EXPECT_EQ(FormatCodeBit(4), sfAltFont);
    EXPECT_EQ(FormatCodeOf(sfStrikeOut), 0); // strike-out has no code
}

struct ToggleRow {
    uint8_t Before;
    std::string Text;
    uint8_t After;
};

class FormatCodeToggles : public ::testing::TestWithParam<ToggleRow> {};

TEST_P(FormatCodeToggles, EachCodeFlipsItsBit) {
    EXPECT_EQ(ApplyFormatCodes(GetParam().Before, GetParam().Text), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatCodeToggles,
                         ::testing::Values(ToggleRow{0, "plain", 0},
                                           ToggleRow{0,
                                                     "\x02"
                                                     "bold",
                                                     sfBold},
                                           ToggleRow{0,
                                                     "\x02"
                                                     "b\x02",
                                                     0},
                                           ToggleRow{sfBold, "x\x02", 0},
                                           ToggleRow{sfStrikeOut, "\x15\x01\x03\x04",
                                                     sfStrikeOut | sfUnderline | sfItalic | sfHighlight |
                                                         sfAltFont},
                                           ToggleRow{0, "\x05\x06\x14\x16\x7f\xff", 0}));

TEST(FormatCodes, CompensationCodesComeInTheirFixedOrder) {
    EXPECT_EQ(CompensationCodes(0), "");
    EXPECT_EQ(CompensationCodes(0xFF), "\x15\x01\x02\x03\x04");
    EXPECT_EQ(CompensationCodes(sfAltFont | sfBold), "\x02\x04");
    // Undoing: the text plus its compensation toggles nothing.
    const std::string removed = "a\x02"
                                "b\x15\x15\x03";
    EXPECT_EQ(ToggledBits(removed + CompensationCodes(ToggledBits(removed))), 0);
}

TEST(FormatCodes, StripRemovesExactlyTheFiveCodesAndKeepsTheOrder) {
    const std::string all = AllBytes();
    const std::string plain = StripFormatCodes(all);
    ASSERT_EQ(plain.size(), 251u);
    std::string expected;
    for (char c : all)
        if (c != 1 && c != 2 && c != 3 && c != 4 && c != 21)
            expected += c;
    EXPECT_EQ(plain, expected);
    EXPECT_EQ(StripFormatCodes(std::string("\x02"
                                           "A\0B\x15",
                                           5)),
              std::string("A\0B", 3));
}

struct PairRow {
    const char* Text;
    size_t Mark;
    const char* Kept;
    size_t KeptBeforeMark;
};

class CodePairs : public ::testing::TestWithParam<PairRow> {};

// Two equal codes with only codes between them toggle nothing; a character between them keeps both.
TEST_P(CodePairs, GoWhereTheyMeetWithOnlyCodesBetween) {
    const PairRow& row = GetParam();
    size_t mark = row.Mark;
    EXPECT_EQ(RemoveCodePairs(row.Text, &mark), row.Kept);
    EXPECT_EQ(mark, row.KeptBeforeMark);
}

INSTANTIATE_TEST_SUITE_P(FormatCodes, CodePairs,
                         ::testing::Values(PairRow{"\x02\x02", 1, "", 0},
                                           PairRow{"\x02"
                                                   "a\x02",
                                                   3,
                                                   "\x02"
                                                   "a\x02",
                                                   3},
                                           PairRow{"\x02\x01\x02", 3, "\x01", 1},
                                           PairRow{"\x02\x02\x02", 2, "\x02", 0},
                                           PairRow{"x\x02\x02"
                                                   "a\x02\x02y",
                                                   4, "xay", 2},
                                           PairRow{"\x15\x03\x15\x04\x03", 5, "\x04", 1},
                                           PairRow{"plain", 2, "plain", 2}));

} // namespace
} // namespace zandor
