// The editing core without a window: how changes group into undo steps, the two limits, what a
// replace handler and a bracket change, selections that grow from their anchor, column blocks,
// style codes, the bracket that keeps persistent blocks, and the consistency check.
#include "EditorTestText.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoConsistency.h"
#include "editor/engine/NoOverwriteBracket.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

namespace zandor::test {
namespace {

class Editor : public ::testing::Test {
protected:
    TArtMemoCore core;
    TMemoEditor& ed = core.Editor();
    TMemoSelection& sel = core.Selection();
    TUndoList& undo = core.Undos();

    void Load(std::string_view text) {
        LoadEditorText(core, text);
        core.SetWordWrap(false);
    }
    std::string Text() { return WholeText(core); }
    void Type(std::string_view s) {
        for (char c : s)
            ed.SetSelText(std::string(1, c));
    }
};

TEST_F(Editor, TypingAtOnePlaceIsOneStepUntilTheCaretMoves) {
    Load("0123456789");
    ed.SetSelStart(4);
    Type("abc");
    ASSERT_EQ(undo.Count(), 1);
    EXPECT_EQ(undo[0].Start, 4);
    EXPECT_EQ(undo[0].Stop, 7);
    EXPECT_EQ(undo[0].Text, "");
    ed.MoveCaret(5, false); // between a and b
    Type("x");
    EXPECT_EQ(undo.Count(), 2);
    ed.Undo();
    EXPECT_EQ(Text(), "0123abc456789");
    ed.Undo();
    EXPECT_EQ(Text(), "0123456789");
    EXPECT_EQ(sel.SelStart(), 4);
    EXPECT_EQ(sel.SelLength(), 0);
}

TEST_F(Editor, EveryDeletionIsAStepOfItsOwn) {
    Load("abcdef");
    for (int32_t p : {4, 3, 2}) {
        ed.Select(p, p + 1);
        ed.SetSelTextBuf("");
    }
    EXPECT_EQ(Text(), "abf");
    EXPECT_EQ(undo.Count(), 3);
    ed.Undo();
    EXPECT_EQ(Text(), "abcf");
}

TEST_F(Editor, TypingOverASelectionIsUndoneAndRedoneWithTheSelectedText) {
    Load("one two three");
    ed.Select(4, 7);
    Type("2");
    EXPECT_EQ(undo[0].Text, "two");
    ed.Undo();
    EXPECT_EQ(Text(), "one two three");
    EXPECT_EQ(sel.SelStart(), 7) << "after the restored text";
    ed.Redo();
    EXPECT_EQ(Text(), "one 2 three");
    ed.Undo();
    ed.Redo();
    ed.Undo();
    EXPECT_EQ(Text(), "one two three");
    Type("!");
    EXPECT_FALSE(ed.CanRedo()) << "a new edit drops what could be redone";
}

TEST_F(Editor, EditsInOneBracketAndBracketsInARowAreOneStep) {
    Load("abc");
    {
        TUpdateBracket bracket(ed);
        ed.SetSelStart(0);
        ed.SetSelText("x");
        ed.SetSelStart(4);
        ed.SetSelText("y");
    }
    {
        TUpdateBracket bracket(ed);
        ed.SetSelStart(2);
        ed.SetSelText("z");
    }
    ed.SetSelStart(0);
    ed.SetSelText("0"); // at level 0: a step of its own
    EXPECT_EQ(Text(), "0xazbcy");
    ed.Undo();
    EXPECT_EQ(Text(), "xazbcy");
    ed.Undo();
    EXPECT_EQ(Text(), "abc") << "the two brackets follow each other: one step";
    EXPECT_FALSE(ed.CanUndo());
    ed.Redo();
    EXPECT_EQ(Text(), "xazbcy");
}

TEST_F(Editor, ABracketEndsOnceWithOneLayoutEvenWhenAnErrorLeavesIt) {
    TRecordingEditorHost host;
    ed.SetHost(&host);
    Load("abc");
    EXPECT_THROW(
        {
            TUpdateBracket bracket(ed);
            ed.SetSelText("x");
            ed.SetSelText("y");
            EXPECT_EQ(host.Edits, 0) << "no layout inside a bracket";
            throw std::runtime_error("failed");
        },
        std::runtime_error);
    EXPECT_EQ(ed.UpdateLevel(), 0);
    EXPECT_EQ(host.BracketEnds, 1);
    ed.SetSelText("z");
    EXPECT_EQ(host.Edits, 1);
    ed.SetHost(nullptr);
}

struct LimitRow {
    int MaxLevel;
    int MaxSpace;
    int Edits;
    int Undoable; // steps that remain
};

class UndoLimits : public Editor, public ::testing::WithParamInterface<LimitRow> {};

TEST_P(UndoLimits, KeepTheNewestStepsThatFit) {
    const LimitRow row = GetParam();
    Load("");
    undo.SetMaxLevel(row.MaxLevel);
    undo.SetMaxSpace(row.MaxSpace);
    for (int i = 0; i < row.Edits; ++i) {
        ed.MoveCaret(0, false);
        ed.SetSelText("ab");
    }
    int undone = 0;
    while (ed.CanUndo()) {
        ed.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, row.Undoable);
    EXPECT_EQ(Text().size(), size_t(2 * (row.Edits - row.Undoable)));
}

INSTANTIATE_TEST_SUITE_P(Editor, UndoLimits,
                         ::testing::Values(LimitRow{3, 0, 5, 3},     // the last three
                                           LimitRow{0, 0, 5, 0},     // no undo at all
                                           LimitRow{-1, 0, 70, 70},  // no limit
                                           LimitRow{-1, 40, 5, 3})); // 13 bytes each: three fit

TEST_F(Editor, AChangeLargerThanTheSpaceIsMadeWithoutARecordAndDropsTheOlderOnes) {
    Load("0123456789abc");
    undo.SetMaxSpace(20);
    ed.SetSelText("x"); // 13 bytes
    ed.Select(1, 11);
    ed.SetSelTextBuf(""); // 23 bytes
    EXPECT_EQ(Text(), "xabc");
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_FALSE(ed.CanUndo());
}

TEST_F(Editor, LoweringTheLimitsTrimsTheList) {
    Load("");
    for (int i = 0; i < 6; ++i) {
        ed.MoveCaret(0, false);
        ed.SetSelText("abc");
    }
    ed.Undo();
    ed.Undo(); // four to undo, two to redo
    undo.SetMaxLevel(3);
    EXPECT_EQ(undo.Count(), 3) << "the redo steps go, then the oldest";
    EXPECT_EQ(undo.Index(), 3);
    undo.SetMaxSpace(2 * 13 + 5);
    EXPECT_EQ(undo.Count(), 2);
    EXPECT_EQ(undo.TotalSize(), 2 * 13);
}

TEST_F(Editor, AReplaceHandlerChangesWhatIsInsertedAndWhatUndoRemoves) {
    TRecordingEditorHost host;
    const char* other = "XYZ";
    host.Substitute = [&](const char*& text) { text = other; };
    ed.SetHost(&host);
    Load("ab");
    ed.SetSelStart(1);
    ed.SetSelText("q");
    EXPECT_EQ(Text(), "aXYZb");
    EXPECT_EQ(sel.SelStart(), 4);
    ed.Undo();
    EXPECT_EQ(Text(), "ab") << "the handler is heard but cannot change what undo puts back";
    ed.Redo();
    EXPECT_EQ(Text(), "aXYZb");
    EXPECT_EQ(host.Replaces, 3);
    ed.SetHost(nullptr);
}

TEST_F(Editor, ASelectionGrowsAndShrinksFromItsAnchor) {
    Load("0123456789");
    ed.SetSelStart(5);
    for (int i = 0; i < 3; ++i)
        ed.MoveCaret(sel.SelStart() + 1, true);
    EXPECT_EQ(sel.SelStart(), 8);
    EXPECT_EQ(sel.SelLength(), -3);
    ed.MoveCaret(sel.SelStart() - 1, true);
    EXPECT_EQ(sel.SelStart(), 7);
    EXPECT_EQ(sel.SelLength(), -2);
    ed.MoveCaret(2, true); // past the anchor
    EXPECT_EQ(sel.SelLength(), 3);
    EXPECT_EQ(ed.SelText(), "234");
    ed.MoveCaret(9, false);
    EXPECT_EQ(sel.SelLength(), 0);
    EXPECT_EQ(sel.SelStart(), 9);
}

TEST_F(Editor, VerticalMovesKeepTheRememberedColumnOverAShortLine) {
    Load("0123456789\r\nab\r\n0123456789");
    ed.SetSelStart(7);
    ed.MoveCaretToLine(1, false);
    EXPECT_EQ(sel.SelStart(), 14) << "the end of the short line";
    ed.MoveCaretToLine(2, true);
    EXPECT_EQ(sel.SelStart(), 23) << "back in the remembered column";
    EXPECT_EQ(sel.SelLength(), -9) << "the selection grew from the end of the short line";
    ed.MoveCaretToLine(99, false);
    EXPECT_EQ(sel.SelStart(), 23) << "not beyond the last line";
    ed.MoveCaretToColumn(3, false);
    EXPECT_EQ(sel.SelStart(), 19);
    EXPECT_EQ(sel.RememberedX(), TMemoSelection::kNoX) << "a sideways move forgets the column";
}

TEST_F(Editor, APointFindsTheCharacterWhoseRightHalfItIsIn) {
    Load("0123456789\r\nab\r\n0123456789");
    const int lh = core.LinePixels();
    const int left = core.LeftMargin();
    const int w = core.AvgCharWidth();
    EXPECT_EQ(ed.PositionAt(left + 3 * w + w / 2, 2 * lh + 1), 16 + 4) << "the middle pixel lands after";
    EXPECT_EQ(ed.PositionAt(left + 3 * w + w / 2 - 1, 2 * lh + 1), 16 + 3);
    EXPECT_EQ(ed.PositionAt(left + 40 * w, lh), 14) << "beyond the end of a line: its end";
    EXPECT_EQ(ed.PositionAt(0, 10 * lh), core.CharCount()) << "below the text: its end";
}

TEST_F(Editor, PersistentBlocksStayWhileTheCaretMovesAndGoWhenItExtendsElsewhere) {
    Load("hello world");
    ed.SetOptions(ed.Options().With(amoPersistentBlocks));
    ed.Select(0, 5);
    ed.MoveCaret(8, false);
    EXPECT_TRUE(sel.FreeCaretActive());
    EXPECT_EQ(sel.SelStart(), 8);
    EXPECT_EQ(sel.Lower(), 0);
    EXPECT_EQ(sel.Upper(), 5);
    ed.MoveCaret(10, true);
    EXPECT_FALSE(sel.FreeCaretActive());
    EXPECT_EQ(sel.Lower(), 8);
    EXPECT_EQ(sel.Upper(), 10) << "the old block went; the selection grows from the free caret";
}

struct NoOverwriteRow {
    bool Persistent;
    const char* Text;
    int32_t Lower, Upper, Selected; // the selection afterwards
};

class NoOverwrite : public Editor, public ::testing::WithParamInterface<NoOverwriteRow> {};

TEST_P(NoOverwrite, TypingActsAtTheCaretAndAPersistentSelectionComesBack) {
    const NoOverwriteRow row = GetParam();
    Load("hello world");
    TArtMemoOptions options = ed.Options().With(amoNoOverwriteBlocks);
    ed.SetOptions(row.Persistent ? options.With(amoPersistentBlocks) : options);
    ed.Select(6, 11); // "world", caret at 6
    {
        TNoOverwriteBracket bracket(ed);
        ed.SetSelText("big ");
    }
    EXPECT_EQ(Text(), row.Text);
    EXPECT_EQ(sel.Lower(), row.Lower);
    EXPECT_EQ(sel.Upper(), row.Upper);
    EXPECT_EQ(ed.SelText(), row.Persistent ? "world" : "");
    EXPECT_EQ(sel.SelStart(), 10) << "the caret stays where the edit left it";
    ed.Undo();
    EXPECT_EQ(Text(), "hello world");
}

INSTANTIATE_TEST_SUITE_P(Editor, NoOverwrite,
                         ::testing::Values(NoOverwriteRow{false, "hello big world", 10, 10, 0},
                                           NoOverwriteRow{true, "hello big world", 10, 15, 5}));

TEST_F(Editor, ABlockIsReplacedRowByRowInOneStep) {
    Load("abcdef\r\nab\r\n0123456");
    ed.SelectBlock(1, 0, 2, 4);
    EXPECT_TRUE(sel.BlockMode());
    EXPECT_EQ(ed.SelText(), "bcd\r\nb\r\n123\r\n");
    ed.SetSelText("XY");
    EXPECT_EQ(Text(), "aef\r\na\r\n0XY456");
    EXPECT_FALSE(sel.BlockMode());
    EXPECT_EQ(sel.SelStart(), 11) << "after the new text in the last row";
    ed.Undo();
    EXPECT_EQ(Text(), "abcdef\r\nab\r\n0123456");
    EXPECT_FALSE(ed.CanUndo());
}

TEST_F(Editor, BlockColumnsCountTabsToTheirStops) {
    Load("a\tbcdef\r\nabcdefghijkl");
    core.SetTabStops(4);
    ed.SelectBlock(2, 0, 1, 6);
    // Column 2 lies inside the tab (columns 1-3): the tab is not taken.
    EXPECT_EQ(ed.SelText(), "\tbc\r\ncdef\r\n");
}

TEST_F(Editor, ASelectionEndOnTheLineFeedHalfOfABreakNeverSplitsIt) {
    Load("ab\r\ncd");
    sel.StartNav().SetPos(1);
    sel.EndNav().SetPos(3); // between CR and LF
    ed.SetSelTextBuf("X");
    EXPECT_EQ(Text(), "aX\r\ncd");
}

TEST_F(Editor, StyleTogglesWrapTheSelectionAndTwiceGiveTheTextBack) {
    Load("plain bold");
    ed.ToggleStyle('\x02');
    EXPECT_EQ(Text(), "plain bold") << "nothing without format codes";
    core.SetStaticFormat(true);
    ed.Select(10, 6); // "bold", caret at the end
    ed.ToggleStyle('\x02');
    EXPECT_EQ(Text(), "plain \x02"
                      "bold\x02");
    EXPECT_EQ(ed.SelText(), "\x02"
                            "bold\x02");
    EXPECT_EQ(sel.SelStart(), 12) << "the caret stays on its side";
    ed.ToggleStyle('\x02');
    EXPECT_EQ(Text(), "plain bold");
    EXPECT_EQ(ed.SelText(), "bold");
    ed.Undo();
    EXPECT_EQ(Text(), "plain \x02"
                      "bold\x02");
    ed.SetSelStart(5);
    ed.ToggleStyle('\x01');
    EXPECT_EQ(Text(), "plain\x01\x01 \x02"
                      "bold\x02")
        << "without a selection the pair stays";
    EXPECT_EQ(sel.SelStart(), 6) << "between the two codes";
}

TEST_F(Editor, DeletingBetweenTwoCodesTakesThePairThatNoLongerToggles) {
    Load("x\x02"
         "a\x02y");
    core.SetStaticFormat(true);
    ed.Select(2, 3);
    ed.SetSelTextBuf("");
    EXPECT_EQ(Text(), "xy");
    ed.Undo();
    EXPECT_EQ(Text(), "x\x02"
                      "a\x02y");
}

TEST_F(Editor, SetTextBufReplacesEverythingAndPutsTheCaretFirst) {
    Load("old\r\ntext");
    ed.SetSelStart(5);
    ed.SetTextBuf("new\nlines\r\nhere");
    EXPECT_EQ(Text(), "new\r\nlines\r\nhere");
    EXPECT_EQ(sel.SelStart(), 0);
    EXPECT_EQ(core.ParagraphCount(), 3);
    ed.Undo();
    EXPECT_EQ(Text(), "old\r\ntext");
}

TEST_F(Editor, PendingBlanksGoInFrontOfTypedTextWhenExtraSpacesAreOn) {
    Load("ab");
    ed.SetSelStart(2);
    ed.SetPendingBlanks("  ");
    ed.SetSelText("c");
    EXPECT_EQ(Text(), "ab  c");
    EXPECT_EQ(sel.PendingBlanks(), "");
    ed.SetOptions(ed.Options().Without(amoPutExtraSpaces));
    ed.SetPendingBlanks("  ");
    ed.SetSelText("d");
    EXPECT_EQ(Text(), "ab  cd");
}

TEST_F(Editor, TheWidestLineFollowsTypingIntoItAndDeletionsFromIt) {
    Load("short\r\nthe longest line\r\nmid line");
    FormatAll(core);
    const int w = core.Measurer().TextExtent(0, "x", 1);
    ASSERT_EQ(core.WidestLine(), 1);
    ASSERT_EQ(core.WidestWidth(), 16 * w);
    ed.SetSelStart(9);
    ed.SetSelText("xx");
    EXPECT_EQ(core.WidestLine(), 1);
    EXPECT_EQ(core.WidestWidth(), 18 * w) << "typing widened it";
    ed.Select(5, 25);
    ed.SetSelTextBuf("");
    ASSERT_EQ(Text(), "short\r\nmid line");
    EXPECT_EQ(core.WidestLine(), 1) << "the old widest went; the next one is found";
    EXPECT_EQ(core.WidestWidth(), 8 * w) << "\"mid line\"";
}

TEST_F(Editor, EditsInBracketsAreLaidOutAtTheBracketsEndLikeAFreshText) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "some words to wrap " + std::to_string(i) + "\r\n";
    Load(text);
    core.SetWordWrap(true);
    core.SetClientSize(96, 170);
    core.SetUpdateMode(umImmediate); // what is below the window is laid out too
    FormatAll(core);
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        {
            TUpdateBracket bracket(ed);
            for (int n = int(rng() % 4) + 1; n > 0; --n) {
                const int32_t count = core.CharCount();
                int32_t a = int32_t(rng() % uint32_t(count + 1)), b = int32_t(rng() % uint32_t(count + 1));
                const std::string now = Text();
                for (int32_t* p : {&a, &b})
                    if (*p > 0 && size_t(*p) < now.size() && now[size_t(*p)] == '\n')
                        --*p;
                ed.Select(a, b);
                ed.SetSelText(rng() % 3 ? "new words\r\nand more " : "x");
            }
        }
        TArtMemoCore fresh;
        fresh.SetWordWrap(true);
        fresh.SetClientSize(96, 170);
        LoadThroughStream(fresh, Text());
        FormatAll(fresh);
        ASSERT_TRUE(SameLayout(core, fresh)) << "round " << round;
    }
}

TEST_F(Editor, TheConsistencyCheckFindsABrokenStartAndNamesTheControl) {
    Load("one\r\ntwo\r\nthree");
    ed.SetSelStart(4);
    ed.SetSelText("x\r\ny");
    EXPECT_NO_THROW(CheckConsistency(core, " v1"));
    core.Paragraphs().Par(2).Start += 1;
    try {
        CheckConsistency(core, "ArtMemo 1");
        FAIL() << "no error";
    } catch (const EConsistencyError& e) {
        EXPECT_STREQ(e.what(), "Error 2 in ArtMemo 1");
    }
    core.Paragraphs().Par(2).Start -= 1;
    core.Paragraphs().LineCount += 1;
    EXPECT_THROW(CheckConsistency(core, ""), EConsistencyError);
}

} // namespace
} // namespace zandor::test
