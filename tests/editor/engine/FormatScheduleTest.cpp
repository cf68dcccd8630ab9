// When paragraphs are laid out: on need from the front, in background steps, all at once, after
// an edit; and what the control hears of it. Measurer of fixed advances, 10 characters a line.
#include "FormatTestText.h"
#include "NavigatorTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FormatScheduler.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ReplaceRange.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::test {
namespace {

constexpr int kPars = 3000;

class Schedule : public ::testing::Test {
protected:
    Schedule() {
        core.SetClientSize(96, 170); // 80 pixels of text, 11 lines in the window
        core.SetFormatHost(&host);
    }
    ~Schedule() override { core.SetFormatHost(nullptr); }

    // Every paragraph wraps into two lines: "aaa bbb |ccc ddd".
    void LoadLongText(int pars = kPars) {
        std::string text;
        for (int p = 0; p < pars; ++p)
            text += p == 0 ? "aaa bbb ccc ddd" : "\r\naaa bbb ccc ddd";
        LoadThroughStream(core, text);
    }
    bool Formatted(int p) { return (core.Paragraphs().Par(p).Flags & pfLinesValid) != 0; }
    int FirstLine(int p) { return core.Paragraphs().Par(p).FirstLine; }
    ::testing::AssertionResult LikeFromScratch() {
        TArtMemoCore fresh;
        fresh.SetClientSize(core.ClientWidth(), core.ClientHeight());
        fresh.SetWordWrap(core.WordWrap());
        std::string text;
        for (int p = 0; p < core.ParagraphCount(); ++p)
            text += (p ? "\r\n" : "") + ParText(core.Paragraphs().Par(p));
        LoadThroughStream(fresh, text);
        FormatAll(fresh);
        return SameLayout(core, fresh);
    }

    TRecordingHost host;
    TArtMemoCore core;
};

TEST_F(Schedule, OnNeedFormatsOnlyUpToTheParagraphShown) {
    core.SetUpdateMode(umOnNeed);
    LoadLongText();
    core.ScheduleFormatting();
    EXPECT_EQ(core.BgNext(), 0);
    EXPECT_EQ(host.Wakes, 0);
    EXPECT_EQ(core.LineCount(), kPars);

    core.FormatUpTo(20);
    EXPECT_EQ(core.BgNext(), 21);
    EXPECT_TRUE(Formatted(20));
    EXPECT_FALSE(Formatted(21));
    EXPECT_EQ(core.LineCount(), kPars + 21);
    EXPECT_EQ(FirstLine(21), 42);
    EXPECT_EQ(FirstLine(kPars - 1), 42 + kPars - 22);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));

    // A range ahead of the front is laid out without moving the front.
    core.FormatRange(500, 509);
    EXPECT_EQ(core.BgNext(), 21);
    EXPECT_TRUE(Formatted(505));
    EXPECT_FALSE(Formatted(510));
    EXPECT_EQ(FirstLine(510), FirstLine(500) + 20);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));

    core.FormatUpTo(kPars - 1);
    EXPECT_EQ(core.BgNext(), kPars);
    EXPECT_EQ(core.BgLast(), -1);
    EXPECT_TRUE(LikeFromScratch());
}

TEST_F(Schedule, AStepInsideAnUpdateBracketDoesNothingAndSetsNoEvent) {
    LoadLongText();
    core.ScheduleFormatting();
    EXPECT_EQ(host.Wakes, 1) << "background mode wakes the thread once work is queued";
    host.Updating = true;
    core.FormatStep();
    EXPECT_EQ(core.BgNext(), 0);
    EXPECT_EQ(host.Wakes, 1);
    EXPECT_EQ(host.Formats, 0);
}

TEST_F(Schedule, BackgroundStepsWorkTheQueueOffAndWakeTheThreadWhileWorkRemains) {
    host.ProgressHandler = true;
    LoadLongText(20000);
    core.ScheduleFormatting();
    int steps = 0;
    while (core.BgNext() < core.ParagraphCount() && steps < 100000) {
        core.FormatStep();
        ++steps;
    }
    EXPECT_EQ(core.BgLast(), -1);
    EXPECT_EQ(host.Wakes, steps) << "one wake from the schedule, one from every step that left work";
    EXPECT_GE(host.Progresses, 1) << "the end is always reported";
    EXPECT_EQ(core.LineCount(), 40000);
    EXPECT_TRUE(LikeFromScratch());
    core.FormatStep();
    EXPECT_EQ(host.Wakes, steps) << "nothing left: no step, no wake";
}

TEST_F(Schedule, ABackgroundStepKeepsToItsBudgetOnTheClockItIsGiven) {
    // Every look at the clock takes 5 ms: the step looks once at its start and once after each
    // paragraph, so 25 ms hold five paragraphs, whatever the machine's speed.
    int64_t now = 0;
    core.Scheduler().SetClock([&] { return now += 5; });
    LoadLongText(100);
    core.ScheduleFormatting();
    core.FormatStep();
    EXPECT_EQ(core.BgNext(), 5);
    core.FormatStep();
    EXPECT_EQ(core.BgNext(), 10);
    EXPECT_EQ(host.Wakes, 3) << "the schedule's wake and one from each step that left work";
}

TEST_F(Schedule, ImmediateModeLaysOutWhatIsPendingAtOnceAndReportsTheEnd) {
    host.ProgressHandler = true;
    LoadLongText();
    core.ScheduleFormatting();
    core.FormatUpTo(10);
    const int before = host.Progresses;
    core.SetUpdateMode(umImmediate);
    EXPECT_EQ(core.BgNext(), kPars);
    EXPECT_GT(host.Progresses, before) << "the end of the text is reported";
    EXPECT_EQ(host.LastTo, kPars - 1);
    EXPECT_TRUE(LikeFromScratch());
}

TEST_F(Schedule, WithoutAWindowStepsLayEverythingOutAsOneLine) {
    host.Window = false;
    LoadLongText(50);
    core.ScheduleFormatting();
    core.FormatStep();
    EXPECT_EQ(core.BgNext(), 50);
    EXPECT_EQ(core.LineCount(), 50);
}

TEST_F(Schedule, AForeignMeasurerLaysEverythingOutAtOnceInItsOwnWidths) {
    TFixedTextMeasurer printer(4, 5, 3, 10);
    core.SetForeignMeasure(&printer, 56); // 40 pixels of text: 10 characters of 4 pixels
    LoadLongText(5);
    core.ScheduleFormatting();
    EXPECT_EQ(core.BgNext(), 5);
    EXPECT_EQ(Breaks(core.Paragraphs().Par(4)), "aaa bbb |ccc ddd");
    EXPECT_EQ(+LineTable(core.Paragraphs().Par(4))[0].TextWidth, 7 * 4);
    core.SetForeignMeasure(nullptr, 0);
}

TEST_F(Schedule, HiddenParagraphsKeepTheirLinesOutOfTheVisibleCount) {
    LoadLongText(6);
    HidePar(core, 2);
    HidePar(core, 3);
    core.SetUpdateMode(umImmediate);
    core.ScheduleFormatting();
    EXPECT_EQ(core.LineCount(), 12);
    EXPECT_EQ(core.VisibleLineCount(), 8);
    EXPECT_EQ(FirstLine(2), 4);
    EXPECT_EQ(FirstLine(3), 4) << "a hidden paragraph shares the next visible one's first line";
    EXPECT_EQ(FirstLine(4), 4);
    EXPECT_EQ(FirstLine(5), 6);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));
}

// ---- after an edit -------------------------------------------------------------------------------

class EditSchedule : public Schedule {
protected:
    void Edit(int32_t a, int32_t e, const char* text) {
        S.SetPos(a);
        E.SetPos(e);
        ReplaceText(core, S, E, text);
        core.UpdateAfterEdit();
    }
    int32_t PosOf(int par) { return core.Paragraphs().Par(par).Start; }

    TArtNavigator S{&core};
    TArtNavigator E{&core};
};

TEST_F(EditSchedule, OnScreenParagraphsAreLaidOutNowAndTheRestIsQueued) {
    core.SetUpdateMode(umImmediate);
    LoadLongText(200);
    core.ScheduleFormatting();
    core.SetUpdateMode(umBackground);
    core.Paragraphs().ResetDirty();
    host = TRecordingHost();

    // A paragraph break in each of 40 paragraphs, starting on screen: the new paragraphs are
    // one line each until laid out.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "x\r\n";
    Edit(PosOf(2), PosOf(2), text.c_str());
    EXPECT_EQ(host.Changes, 1);
    EXPECT_EQ(host.EditFormats, 1);
    EXPECT_EQ(host.EditFirst, 4) << "the first changed line is paragraph 2's first";
    EXPECT_TRUE(Formatted(2));
    EXPECT_FALSE(Formatted(41)) << "below the window";
    EXPECT_EQ(host.Wakes, 1) << "the rest goes to the thread";
    EXPECT_LE(core.BgNext(), 41);
    EXPECT_GE(core.BgLast(), 42);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));

    while (core.BgNext() < core.ParagraphCount())
        core.FormatStep();
    EXPECT_TRUE(LikeFromScratch());
    EXPECT_EQ(core.Paragraphs().DirtyTo, -1);
}

// Each paragraph's parse hands a changed context on to the next, one at a time; laid out at once,
// the edit must follow it to the last paragraph it reaches, whose keywords it switches off.
TEST_F(EditSchedule, ImmediateModeFollowsAnOpenedCommentToTheEndOfTheText) {
    THighlighting& h = core.Highlighting();
    h.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    h.Keywords().AddKeyWord("fi", 0, sfAltFont, 7, 0, -1, -1); // 6 pixels a character, not 8
    core.SetUpdateMode(umImmediate);
    // The comment is opened on screen and reaches a keyword line far below the window.
    std::string text = "x";
    for (int i = 0; i < 30; ++i)
        text += "\r\n";
    LoadThroughStream(core, text + "fi fi fi");
    core.ScheduleFormatting();
    core.Paragraphs().ResetDirty();
    const int last = core.ParagraphCount() - 1;
    ASSERT_EQ(+LineTable(core.Paragraphs().Par(last))[0].TextWidth, 3 * 12 + 2 * 8);

    S.SetPos(0);
    E.SetPos(0);
    const TReplaceResult replaced = ReplaceText(core, S, E, "/*");
    h.AfterReplace(S, E, replaced.RunsRemoved, false);
    core.UpdateAfterEdit();
    EXPECT_EQ(core.BgNext(), core.ParagraphCount()) << "nothing is left pending";
    EXPECT_EQ(core.BgLast(), -1);
    EXPECT_EQ(+LineTable(core.Paragraphs().Par(last))[0].TextWidth, 8 * 8) << "inside the comment";
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));
}

TEST_F(EditSchedule, TheWidestLineIsFoundAgainAfterItWasForgotten) {
    core.SetWordWrap(false);
    core.SetUpdateMode(umImmediate);
    LoadThroughStream(core, "ab\r\nabcdefghijkl\r\nabc");
    core.ScheduleFormatting();
    core.Paragraphs().ResetDirty();
    EXPECT_EQ(core.WidestLine(), 1);
    // The widest paragraph loses its tail: the control forgets the record, and the edit's layout
    // finds the widest line again.
    core.ForgetWidestLine();
    Edit(PosOf(1) + 2, PosOf(1) + 12, "");
    EXPECT_EQ(core.WidestWidth(), 3 * 8);
    EXPECT_EQ(core.WidestLine(), 2);
}

} // namespace
} // namespace zandor::test
