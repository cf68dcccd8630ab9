#include "editor/control/ScrollGeometry.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

// A core with the fixed measurer (8 pixels a character, 17-pixel lines) showing `lines` display
// lines in a 400 x 170 client area.
struct Geometry {
    explicit Geometry(int lines, int top = 0, int left = 0) {
        core.SetClientSize(400, 170);
        core.Paragraphs().LineCount = lines;
        core.Paragraphs().VisibleLineCount = lines;
        core.SetTopOrigin(top);
        core.SetLeftOrigin(left);
    }
    TScrollGeometry Rules(bool autoBars = true, bool noFine = false) const {
        return TScrollGeometry(core, autoBars, noFine);
    }
    TArtMemoCore core;
};

TEST(ScrollGeometry, FixedMeasurerGivesTheLineHeightTheseCasesAssume) {
    Geometry g(1);
    EXPECT_EQ(g.core.LinePixels(), 17);
    EXPECT_EQ(g.core.AvgCharWidth(), 8);
    EXPECT_EQ(g.core.WindowLineCount(), 170 / 17 + 1);
}

struct VertRow {
    const char* Name;
    int Lines;
    int Top;
    TScrollCode Code;
    int64_t Thumb;
    bool NoFine;
    int64_t Target;
};

class VerticalRequests : public ::testing::TestWithParam<VertRow> {};

TEST_P(VerticalRequests, TargetTopOrigin) {
    const VertRow row = GetParam();
    Geometry g(row.Lines, row.Top);
    EXPECT_EQ(g.Rules(true, row.NoFine).VertTarget(row.Code, row.Thumb), row.Target);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VerticalRequests,
    ::testing::Values(
        VertRow{"PageUpAtTheTopStays", 100, 0, sbPageUp, 0, false, 0},
        VertRow{"PageUpGoesWindowLinesMinusTwoBack", 100, 50 * 17, sbPageUp, 0, false, 41 * 17},
        VertRow{"LineUpSnapsToTheLineScrolledInto", 100, 10 * 17 + 5, sbLineUp, 0, false, 10 * 17},
        VertRow{"LineUpOnALineBoundary", 100, 10 * 17, sbLineUp, 0, false, 9 * 17},
        VertRow{"LineUpAtTheTop", 100, 0, sbLineUp, 0, false, 0},
        VertRow{"LineDown", 100, 10 * 17, sbLineDown, 0, false, 11 * 17},
        // 100 lines, 11 window lines: the top line stops at 100 - 11 + 2 = 91.
        VertRow{"LineDownStopsNearTheEnd", 100, 91 * 17, sbLineDown, 0, false, 91 * 17},
        VertRow{"PageDown", 100, 0, sbPageDown, 0, false, 10 * 17},
        VertRow{"PageDownEndsWhereTheTextEnds", 100, 90 * 17, sbPageDown, 0, false, 100 * 17 - 170 + 3},
        VertRow{"Bottom", 100, 0, sbBottom, 0, false, 91 * 17},
        VertRow{"BottomOfAShortText", 3, 0, sbBottom, 0, false, 0},
        VertRow{"Top", 100, 700, sbTop, 0, false, 0},
        VertRow{"ThumbTrackIsPixels", 100, 0, sbThumbTrack, 103, false, 103},
        VertRow{"ThumbTrackOnWholeLines", 100, 0, sbThumbTrack, 103, true, 102}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ScrollGeometry, VerticalUnitKeepsPositionsBelow32760) {
    Geometry g(1000000);
    const TBarRange bar = g.Rules().VertBar();
    EXPECT_EQ(bar.Unit, 17000000 / 32760 + 1);
    EXPECT_LT(bar.Max, 32760);
    // A page never shrinks to nothing, however coarse the unit.
    EXPECT_EQ(bar.Page, 1);
}

TEST(ScrollGeometry, ShortTextLeavesNothingToScrollUnlessBarsStay) {
    Geometry g(3);
    EXPECT_EQ(g.Rules(true).VertBar().LastPosition(), 0);
    EXPECT_EQ(g.Rules(false).VertBar().Max, g.Rules(true).VertBar().Max + 1);
}

TEST(ScrollGeometry, HorizontalRangeFollowsTheWidestLineAndTheWrapMode) {
    Geometry g(10);
    g.core.SetWordWrap(false);
    g.core.SetWidest(1000, 3);
    TBarRange bar = g.Rules().HorzBar();
    EXPECT_EQ(bar.Unit, 1);
    EXPECT_EQ(bar.Page, 400 - 16);
    EXPECT_EQ(bar.Max, (1000 + 16 - 400) + bar.Page - 1);
    EXPECT_EQ(bar.LastPosition(), 1000 + 16 - 400);
    g.core.SetWordWrap(true);
    EXPECT_EQ(g.Rules().HorzBar().LastPosition(), 0) << "wrapping at the window never scrolls sideways";
    g.core.SetWordWrap(false);
    g.core.SetAlignment(taCenter);
    EXPECT_EQ(g.Rules().HorzBar().Max, g.Rules().HorzBar().Page);
}

struct InViewRow {
    const char* Name;
    int Left;
    int CaretX;
    bool WordWrap;
    int ColumnWrap;
    TAlignment Alignment;
    int64_t ExpectedLeft;
};

class InViewHorizontal : public ::testing::TestWithParam<InViewRow> {};

TEST_P(InViewHorizontal, TargetLeftOrigin) {
    const InViewRow row = GetParam();
    Geometry g(10, 0, row.Left);
    g.core.SetWordWrap(row.WordWrap);
    g.core.SetColumnWrap(row.ColumnWrap);
    g.core.SetAlignment(row.Alignment);
    EXPECT_EQ(g.Rules().InViewTarget(row.CaretX, 0).Left, row.ExpectedLeft);
}

INSTANTIATE_TEST_SUITE_P(Rows, InViewHorizontal,
                         ::testing::Values(
                             // Five average widths (40 pixels) per step.
                             InViewRow{"OnePixelRightOfTheAreaStepsOnce", 0, 400, false, 0, taLeftJustify,
                                       40},
                             InViewRow{"FarRightStepsAsOftenAsNeeded", 0, 485, false, 0, taLeftJustify, 120},
                             InViewRow{"InsideStays", 80, 200, false, 0, taLeftJustify, 80},
                             InViewRow{"LeftOfTheAreaStepsBack", 200, -1, false, 0, taLeftJustify, 160},
                             InViewRow{"NeverBelowZero", 20, -100, false, 0, taLeftJustify, 0},
                             InViewRow{"WrapAtTheWindowAlwaysZero", 80, 900, true, 0, taLeftJustify, 0},
                             InViewRow{"WrapAtAColumnScrolls", 0, 400, true, 10, taLeftJustify, 40},
                             InViewRow{"RightAlignedUnscrolledStays", 0, 900, false, 0, taRightJustify, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ScrollGeometry, CaretAboveBecomesTheTopLineAndBelowComesIntoTheLastLine) {
    Geometry g(100, 20 * 17);
    EXPECT_EQ(g.Rules().InViewTarget(0, 5).Top, 5 * 17);
    EXPECT_EQ(g.Rules().InViewTarget(0, 22).Top, 20 * 17) << "on screen: stays";
    // Line 40 below: its bottom just inside the client area.
    EXPECT_EQ(g.Rules().InViewTarget(0, 40).Top, 40 * 17 + 17 - 170 + 1);
    EXPECT_EQ(g.Rules(true, true).InViewTarget(0, 40).Top, (40 - 11 + 2) * 17);
}

TEST(ScrollGeometry, WheelMovesWholeLinesWithinTheText) {
    Geometry g(100, 10 * 17);
    EXPECT_EQ(g.Rules().WheelTarget(1), 9 * 17);
    EXPECT_EQ(g.Rules().WheelTarget(-3), 13 * 17);
    EXPECT_EQ(g.Rules().WheelTarget(50), 0);
    // Down to the end: the top line stops at lines - window lines + 1.
    EXPECT_EQ(g.Rules().WheelTarget(-500), 90 * 17);
    Geometry tall(100, 10 * 17);
    tall.core.SetClientSize(400, 180); // still 11 window lines, more room below
    EXPECT_EQ(tall.Rules().WheelTarget(-500), 100 * 17 - 180 + 3) << "no empty space below the text";
    EXPECT_EQ(tall.Rules(true, true).WheelTarget(-500), 90 * 17) << "whole lines";
}

} // namespace
} // namespace zandor
