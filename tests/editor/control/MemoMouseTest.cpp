// The mouse in the editor control, through real mouse events: placing and extending the caret,
// words by double-click, lines from the left margin, column blocks with Alt, dragging selected
// text, the cursors it shows, clicks on highlighted runs, the right button's menu and scrolling
// while selecting outside the window.
#include "InputTestSupport.h"

#include "editor/control/MemoCursors.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/KeywordList.h"
#include "editor/engine/ParagraphsList.h"

#include <QContextMenuEvent>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::InputTest;
using test::TRecordingSink;

// x of the left margin, where a press selects lines.
constexpr int kMarginX = 2;

TEST_F(InputTest, AClickPlacesTheCaretAndShiftClickExtendsFromTheAnchor) {
    Load("abc\ndef|");
    Click(At(1, 0));
    EXPECT_EQ(State(), "a|bc\ndef");
    Click(At(2, 1), Qt::ShiftModifier);
    EXPECT_EQ(State(), "a^bc\nde|f");
    Click(At(40, 0));
    EXPECT_EQ(State(), "abc|\ndef") << "beyond the line end: its end";
    Click(At(1, 5));
    EXPECT_EQ(State(), "abc\ndef|") << "below the last line: the end of the text";
}

TEST_F(InputTest, AClickEndsTheTypingUndoGroup) {
    Load("|");
    Key(Qt::Key_A);
    Key(Qt::Key_B);
    Click(At(1, 0));
    Key(Qt::Key_C);
    EXPECT_EQ(State(), "ac|b");
    memo->Undo();
    EXPECT_EQ(State(), "a|b");
}

TEST_F(InputTest, DraggingWithTheButtonSelects) {
    Load("abc\ndef|");
    Press(At(1, 0));
    MoveHeld(At(2, 1));
    Release(At(2, 1));
    EXPECT_EQ(State(), "a^bc\nde|f");
}

TEST_F(InputTest, ClicksBeyondTheLineEndLeaveBlanksWhenColumnsAreKept) {
    memo->SetOptions({amoKeepColumnPos});
    Load("ab\ncdef|");
    Click(At(5, 0));
    EXPECT_EQ(State(), "ab|___\ncdef");
}

TEST_F(InputTest, ADoubleClickSelectsAWordAndDraggingGoesWordByWord) {
    Load("one two three|");
    DoubleClick(At(5, 0));
    EXPECT_EQ(State(), "one |two^ three");
    Click(At(0, 0));
    Press(At(5, 0));
    Release(At(5, 0));
    Mouse(QEvent::MouseButtonDblClick, At(5, 0), Qt::LeftButton, Qt::LeftButton);
    MoveHeld(At(10, 0));
    EXPECT_EQ(State(), "one ^two three|");
    MoveHeld(At(1, 0));
    EXPECT_EQ(State(), "|one two^ three");
    Release(At(1, 0));
    MoveHeld(At(10, 0));
    EXPECT_EQ(State(), "|one two^ three") << "the button is up: moves select nothing";

    memo->SetOptions(kDefaultArtMemoOptions.With(amoLargeWordSelect));
    Click(At(12, 0));
    DoubleClick(At(5, 0));
    EXPECT_EQ(State(), "one |two ^three") << "with the separators after the word";
}

TEST_F(InputTest, ThePressInTheLeftMarginSelectsLinesWithTheirBreaks) {
    Load("ab\ncd\nef|");
    const int lh = memo->LinePixels();
    Click(QPoint(kMarginX, lh + 3));
    EXPECT_EQ(State(), "ab\n|cd\n^ef");
    Click(QPoint(kMarginX, 2 * lh + 3));
    EXPECT_EQ(State(), "ab\ncd\n|ef^") << "the last line has no break to take";
    // Dragging down takes whole lines; dragging up from a line runs to its end.
    Press(QPoint(kMarginX, 3));
    MoveHeld(QPoint(kMarginX, lh + 3));
    Release(QPoint(kMarginX, lh + 3));
    EXPECT_EQ(State(), "^ab\ncd\n|ef");
    Press(QPoint(kMarginX, 2 * lh + 3));
    MoveHeld(QPoint(kMarginX, 3));
    Release(QPoint(kMarginX, 3));
    EXPECT_EQ(State(), "|ab\ncd\nef^");

    memo->SetOptions(kDefaultArtMemoOptions.With(amoNoLineSelection));
    Click(QPoint(kMarginX, lh + 3));
    EXPECT_EQ(State(), "ab\n|cd\nef");
}

TEST_F(InputTest, AltPressAndDragSelectAColumnBlock) {
    memo->SetOptions(kDefaultArtMemoOptions.With(amoBlockSelection));
    Load("abcd\nefgh\nijkl|");
    Press(At(1, 0), Qt::AltModifier);
    MoveHeld(At(3, 2), Qt::AltModifier);
    Release(At(3, 2), Qt::AltModifier);
    ASSERT_TRUE(memo->BlockMode());
    EXPECT_EQ(memo->SelText(), "bc\r\nfg\r\njk\r\n");
    Key(Qt::Key_X);
    EXPECT_EQ(memo->Text(), "ad\r\neh\r\nixl");
    // A press without Alt ends block mode.
    Press(At(0, 0), Qt::AltModifier);
    ASSERT_TRUE(memo->BlockMode());
    Release(At(0, 0));
    Click(At(1, 0));
    EXPECT_FALSE(memo->BlockMode());
}

class TextDrag : public InputTest {
protected:
    // "abcdef" with "bc" selected, picked up at b and carried to the gap before `column`.
    void Drag(int column, Qt::KeyboardModifiers dropMods = Qt::NoModifier) {
        Load("a^bc|def");
        Hover(At(1, 0));
        Press(At(1, 0));
        MoveHeld(At(column, 0));
        Release(At(column, 0), dropMods);
    }
};

TEST_F(TextDrag, DroppingElsewhereMovesTheTextAsOneUndoStep) {
    Drag(5);
    EXPECT_EQ(State(), "ade^bc|f");
    memo->Undo();
    EXPECT_EQ(memo->Text(), "abcdef");
}

TEST_F(TextDrag, DroppingWithCtrlCopiesAndOneUndoRemovesTheCopy) {
    Drag(5, Qt::ControlModifier);
    EXPECT_EQ(State(), "abcde^bc|f");
    memo->Undo();
    EXPECT_EQ(memo->Text(), "abcdef");
}

TEST_F(TextDrag, DroppingOnItselfOnlyMovesTheCaret) {
    int selMoves = 0;
    memo->OnSelMove = [&](TArtMemo*) { ++selMoves; };
    Drag(2);
    EXPECT_EQ(State(), "ab|cdef");
    EXPECT_GE(selMoves, 1);
    EXPECT_FALSE(memo->CanUndo());
}

TEST_F(TextDrag, EscCancelsTheDragAndCtrlShowsTheCopyCursor) {
    Load("a^bc|def");
    Press(At(1, 0));
    EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::DragMoveCursor);
    MoveHeld(At(5, 0));
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QCoreApplication::sendEvent(memo.get(), &ctrl);
    EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::BitmapCursor);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QCoreApplication::sendEvent(memo.get(), &ctrlUp);
    EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::DragMoveCursor);
    MoveHeld(QPoint(-30, 3));
    EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::ForbiddenCursor) << "outside the text";
    Key(Qt::Key_Escape);
    Release(QPoint(-30, 3));
    EXPECT_EQ(State(), "abcde|f") << "the caret where the mouse last was in the text, nothing moved";
    EXPECT_NE(memo->viewport()->cursor().shape(), Qt::DragMoveCursor);
}

TEST_F(TextDrag, ReleasedOutsideTheWindowDropsNothing) {
    Load("a^bc|def");
    Press(At(1, 0));
    MoveHeld(QPoint(-30, 3));
    Release(QPoint(-30, 3));
    EXPECT_EQ(memo->Text(), "abcdef");
}

TEST_F(TextDrag, NeitherReadOnlyNorWithoutDragAndDropDoesAPressOnTheSelectionPickItUp) {
    for (const bool readOnly : {true, false}) {
        memo->SetReadOnly(readOnly);
        memo->SetOptions(readOnly ? kDefaultArtMemoOptions : kDefaultArtMemoOptions.With(amoNoDragnDrop));
        Drag(5);
        EXPECT_EQ(State(), "a^bcde|f") << readOnly;
    }
}

TEST_F(InputTest, TheCursorTellsWhatAPressWouldDo) {
    memo->Keywords().AddKeyWord("link", 0, sfUnderline, 42, crHandPoint, -1, -1);
    memo->Keywords().AddKeyWord("plain", 0, sfBold, 43, crDefault, -1, -1);
    Load("ab^cd| link plain");
    memo->ReApplyKeywords();
    const auto shape = [&] { return memo->viewport()->cursor().shape(); };
    Hover(At(0, 0));
    EXPECT_EQ(shape(), Qt::IBeamCursor);
    Hover(At(3, 0));
    EXPECT_EQ(shape(), Qt::ArrowCursor) << "over the selection";
    Hover(QPoint(kMarginX, 3));
    EXPECT_EQ(shape(), Qt::BitmapCursor) << "line selection";
    EXPECT_FALSE(LineSelectCursor().pixmap().isNull());
    Hover(At(7, 0));
    EXPECT_EQ(shape(), Qt::PointingHandCursor) << "a highlighted run with a cursor";
    Hover(At(13, 0));
    EXPECT_EQ(shape(), Qt::IBeamCursor) << "a highlighted run without one";
    memo->SetReadOnly(true);
    Hover(At(3, 0));
    EXPECT_EQ(shape(), Qt::IBeamCursor) << "read-only text cannot be dragged";
}

TEST_F(InputTest, ClickingAHighlightedRunReportsItsContext) {
    memo->Keywords().AddKeyWord("link", 0, sfUnderline, 42, crHandPoint, -1, -1);
    std::vector<std::vector<int32_t>> contexts;
    memo->OnContext = [&](TArtMemo*, int32_t context, int32_t start, int32_t stop) {
        contexts.push_back({context, start, stop});
    };
    TRecordingSink sink;
    memo->EventSinks().Add(&sink);
    std::vector<QPoint> menus;
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(memo.get(), &QWidget::customContextMenuRequested,
                     [&](const QPoint& at) { menus.push_back(at); });
    Load("see link|\nx");
    memo->ReApplyKeywords();
    Click(At(5, 0));
    Press(At(6, 0), Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(menus.empty()) << "the menu waits for the release";
    Release(At(6, 0), Qt::NoModifier, Qt::RightButton);
    // A drag that ends on the run is a selection, not a click.
    Press(At(1, 0));
    MoveHeld(At(6, 0));
    Release(At(6, 0));
    Click(At(1, 0));
    EXPECT_EQ(contexts, (std::vector<std::vector<int32_t>>{{42, 4, 8}, {42, 4, 8}}));
    EXPECT_TRUE(sink.Saw(nc::ContextClick));
    EXPECT_TRUE(sink.Saw(nc::ContextRightClick));
    EXPECT_EQ(memo->ContextValue(), 42);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], memo->viewport()->pos() + At(6, 0));
    // The window system's own menu request at the press is not the control's.
    QContextMenuEvent request(QContextMenuEvent::Mouse, At(2, 0), memo->viewport()->mapToGlobal(At(2, 0)));
    QCoreApplication::sendEvent(memo->viewport(), &request);
    EXPECT_EQ(menus.size(), 1u);
    EXPECT_EQ(State(), "s|ee link\nx") << "the right button moves no caret";
}

TEST_F(InputTest, SelectingBelowTheWindowScrollsAndExtends) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\n";
    Load("|" + text);
    Press(At(1, 1));
    MoveHeld(QPoint(At(1, 0).x(), memo->height() + 20));
    EXPECT_EQ(memo->Scroller().AutoScrollState().Direction, asDown);
    EXPECT_GT(memo->TopOrigin(), 0) << "the first step comes at once";
    const int32_t caretLine = memo->Caret().DisplayLine();
    EXPECT_GE(caretLine, 10);
    EXPECT_TRUE(test::WaitUntil([&] { return memo->Caret().DisplayLine() > caretLine; }))
        << "the steps go on while the mouse stays below";
    Release(QPoint(At(1, 0).x(), memo->height() + 20));
    EXPECT_EQ(memo->Scroller().AutoScrollState().Direction, asNone);
    EXPECT_EQ(memo->SelLength(), 7 - memo->SelStart());
}

} // namespace
} // namespace zandor
