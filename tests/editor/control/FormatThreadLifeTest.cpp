#include "editor/control/ArtMemo.h"
#include "editor/engine/FormatThread.h"

#include "MemoTestSupport.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::DriveUntil;
using test::LoadText;

std::string ManyParagraphs(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "paragraph " + std::to_string(i) + " with some words that wrap in a narrow window\n";
    return text;
}

bool AllFormatted(TArtMemo& memo) {
    return memo.Core().BgNext() >= memo.ParagraphCount() || memo.Core().BgLast() < memo.Core().BgNext();
}

TEST(FormatThreadLife, BackgroundModeStartsItsThreadWithTheWindowAndFormatsEverythingInSteps) {
    TArtMemo memo;
    LoadText(memo, ManyParagraphs(3000));
    EXPECT_EQ(memo.FormatThread(), nullptr) << "no window yet";
    memo.resize(200, 100);
    memo.show();
    ASSERT_NE(memo.FormatThread(), nullptr);
    ASSERT_TRUE(DriveUntil([&] { return AllFormatted(memo); }));
    // Narrow window: lines wrapped, so there are more lines than paragraphs.
    EXPECT_GT(memo.LineCount(), memo.ParagraphCount());
}

TEST(FormatThreadLife, ChangingTheModeStopsTheThreadAndImmediateFormatsTheRestAtOnce) {
    TArtMemo memo;
    memo.resize(200, 100);
    memo.show();
    LoadText(memo, ManyParagraphs(2000));
    ASSERT_NE(memo.FormatThread(), nullptr);
    memo.SetUpdateMode(umImmediate);
    EXPECT_EQ(memo.FormatThread(), nullptr);
    EXPECT_TRUE(AllFormatted(memo));
    memo.SetUpdateMode(umBackground);
    EXPECT_NE(memo.FormatThread(), nullptr);
}

TEST(FormatThreadLife, OnNeedFormatsOnlyAsFarAsSomethingAsks) {
    TArtMemo memo;
    memo.SetUpdateMode(umOnNeed);
    memo.resize(200, 100);
    memo.show();
    EXPECT_EQ(memo.FormatThread(), nullptr);
    LoadText(memo, ManyParagraphs(5000));
    QCoreApplication::processEvents();
    EXPECT_LT(memo.Core().BgNext(), 1000) << "only what the window shows";
    // Asking for a display line far down formats up to it, from the front.
    EXPECT_FALSE(memo.GetDisplayLine(6000).empty());
    EXPECT_GT(memo.Core().BgNext(), 1000);
    EXPECT_FALSE(AllFormatted(memo));
}

TEST(FormatThreadLife, AStepInsideAnUpdateBracketDoesNothing) {
    TArtMemo memo;
    memo.SetUpdateMode(umOnNeed);
    memo.resize(200, 100);
    memo.show();
    LoadText(memo, ManyParagraphs(500));
    const int32_t front = memo.Core().BgNext();
    memo.BeginUpdate();
    QEvent step(kFormatStepEvent);
    QCoreApplication::sendEvent(&memo, &step);
    EXPECT_EQ(memo.Core().BgNext(), front);
    memo.EndUpdate();
    QCoreApplication::sendEvent(&memo, &step);
    EXPECT_GT(memo.Core().BgNext(), front);
}

TEST(FormatThreadLife, DestroyingAControlWhileItsThreadWorksLeavesNoThreadBehind) {
    const int before = TamFormatThread::Running();
    {
        TArtMemo memo;
        memo.resize(200, 100);
        memo.show();
        LoadText(memo, ManyParagraphs(20000));
        ASSERT_NE(memo.FormatThread(), nullptr);
        QCoreApplication::processEvents();
    }
    // Steps that were queued for the control are dropped with it; the worker ends by itself.
    EXPECT_TRUE(DriveUntil([&] { return TamFormatThread::Running() <= before; }));
}

} // namespace
} // namespace zandor
