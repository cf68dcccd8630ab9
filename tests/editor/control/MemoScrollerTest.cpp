// Scrolling as the window shows it: the steps of an animated scroll on a clock of the test's own,
// the rule that keeps keyboard scrolling immediate, keeping the caret (and its pending blanks) in
// view, and auto-scroll toward the mouse outside the text.
#include "editor/control/ArtMemo.h"
#include "editor/control/ScrollGeometry.h"
#include "editor/engine/ArtNavigator.h"

#include "MemoTestSupport.h"

#include <gtest/gtest.h>

#include <QMouseEvent>

#include <vector>

namespace zandor {
namespace {

using test::DriveUntil;
using test::LoadText;

struct AnimationRow {
    int Time;
    std::vector<int64_t> Tops; // after each step, one millisecond apart
};

class ScrollAnimation : public ::testing::TestWithParam<AnimationRow> {};

TEST_P(ScrollAnimation, StepsTowardTheTargetWithoutPassingIt) {
    const AnimationRow& row = GetParam();
    TScrollAnimation animation(0, 50, 100, 50, row.Time, 1000);
    std::vector<int64_t> tops;
    for (int64_t now = 1001; !animation.Done() && now < 2000; ++now) {
        animation.Step(now);
        tops.push_back(animation.Top());
        EXPECT_EQ(animation.Left(), 50);
    }
    EXPECT_EQ(tops, row.Tops);
}

INSTANTIATE_TEST_SUITE_P(
    Laws, ScrollAnimation,
    ::testing::Values(
        // Evenly: 100 pixels over 4 ms, 25 a millisecond.
        AnimationRow{-4, {25, 50, 75, 100}},
        // Easing out over 2 ms: (elapsed x remaining) div 4, at least one pixel a step.
        AnimationRow{2, {25, 62, 90, 100}},
        // Over 10 ms: fast at first, then ever smaller steps, the last ones a pixel each.
        AnimationRow{10, {5, 14, 26, 40, 55, 68, 79, 87, 92, 96, 98, 99, 100}}));

struct AutoRow {
    int X, Y;
    bool Dragging;
    TAutoScroll Expected;
};

class AutoScrollDirection : public ::testing::TestWithParam<AutoRow> {};

TEST_P(AutoScrollDirection, ComesFromWhereTheMouseLeftTheTextArea) {
    const AutoRow& row = GetParam();
    EXPECT_EQ(AutoScrollFor(row.X, row.Y, 200, 100, row.Dragging), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AutoScrollDirection,
    ::testing::Values(AutoRow{50, 50, false, {asNone, 0}}, AutoRow{50, -3, false, {asNone, 0}},
                      AutoRow{50, -4, false, {asUp, 1}}, AutoRow{50, 130, false, {asDown, 10}},
                      AutoRow{-7, 50, false, {asLeft, 2}}, AutoRow{230, 50, false, {asRight, 10}},
                      AutoRow{-50, -50, false, {asUp, 16}},
                      // Dragging text: only close to the edges, and not up or down beside the text.
                      AutoRow{50, -30, true, {asNone, 0}}, AutoRow{50, 120, true, {asDown, 6}},
                      AutoRow{-5, 120, true, {asLeft, 1}}, AutoRow{-30, 50, true, {asNone, 0}}));

class Scroller : public ::testing::Test {
protected:
    Scroller() {
        memo.SetUpdateMode(umImmediate);
        memo.SetWordWrap(false);
        std::string text;
        for (int i = 0; i < 300; ++i)
            text += "line " + std::to_string(i) + " " + std::string(size_t(i % 50), 'w') + "\n";
        LoadText(memo, text);
        memo.resize(300, 200);
        memo.show();
        memo.OnVScroll = [this](TArtMemo*) { ++vscrolls; };
        // Every look at the clock is a millisecond later.
        memo.Scroller().SetClock([this] { return ++ticks; });
    }
    TArtMemo memo;
    int64_t ticks = 1000;
    int vscrolls = 0;
};

TEST_F(Scroller, AnAnimatedScrollEndsAtItsTargetAndReportsOnce) {
    memo.SetScrollTime(-20); // evenly over 20 ms
    const int lh = memo.LinePixels();
    const int64_t before = ticks;
    memo.SetTopOrigin(40 * lh);
    EXPECT_EQ(memo.TopOrigin(), 40 * lh);
    EXPECT_EQ(memo.TopLine(), 40);
    EXPECT_EQ(vscrolls, 1);
    EXPECT_GE(ticks - before, 20) << "it took its time";
    memo.SetScrollTime(0);
    const int64_t at = ticks;
    memo.SetTopOrigin(0);
    EXPECT_EQ(memo.TopOrigin(), 0);
    EXPECT_LE(ticks - at, 2) << "no animation with ScrollTime 0";
}

TEST_F(Scroller, KeyboardScrollsSoonAfterTheLastOneAreImmediate) {
    memo.SetScrollTime(300);
    const int lh = memo.LinePixels();
    TMemoScroller::TKeyboardScroll keys(memo.Scroller());
    int64_t at = ticks;
    memo.SetTopOrigin(10 * lh);
    EXPECT_GT(ticks - at, 10) << "the first one is animated";
    at = ticks;
    memo.SetTopOrigin(20 * lh);
    EXPECT_LE(ticks - at, 3) << "within 200 ms of the last: in one step";
    EXPECT_EQ(memo.TopOrigin(), 20 * lh);
    ticks += 500;
    at = ticks;
    memo.SetTopOrigin(30 * lh);
    EXPECT_GT(ticks - at, 10) << "after a pause it is animated again";
}

TEST_F(Scroller, ScrollInViewBringsTheCaretAndItsPendingBlanksIntoView) {
    memo.SetScrollTime(0);
    const int lh = memo.LinePixels();
    memo.SetSelStart(memo.ParagraphStart(250));
    memo.ScrollInView();
    const int y = 250 * lh - memo.TopOrigin();
    EXPECT_GE(y, 0);
    EXPECT_LE(y + lh, memo.ClientHeight()) << "the caret line is on screen as a whole";
    // A caret standing 1 pixel right of the text area scrolls right by five average widths.
    memo.SetSelStart(memo.ParagraphStart(249) + 5); // after "line "
    const int x = memo.Editor().CaretX();
    const int blanks = (memo.TextAreaWidth() - x) / memo.AvgCharWidth() + 1;
    memo.Editor().SetPendingBlanks(std::string(size_t(blanks), ' '));
    const int overshoot = memo.Editor().CaretX() - memo.TextAreaWidth();
    ASSERT_GE(overshoot, 0);
    memo.ScrollInView();
    const int step = 5 * memo.AvgCharWidth();
    EXPECT_EQ(memo.LeftOrigin(), step * (overshoot / step + 1));
    // With word wrap at the window's width the view never scrolls sideways.
    memo.SetWordWrap(true);
    memo.ScrollInView();
    EXPECT_EQ(memo.LeftOrigin(), 0);
}

TEST_F(Scroller, AutoScrollMovesTowardTheMouseAndFeedsTheSelectionAMouseMove) {
    memo.SetScrollTime(0);
    std::vector<QPoint> moves;
    memo.OnMouseMove = [&](TArtMemo*, Qt::KeyboardModifiers, int x, int y) { moves.emplace_back(x, y); };
    const int below = memo.ClientHeight() + 30; // level 10: no delay
    memo.Scroller().AutoScroll(QPoint(40, below), false);
    EXPECT_EQ(memo.Scroller().AutoScrollState(), (TAutoScroll{asDown, 10}));
    EXPECT_EQ(memo.TopLine(), 1) << "the first step at once";
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], QPoint(40, memo.ClientHeight() + 30));
    ASSERT_TRUE(DriveUntil([&] { return memo.TopLine() >= 5; }));
    memo.Scroller().AutoScroll(QPoint(40, 50), false);
    EXPECT_EQ(memo.Scroller().AutoScrollState().Direction, asNone);
    const int32_t stopped = memo.TopLine();
    DriveUntil([] { return false; }, 50);
    EXPECT_EQ(memo.TopLine(), stopped) << "back inside, the scrolling stops";
}

} // namespace
} // namespace zandor
