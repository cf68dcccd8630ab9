// How far a smart tab reaches: up to the next word start of the nearest longer paragraph above,
// counted in screen columns (tabs expanded, format codes counting nothing).
#include "editor/engine/IndentRules.h"
#include "FormatTestText.h"
#include "editor/engine/MemoCore.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

struct TSmartTabRow {
    const char* Name;
    const char* Text; // the caret's paragraph is the last one
    int32_t Column;
    int TabStops;
    bool StaticFormat;
    int32_t Blanks;
};

class SmartTab : public ::testing::TestWithParam<TSmartTabRow> {};

TEST_P(SmartTab, ReachesTheNextWordStartOfTheLongerLineAbove) {
    const TSmartTabRow& row = GetParam();
    TArtMemoCore core;
    core.SetStaticFormat(row.StaticFormat);
    test::LoadThroughStream(core, row.Text);
    const TParagraphsList& pars = core.Paragraphs();
    EXPECT_EQ(SmartTabBlanks(pars, pars.Count() - 1, row.Column, row.TabStops, row.StaticFormat), row.Blanks);
}

INSTANTIATE_TEST_SUITE_P(
    IndentRules, SmartTab,
    ::testing::Values(TSmartTabRow{"FromTheLineStartToTheSecondWord", "int  foo = 1;\r\n", 0, 8, false, 5},
                      TSmartTabRow{"FromInsideAWordPastItsRest", "int  foo = 1;\r\nxx", 6, 8, false, 3},
                      TSmartTabRow{"FromABlankToTheWordAfterIt", "ab   cd\r\nxx", 3, 8, false, 2},
                      TSmartTabRow{"ShorterLinesInBetweenAreSkipped", "ab cd ef\r\nx\r\nxyz", 3, 8, false, 3},
                      TSmartTabRow{"TheLastWordReachesTheLineEnd", "ab cdef\r\nxxxx", 4, 8, false, 3},
                      TSmartTabRow{"NoLongerLineGivesNothing", "ab\r\nabcdef", 6, 8, false, 0},
                      TSmartTabRow{"TheFirstLineGivesNothing", "abc def", 0, 8, false, 0},
                      TSmartTabRow{"ATabAboveReachesItsStop", "\tx y\r\n", 0, 8, false, 8},
                      TSmartTabRow{"ColumnsAfterATabCountFromItsStop", "\tx y\r\n", 8, 8, false, 2},
                      TSmartTabRow{"ANegativeTabStopCountsATabAsOne", "\tx y\r\n", 0, -20, false, 1},
                      TSmartTabRow{"FormatCodesTakeNoColumn",
                                   "a\x02"
                                   "b c\r\n",
                                   0, 8, true, 3}),
    [](const ::testing::TestParamInfo<TSmartTabRow>& info) { return std::string(info.param.Name); });

TEST(IndentRules, AnIndentIsTheLeadingBlanksAndTabsUpToALimit) {
    EXPECT_EQ(LeadingIndent(" \t x", 10), " \t ");
    EXPECT_EQ(LeadingIndent("    x", 2), "  ");
    EXPECT_EQ(LeadingIndent("x   ", 10), "");
    EXPECT_EQ(IndentAsBlanks(" \t", 4), "     ");
    EXPECT_EQ(IndentAsBlanks(" \t", 0), " \t");
}

} // namespace
} // namespace zandor
