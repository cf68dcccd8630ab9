// Positions, paragraphs, display lines, runs, words and columns of the navigator.
#include "NavigatorTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zandor::test {
namespace {

class NavigatorFixture : public ::testing::Test {
protected:
    TArtMemoCore core;
    TArtNavigator nav{&core};
};

// ---- positions and paragraphs

using NavigatorPositions = NavigatorFixture;

TEST_F(NavigatorPositions, PositionsOnTheBreakStayInTheirParagraph) {
    LoadText(core, "ab\r\ncd");
    nav.SetPos(2);
    EXPECT_EQ(nav.GetParNb(), 0);
    EXPECT_EQ(nav.ParOffset(), 2);
    EXPECT_EQ(nav.CurrentChar(), 13);
    nav.SetPos(3); // forward inside the paragraph: the cached state moves on
    EXPECT_EQ(nav.GetParNb(), 0);
    EXPECT_EQ(nav.ParOffset(), 3);
    EXPECT_EQ(nav.CurrentChar(), 10);
    nav.SetPos(4);
    EXPECT_EQ(nav.GetParNb(), 1);
    EXPECT_EQ(nav.ParOffset(), 0);
    EXPECT_EQ(nav.CurrentChar(), 'c');
}

TEST_F(NavigatorPositions, AFreshPositionOnTheLineFeedResolvesToTheParagraphBeforeIt) {
    LoadText(core, "ab\r\n\r\ncd");
    TArtNavigator other(&core);
    other.SetPos(5);
    EXPECT_EQ(other.GetParNb(), 1);
    EXPECT_EQ(other.ParOffset(), 1);
    EXPECT_EQ(other.CurrentChar(), 10);
}

TEST_F(NavigatorPositions, SetPosClampsToTheText) {
    LoadText(core, "abc\r\nde");
    nav.SetPos(1000);
    EXPECT_EQ(nav.Pos(), core.CharCount());
    EXPECT_EQ(nav.GetParNb(), 1);
    EXPECT_EQ(nav.ParOffset(), 2);
    nav.SetPos(-5);
    EXPECT_EQ(nav.Pos(), 0);
    EXPECT_EQ(nav.GetParNb(), 0);
}

TEST_F(NavigatorPositions, FarJumpsOnVeryUnevenTextFindEveryParagraph) {
    // One long paragraph before thousands of empty ones: the proportional estimate lands far from
    // the answer for most positions.
    std::string text(30000, 'x');
    for (int i = 0; i < 3000; ++i)
        text += "\r\n";
    text += std::string(500, 'y');
    LoadText(core, text);
    TextModel model(text);
    for (int32_t p : {0, 1, 15000, 29999, 30000, 30001, 30002, 30003, 33000, 35999, 36000, 36001, 36499}) {
        TArtNavigator probe(&core);
        probe.SetPos(p);
        ASSERT_EQ(probe.GetParNb(), model.ParOf(p)) << "position " << p;
        ASSERT_EQ(probe.ParOffset(), p - model.Starts[static_cast<size_t>(model.ParOf(p))]);
    }
}

TEST_F(NavigatorPositions, SetParOffsetClampsToTheParagraphLength) {
    LoadText(core, "abc\r\nde");
    nav.SetParNb(1);
    nav.SetParOffset(10);
    EXPECT_EQ(nav.Pos(), 7);
    nav.SetParOffset(-3);
    EXPECT_EQ(nav.Pos(), 5);
}

TEST_F(NavigatorPositions, MovingToAMissingParagraphRaisesListIndexOutOfBounds) {
    LoadText(core, "abc");
    EXPECT_THROW(nav.SetParNb(1), ERangeError);
    try {
        nav.SetParNb(-1);
        FAIL();
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds");
    }
}

struct GetTextRow {
    int32_t From;
    int32_t Count;
    const char* Expected;
};

class NavigatorGetText : public NavigatorFixture, public ::testing::WithParamInterface<GetTextRow> {};

TEST_P(NavigatorGetText, CopiesBreaksAsCRLFAndStopsAtTheEnd) {
    LoadText(core, "ab\r\n\r\ncd");
    nav.SetPos(GetParam().From);
    char buffer[32];
    int32_t copied = nav.GetText(buffer, GetParam().Count);
    EXPECT_STREQ(buffer, GetParam().Expected);
    EXPECT_EQ(copied, static_cast<int32_t>(std::string(GetParam().Expected).size()));
    EXPECT_EQ(nav.Pos(), GetParam().From); // copying does not move
}

INSTANTIATE_TEST_SUITE_P(Rows, NavigatorGetText,
                         ::testing::Values(GetTextRow{0, 8, "ab\r\n\r\ncd"}, GetTextRow{2, 3, "\r\n\r"},
                                           GetTextRow{3, 3, "\n\r\n"}, GetTextRow{6, 20, "cd"},
                                           GetTextRow{8, 5, ""}, GetTextRow{1, 0, ""}));

// ---- display lines

using NavigatorLines = NavigatorFixture;

TEST_F(NavigatorLines, AWrapPointBelongsToTheLaterLineUnlessReachedByParagraphOffset) {
    LoadText(core, "aaaa bbbb cccc\r\nxy");
    WrapAt(core, 0, {5, 10});
    nav.SetPos(5);
    EXPECT_EQ(nav.LineIndex(), 1);
    EXPECT_EQ(nav.DisplayLine(), 1);
    EXPECT_EQ(nav.LineOffset(), 0);
    // With a known line index, an offset set on the wrap point stays at the end of the earlier line.
    nav.SetParOffset(4);
    EXPECT_EQ(nav.LineIndex(), 0);
    nav.SetParOffset(10);
    EXPECT_EQ(nav.LineIndex(), 1);
    EXPECT_EQ(nav.LineOffset(), 5);
    // Moving forward inside the paragraph advances the line index.
    nav.SetPos(12);
    EXPECT_EQ(nav.LineIndex(), 2);
    EXPECT_EQ(nav.LineText(), "cccc");
    nav.SetPos(15); // on the LF: still the last line
    EXPECT_EQ(nav.LineIndex(), 2);
    nav.SetPos(16);
    EXPECT_EQ(nav.DisplayLine(), 3);
}

TEST_F(NavigatorLines, SetLineOffsetStaysInsideTheLine) {
    LoadText(core, "aaaa bbbb cccc");
    WrapAt(core, 0, {5, 10});
    nav.SetPos(6);
    EXPECT_EQ(nav.SetLineOffset(100), 10);
    EXPECT_EQ(nav.LineIndex(), 1);
    EXPECT_EQ(nav.SetLineOffset(-1), 5);
}

TEST_F(NavigatorLines, SetLineNbLandsOnTheLineStartWithItsRunIndex) {
    LoadText(core, "first\r\naaaa bbbb cccc\r\nlast");
    AddRun(core, 1, 2, sfBold);
    AddRun(core, 1, 7, sfItalic);
    WrapAt(core, 1, {5, 10});
    core.SetWordWrap(true);
    struct Row {
        int32_t Line, Par, Offset, Runs;
    };
    for (Row row : {Row{0, 0, 0, 0}, Row{1, 1, 0, 0}, Row{2, 1, 5, 1}, Row{3, 1, 10, 2}, Row{4, 2, 0, 0},
                    Row{99, 2, 0, 0}}) {
        TArtNavigator probe(&core);
        probe.SetLineNb(row.Line);
        EXPECT_EQ(probe.GetParNb(), row.Par) << row.Line;
        EXPECT_EQ(probe.ParOffset(), row.Offset) << row.Line;
        EXPECT_EQ(probe.RunIndex(), row.Runs) << row.Line;
        EXPECT_EQ(probe.LineNb(), std::min(row.Line, 4));
    }
}

TEST_F(NavigatorLines, OnlyLeftAlignedUnwrappedTextTakesParagraphsForLines) {
    // Paragraph 0 has three lines, so line 2 is in paragraph 0 by the line tables and paragraph 2
    // by the shortcut.
    LoadText(core, "aaaa bbbb cccc\r\nx\r\ny");
    WrapAt(core, 0, {5, 10});
    core.SetWordWrap(false);
    core.SetAlignment(taRightJustify);
    nav.SetLineNb(2);
    EXPECT_EQ(nav.GetParNb(), 0);
    EXPECT_EQ(nav.ParOffset(), 10);
    core.SetAlignment(taLeftJustify);
    nav.SetLineNb(2);
    EXPECT_EQ(nav.GetParNb(), 2);
}

TEST_F(NavigatorLines, SetDisplayLineSkipsHiddenParagraphsFromAnyStartingPlace) {
    LoadText(core, "a\r\nbbbb cccc\r\nhidden\r\nd\r\ne");
    WrapAt(core, 1, {5});
    HidePar(core, 2);
    // Visible lines: 0 a, 1-2 paragraph 1, 3 d, 4 e.
    struct Row {
        int32_t Line, Par, Offset;
    };
    for (int32_t from : {0, 8, 19, 22}) {
        for (Row row : {Row{0, 0, 0}, Row{2, 1, 5}, Row{3, 3, 0}, Row{4, 4, 0}, Row{50, 4, 0}}) {
            nav.SetPos(from);
            nav.SetDisplayLine(row.Line);
            EXPECT_EQ(nav.GetParNb(), row.Par) << "from " << from << " to line " << row.Line;
            EXPECT_EQ(nav.ParOffset(), row.Offset);
        }
    }
    nav.SetPos(16); // inside the hidden paragraph
    EXPECT_FALSE(nav.ParVisible());
    EXPECT_EQ(nav.DisplayLine(), 3);
}

TEST_F(NavigatorLines, FarLineJumpsOnVeryUnevenLineCountsFindEveryLine) {
    // Paragraph 0 has 3000 display lines, the 3000 paragraphs after it one each: the estimates
    // by proportion land far away for most lines.
    std::string text(6000, 'w');
    for (int i = 0; i < 3000; ++i)
        text += "\r\nz";
    LoadText(core, text);
    std::vector<int32_t> wraps;
    for (int32_t w = 2; w < 6000; w += 2)
        wraps.push_back(w);
    WrapAt(core, 0, wraps);
    for (int32_t line : {0, 1, 1500, 2999, 3000, 3001, 4500, 5999}) {
        const int32_t par = line < 3000 ? 0 : line - 2999;
        const int32_t offset = line < 3000 ? 2 * line : 0;
        nav.SetLineNb(line);
        EXPECT_EQ(nav.GetParNb(), par) << "line " << line;
        EXPECT_EQ(nav.ParOffset(), offset) << "line " << line;
        for (int32_t from : {0, 3000, 9000}) {
            TArtNavigator probe(&core);
            probe.SetPos(from);
            probe.SetDisplayLine(line);
            EXPECT_EQ(probe.GetParNb(), par) << "line " << line << " from " << from;
            EXPECT_EQ(probe.DisplayLine(), line);
        }
    }
}

// ---- runs

using NavigatorRuns = NavigatorFixture;

TEST_F(NavigatorRuns, ARunBeginningAtThePositionTakesEffectOnlyAfterSkipRunsHere) {
    LoadText(core, "abcdefgh");
    AddRun(core, 0, 2, sfContext | sfBold, 7);
    AddRun(core, 0, 2, sfContext | sfItalic, 8);
    AddRun(core, 0, 5, 0, 9);
    nav.SetPos(2);
    EXPECT_EQ(nav.RunIndex(), 0);
    EXPECT_EQ(nav.CurrentContext(), 0); // the base style
    nav.SkipRunsHere();
    EXPECT_EQ(nav.RunIndex(), 2);
    EXPECT_EQ(nav.CurrentContext(), 8);
    nav.SetPos(6); // forward: the index advances over the run at 5
    EXPECT_EQ(nav.RunIndex(), 3);
    EXPECT_EQ(nav.CurrentContext(), 0); // a run without style flags carries no context
    TDynInfo run{};
    nav.GetRun(run);
    EXPECT_EQ(run.Offset, 5);
}

TEST_F(NavigatorRuns, InsertRunKeepsRunsSortedAndTheLineTablesRight) {
    LoadText(core, "aaaa bbbb cccc");
    WrapAt(core, 0, {5, 10});
    AddRun(core, 0, 7, sfBold);
    nav.SetPos(3);
    TDynInfo rec = kDefaultRunState;
    rec.StyleFlags = sfContext | sfUnderline;
    rec.Context = 42;
    nav.InsertRun(rec);
    EXPECT_EQ(nav.CurrentContext(), 42);
    EXPECT_EQ(nav.RunIndex(), 1);
    ASSERT_TRUE(StoreInvariantsHold(core.Paragraphs()));
    TArtNavigator probe(&core);
    core.SetWordWrap(true);
    probe.SetLineNb(2);
    EXPECT_EQ(probe.RunIndex(), 2);
    probe.SetLineNb(1);
    EXPECT_EQ(probe.RunIndex(), 1);
}

TEST_F(NavigatorRuns, DeleteRunWhereNoRunBeginsRaisesInternalErrorAndKeepsTheRuns) {
    LoadText(core, "abcdef");
    AddRun(core, 0, 2, sfBold);
    nav.SetPos(3);
    try {
        nav.DeleteRun();
        FAIL();
    } catch (const EInternalError& e) {
        EXPECT_STREQ(e.what(), "Internal ArtMemo error");
    }
    EXPECT_EQ(RunCount(core.Paragraphs().Par(0)), 1);
    nav.SetPos(2);
    nav.DeleteRun();
    EXPECT_EQ(RunCount(core.Paragraphs().Par(0)), 0);
}

TEST_F(NavigatorRuns, NextRunAndPrevRunCrossParagraphsWithinTheirLimits) {
    LoadText(core, "abcd\r\nefgh\r\nijkl\r\nmnop");
    AddRun(core, 0, 1, sfBold);
    AddRun(core, 2, 3, sfItalic);
    nav.SetPos(0);
    ASSERT_TRUE(nav.NextRun(100));
    EXPECT_EQ(nav.Pos(), 1);
    nav.SkipRunsHere();
    EXPECT_FALSE(nav.NextRun(14)); // the next run is at 15
    EXPECT_EQ(nav.Pos(), 1);
    ASSERT_TRUE(nav.NextRun(15));
    EXPECT_EQ(nav.Pos(), 15);
    EXPECT_EQ(nav.GetParNb(), 2);
    nav.SkipRunsHere();
    EXPECT_FALSE(nav.NextRun(1000)); // no more runs
    nav.SetPos(20);
    EXPECT_FALSE(nav.PrevRun(16));
    ASSERT_TRUE(nav.PrevRun(15));
    EXPECT_EQ(nav.Pos(), 15);
    ASSERT_TRUE(nav.PrevRun(0));
    EXPECT_EQ(nav.Pos(), 1);
    EXPECT_FALSE(nav.PrevRun(0));
}

TEST_F(NavigatorRuns, BackRunStepsToThePreviousRunWithThatRunInEffect) {
    LoadText(core, "abcdefgh");
    AddRun(core, 0, 2, sfContext | sfBold, 1);
    AddRun(core, 0, 5, sfContext | sfBold, 2);
    nav.SetPos(7);
    ASSERT_TRUE(nav.BackRun());
    EXPECT_EQ(nav.Pos(), 2);
    EXPECT_EQ(nav.CurrentContext(), 1);
    ASSERT_TRUE(nav.BackRun());
    EXPECT_EQ(nav.Pos(), 0);
    EXPECT_EQ(nav.CurrentContext(), 0);
    EXPECT_FALSE(nav.BackRun());
}

TEST_F(NavigatorRuns, StaticStyleTogglesFromTheLineStartOnlyWithStaticFormat) {
    LoadText(core, std::string("a\x02") + "b\x01" + "c\x02" + "d");
    nav.SetPos(4);
    EXPECT_EQ(nav.StaticStyle(), 0);
    core.SetStaticFormat(true);
    nav.SetPos(2);
    EXPECT_EQ(nav.StaticStyle(), sfBold);
    nav.SetPos(4);
    EXPECT_EQ(nav.StaticStyle(), sfBold | sfItalic);
    nav.SetPos(7);
    EXPECT_EQ(nav.StaticStyle(), sfItalic);
}

// ---- words

struct WordRow {
    const char* Text;
    int32_t From;
    int32_t Left, Right, Start, End;
};

class NavigatorWords : public NavigatorFixture, public ::testing::WithParamInterface<WordRow> {};

TEST_P(NavigatorWords, MoveByTheDefaultSeparators) {
    const WordRow& row = GetParam();
    LoadText(core, row.Text);
    const TCharSet set = core.Separators();
    auto after = [&](void (TArtNavigator::*move)(const TCharSet&)) {
        TArtNavigator probe(&core);
        probe.SetPos(row.From);
        (probe.*move)(set);
        return probe.Pos();
    };
    EXPECT_EQ(after(&TArtNavigator::WordLeft), row.Left);
    EXPECT_EQ(after(&TArtNavigator::WordRight), row.Right);
    EXPECT_EQ(after(&TArtNavigator::WordStart), row.Start);
    EXPECT_EQ(after(&TArtNavigator::WordEnd), row.End);
}

INSTANTIATE_TEST_SUITE_P(Rows, NavigatorWords,
                         ::testing::Values(
                             // inside the first word of the text: left stops at 0
                             WordRow{"hello world", 3, 0, 6, 0, 5},
                             // end of a paragraph: right lands on the next paragraph's start
                             WordRow{"foo\r\n  bar", 3, 0, 5, 0, 3},
                             // separators and a break are skipped together
                             WordRow{"foo,  \r\n  bar", 0, 0, 10, 0, 3},
                             // left from a word start goes over the break to the previous word
                             WordRow{"foo  \r\nbar", 7, 0, 10, 7, 10},
                             // at the end of the text nothing moves right
                             WordRow{"ab cd", 5, 3, 5, 3, 5},
                             // on a separator run: start and end do not leave the paragraph
                             WordRow{"ab   cd", 3, 0, 5, 0, 3}));

TEST_F(NavigatorFixture, WordStartStaysInItsParagraphWhenBreaksAreNoSeparators) {
    LoadText(core, "abc\r\ndef");
    TCharSet set;
    set.set(' ');
    nav.SetPos(6);
    nav.WordStart(set);
    EXPECT_EQ(nav.Pos(), 5);
    nav.SetPos(6);
    nav.WordLeft(set); // a whole-text move does cross
    EXPECT_EQ(nav.Pos(), 0);
}

// ---- columns

struct ColumnRow {
    const char* Text;
    int Tab;
    bool Static;
    int32_t Chars;     // ColumnOf(chars)
    int32_t Column;    // ColumnOf result
    int32_t Asked;     // OffsetOfColumn(asked)
    int32_t Offset;    // its result
    int32_t Shortfall; // ColumnShortfall(asked)
};

class NavigatorColumns : public ::testing::TestWithParam<ColumnRow> {};

TEST_P(NavigatorColumns, CountTabsToTheirStopAndCodesAsNothing) {
    const ColumnRow& row = GetParam();
    TArtMemoCore core;
    LoadText(core, row.Text);
    const ParInfo& par = core.Paragraphs().Par(0);
    EXPECT_EQ(TArtNavigator::ColumnOf(par, row.Chars, row.Tab, row.Static), row.Column);
    EXPECT_EQ(TArtNavigator::OffsetOfColumn(par, row.Asked, row.Tab, row.Static), row.Offset);
    EXPECT_EQ(TArtNavigator::ColumnShortfall(par, row.Asked, row.Tab, row.Static), row.Shortfall);
}

INSTANTIATE_TEST_SUITE_P(Rows, NavigatorColumns,
                         ::testing::Values(ColumnRow{"abcdef", 8, false, 3, 3, 4, 4, 0},
                                           // a tab from column 1 reaches 8; a column inside it falls short
                                           ColumnRow{"a\tb", 8, false, 2, 8, 5, 1, 4},
                                           ColumnRow{"a\tb", 8, false, 3, 9, 8, 2, 0},
                                           // past the end of the paragraph
                                           ColumnRow{"abc", 8, false, 99, 3, 10, 3, 7},
                                           // format codes take no column only with static format
                                           ColumnRow{"a\x02"
                                                     "bc",
                                                     8, true, 3, 2, 2, 3, 0},
                                           ColumnRow{"a\x02"
                                                     "bc",
                                                     8, false, 3, 3, 2, 2, 0},
                                           // without a positive tab width a tab is one column
                                           ColumnRow{"a\tb", 0, false, 3, 3, 2, 2, 0},
                                           ColumnRow{"", 4, false, 0, 0, 3, 0, 3}));

} // namespace
} // namespace zandor::test
