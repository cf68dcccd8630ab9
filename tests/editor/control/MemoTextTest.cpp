#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/KeywordList.h"

#include "MemoTestSupport.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::LoadText;

struct PartRow {
    int32_t Start;
    int32_t Stop;
    const char* Expected;
};

class TextPart : public ::testing::TestWithParam<PartRow> {};

TEST_P(TextPart, BothEndsAreClampedToTheText) {
    TArtMemo memo;
    LoadText(memo, "ab\ncd");
    EXPECT_EQ(memo.GetTextPart(GetParam().Start, GetParam().Stop), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Clamped, TextPart,
                         ::testing::Values(PartRow{-5, 3, "ab\r"}, PartRow{2, 100, "\r\ncd"},
                                           PartRow{4, 2, ""}, PartRow{0, 6, "ab\r\ncd"}, PartRow{7, 9, ""},
                                           PartRow{3, 3, ""}));

TEST(MemoText, ParagraphsByIndexAndTheirStarts) {
    TArtMemo memo;
    LoadText(memo, "first\n\nthird");
    EXPECT_EQ(memo.GetParagraph(0), "first");
    EXPECT_EQ(memo.GetParagraph(1), "");
    EXPECT_EQ(memo.ParagraphStart(2), 9);
    EXPECT_EQ(memo.CharAt(1), 'i');
    EXPECT_EQ(memo.CharAt(9), 't');
    EXPECT_THROW(memo.GetParagraph(3), ERangeError);
    EXPECT_THROW(memo.ParagraphStart(-1), ERangeError);
}

TEST(MemoText, DisplayLinesBeyondTheTextAreEmpty) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    LoadText(memo, "one\ntwo");
    memo.show();
    EXPECT_EQ(memo.GetDisplayLine(1), "two");
    EXPECT_EQ(memo.GetDisplayLine(2), "");
    EXPECT_EQ(memo.GetDisplayLine(-1), "");
}

TEST(MemoText, SetParagraphAppendsParagraphsAsNeeded) {
    TArtMemo memo;
    LoadText(memo, "a\nb");
    memo.SetParagraph(4, "e");
    EXPECT_EQ(memo.ParagraphCount(), 5);
    EXPECT_EQ(memo.Text(), "a\r\nb\r\n\r\n\r\ne");
}

TEST(MemoText, SetParagraphBeforeTheCaretShiftsItAndKeepsTheSelection) {
    TArtMemo memo;
    LoadText(memo, "aa\nbbbb\ncc");
    memo.SetSelStart(5); // "bb|bb"
    memo.SetSelLength(2);
    memo.SetParagraph(0, "xxxxx");
    EXPECT_EQ(memo.Text(), "xxxxx\r\nbbbb\r\ncc");
    EXPECT_EQ(memo.SelStart(), 8);
    EXPECT_EQ(memo.SelLength(), 2);
    EXPECT_EQ(memo.SelText(), "bb");
}

TEST(MemoText, SetParagraphOfTheCaretsParagraphPutsTheCaretAtItsStart) {
    TArtMemo memo;
    LoadText(memo, "aa\nbbbb\ncc");
    memo.SetSelStart(6);
    memo.SetSelLength(-2);
    memo.SetParagraph(1, "z");
    EXPECT_EQ(memo.Text(), "aa\r\nz\r\ncc");
    EXPECT_EQ(memo.SelStart(), 4);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_THROW(memo.SetParagraph(-1, "x"), ERangeError);
}

TEST(MemoText, GetSelTextBufCopiesAtMostTheBufferLessItsTerminator) {
    TArtMemo memo;
    LoadText(memo, "abcdef");
    memo.SetSelStart(5);
    memo.SetSelLength(-4); // "bcde"
    char buffer[8] = "zzzzzzz";
    EXPECT_EQ(memo.GetSelTextBuf(buffer, 3), 2);
    EXPECT_STREQ(buffer, "bc");
    EXPECT_EQ(memo.GetSelTextBuf(buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "bcde");
    EXPECT_EQ(memo.GetSelTextBuf(buffer, 0), 0);
}

TEST(MemoText, SetTextBufReplacesEverythingAndPutsTheCaretAtTheTop) {
    TArtMemo memo;
    LoadText(memo, "old\ntext");
    memo.SetSelStart(5);
    int changes = 0;
    memo.OnChange = [&](TArtMemo*) { ++changes; };
    memo.SetTextBuf("new\r\nlines\r\nhere");
    EXPECT_EQ(memo.ParagraphCount(), 3);
    EXPECT_EQ(memo.GetParagraph(1), "lines");
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(MemoText, ClearLoadsAnEmptyText) {
    TArtMemo memo;
    LoadText(memo, "some\ntext");
    test::TRecordingSink sink;
    memo.EventSinks().Add(&sink);
    memo.Clear();
    EXPECT_EQ(memo.CharCount(), 0);
    EXPECT_EQ(memo.ParagraphCount(), 1);
    EXPECT_TRUE(sink.Saw(nc::AfterLoad));
}

TEST(MemoText, FoundTextIsSelectedWithTheCaretOnTheSideOfTheSearchDirection) {
    TArtMemo memo;
    LoadText(memo, "one two one");
    ASSERT_TRUE(memo.FindTxt("one", true, true, false, true));
    EXPECT_EQ(memo.SelStart(), 3);
    EXPECT_EQ(memo.SelLength(), -3);
    ASSERT_TRUE(memo.FindTxt("one", true, true, false, false));
    EXPECT_EQ(memo.SelStart(), 11);
    ASSERT_TRUE(memo.FindTxt("TWO", false, false, true, false));
    EXPECT_EQ(memo.SelStart(), 4);
    EXPECT_EQ(memo.SelLength(), 3);
    EXPECT_FALSE(memo.FindTxt("three", true, true, false, true));
    EXPECT_EQ(memo.SelStart(), 4) << "a miss keeps the selection";
}

TEST(MemoText, SelParIsClampedToTheParagraphs) {
    TArtMemo memo;
    LoadText(memo, "a\nbb\nccc");
    memo.SetSelPar(1);
    EXPECT_EQ(memo.SelStart(), 3);
    EXPECT_EQ(memo.SelPar(), 1);
    memo.SetSelPar(40);
    EXPECT_EQ(memo.SelStart(), 7);
    memo.SetSelPar(-2);
    EXPECT_EQ(memo.SelStart(), 0);
}

TEST(MemoText, SelLineAndSelColCountFromZero) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    LoadText(memo, "abc\ndefgh\ni");
    memo.SetSelStart(7);
    EXPECT_EQ(memo.SelLine(), 1);
    EXPECT_EQ(memo.SelCol(), 2);
    memo.SetSelLine(2);
    EXPECT_EQ(memo.SelStart(), 12);
    memo.SetSelLine(1);
    memo.SetSelCol(3);
    EXPECT_EQ(memo.SelStart(), 8);
    memo.SetSelCol(9); // past the end of "defgh": clamped, no blanks without the option
    EXPECT_EQ(memo.SelStart(), 10);
    EXPECT_EQ(memo.SelCol(), 5);
    EXPECT_TRUE(memo.PendingBlanks().empty());
}

TEST(MemoText, SelColPastTheLineEndKeepsTheColumnAsPendingBlanks) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    memo.SetOptions(memo.Options().With(amoKeepColumnPos));
    LoadText(memo, "abc\ndefgh");
    memo.SetSelCol(6);
    EXPECT_EQ(memo.SelStart(), 3);
    EXPECT_EQ(memo.PendingBlanks(), "   ");
    EXPECT_EQ(memo.SelCol(), 6);
    // Typed text goes after the blanks (amoPutExtraSpaces is on by default).
    memo.SetSelText("x");
    EXPECT_EQ(memo.GetParagraph(0), "abc   x");
    EXPECT_TRUE(memo.PendingBlanks().empty());
}

TEST(MemoText, TopLineReadsParagraphsWithoutWrapAndDisplayLinesWithIt) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.resize(120, 80);
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "several words in every paragraph here\n";
    LoadText(memo, text);
    memo.show();
    memo.SetScrollTime(0);
    memo.SetTopLine(10);
    EXPECT_EQ(memo.TopLine(), 10);
    EXPECT_EQ(memo.TopOrigin(), 10 * memo.LinePixels());
    ASSERT_GT(memo.LineCount(), memo.ParagraphCount()) << "the narrow window wraps";
    memo.SetWordWrap(false);
    memo.SetTopLine(5);
    EXPECT_EQ(memo.TopLine(), 5);
    EXPECT_EQ(memo.LineCount(), memo.ParagraphCount());
}

TEST(MemoText, ReApplyKeywordsHighlightsTheTextAgainWithTheNewList) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    LoadText(memo, "hello world\nworld");
    memo.show();
    memo.SetSelStart(8);
    EXPECT_EQ(memo.Caret().CurrentContext(), 0);
    memo.Keywords().AddKeyWord("world", 0, sfBold, 5, 0, -1, -1);
    memo.ReApplyKeywords();
    memo.SetSelStart(8);
    EXPECT_EQ(memo.Caret().CurrentContext(), 5);
    memo.SetSelStart(14);
    EXPECT_EQ(memo.Caret().CurrentContext(), 5) << "every paragraph, not only the one with the caret";
    memo.Keywords().Clear();
    memo.ReApplyKeywords();
    memo.SetSelStart(8);
    EXPECT_EQ(memo.Caret().CurrentContext(), 0);
}

struct HalfBreakRow {
    const char* Name;
    int32_t Caret;
    int32_t Length;
    const char* Expected;
};

class HalfBreak : public ::testing::TestWithParam<HalfBreakRow> {};

// Position 3 of "ab\r\ncd" lies between the CR and the LF: an end standing there goes back onto
// the CR, so a break is never split and no half break is left behind.
TEST_P(HalfBreak, ReplacementNeverSplitsABreak) {
    const HalfBreakRow row = GetParam();
    TArtMemo memo;
    LoadText(memo, "ab\ncd");
    memo.SetSelStart(row.Caret);
    memo.SetSelLength(row.Length);
    memo.SetSelText("X");
    EXPECT_EQ(memo.Text(), row.Expected);
    EXPECT_EQ(memo.ParagraphCount(), std::string(row.Expected).find('\n') == std::string::npos ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, HalfBreak,
                         ::testing::Values(HalfBreakRow{"InsertAtTheLf", 3, 0, "abX\r\ncd"},
                                           HalfBreakRow{"SelectionEndingAtTheLf", 1, 2, "aX\r\ncd"},
                                           HalfBreakRow{"SelectionStartingAtTheLfTakesTheWholeBreak", 3, 2,
                                                        "abXd"},
                                           HalfBreakRow{"WholeBreak", 2, 2, "abXcd"}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace zandor
