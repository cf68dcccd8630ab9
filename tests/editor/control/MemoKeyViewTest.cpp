// Keys that move the view: the page keys, the keys of a display-only control (which only scroll),
// wrapped lines, the menu key, and an error raised while a key is handled.
#include "InputTestSupport.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::InputTest;

// `count` lines of `width` characters each.
std::string Lines(int count, int width) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? "\n" : "") + std::string(static_cast<size_t>(width), 'x');
    return text;
}

struct TScrollRow {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Mods;
    int32_t TopBefore;
    int LeftBefore;
    int32_t TopAfter;
    int LeftAfter;
};

class DisplayOnlyKeys : public InputTest, public ::testing::WithParamInterface<TScrollRow> {};

// 30 lines of 100 characters (800 pixels) in a window of 400 x 170 pixels: 11 lines of 17 pixels
// counting the cut-off last one.
TEST_P(DisplayOnlyKeys, ScrollTheViewAndNothingElse) {
    const TScrollRow& row = GetParam();
    ASSERT_EQ(memo->LinePixels(), 17);
    memo->SetDisplayOnly(true);
    Load("|" + Lines(30, 100));
    memo->SetTopLine(row.TopBefore);
    memo->SetLeftOrigin(row.LeftBefore);
    const std::string before = memo->Text();
    Key(row.Key, row.Mods);
    EXPECT_EQ(memo->TopLine(), row.TopAfter);
    EXPECT_EQ(memo->LeftOrigin(), row.LeftAfter);
    EXPECT_EQ(memo->Text(), before);
    EXPECT_EQ(memo->SelStart(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    InputTest, DisplayOnlyKeys,
    ::testing::Values(
        TScrollRow{"PageDownGoesTenLines", Qt::Key_PageDown, Qt::NoModifier, 0, 0, 10, 0},
        TScrollRow{"PageDownStopsWhereTheLastLineShows", Qt::Key_PageDown, Qt::NoModifier, 15, 0, 20, 0},
        TScrollRow{"CtrlPageDownGoesToTheEnd", Qt::Key_PageDown, Qt::ControlModifier, 0, 0, 20, 0},
        TScrollRow{"PageUpGoesTenLines", Qt::Key_PageUp, Qt::NoModifier, 15, 0, 5, 0},
        TScrollRow{"PageUpStopsAtTheTop", Qt::Key_PageUp, Qt::NoModifier, 4, 0, 0, 0},
        TScrollRow{"CtrlPageUpGoesToTheTop", Qt::Key_PageUp, Qt::ControlModifier, 15, 0, 0, 0},
        TScrollRow{"DownScrollsOneLine", Qt::Key_Down, Qt::NoModifier, 3, 0, 4, 0},
        TScrollRow{"DownStopsAtTheEnd", Qt::Key_Down, Qt::NoModifier, 20, 0, 20, 0},
        TScrollRow{"UpScrollsOneLine", Qt::Key_Up, Qt::NoModifier, 3, 0, 2, 0},
        TScrollRow{"UpStopsAtTheTop", Qt::Key_Up, Qt::NoModifier, 0, 0, 0, 0},
        // A fifth of the width and one pixel: 400 / 5 + 1.
        TScrollRow{"RightScrollsAFifth", Qt::Key_Right, Qt::NoModifier, 0, 0, 0, 81},
        // The widest line and the right margin fill the window: 800 + 8 - 400.
        TScrollRow{"RightStopsAtTheWidestLine", Qt::Key_Right, Qt::NoModifier, 0, 350, 0, 408},
        TScrollRow{"LeftScrollsAFifth", Qt::Key_Left, Qt::NoModifier, 0, 200, 0, 119},
        TScrollRow{"LeftStopsAtTheMargin", Qt::Key_Left, Qt::NoModifier, 0, 50, 0, 0},
        TScrollRow{"EndShowsTheRightEnd", Qt::Key_End, Qt::NoModifier, 0, 0, 0, 408},
        TScrollRow{"HomeShowsTheLeftEnd", Qt::Key_Home, Qt::NoModifier, 0, 200, 0, 0}),
    [](const ::testing::TestParamInfo<TScrollRow>& info) { return std::string(info.param.Name); });

TEST_F(InputTest, DisplayOnlyIgnoresTypingAndTheMouse) {
    memo->SetDisplayOnly(true);
    Load("ab|cd");
    Key(Qt::Key_X);
    Key(Qt::Key_Delete);
    Key(Qt::Key_A, Qt::ControlModifier);
    Click(At(0, 0));
    DoubleClick(At(1, 0));
    EXPECT_EQ(State(), "ab|cd");
}

TEST_F(InputTest, PageKeysMoveCaretAndViewByAWindowLessOneLine) {
    const int lh = memo->LinePixels();
    Load("abc|def\n" + Lines(29, 6));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(memo->Caret().DisplayLine(), 10);
    EXPECT_EQ(memo->SelCol(), 3);
    EXPECT_EQ(memo->TopOrigin(), 10 * lh);
    Key(Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(memo->Caret().DisplayLine(), 20);
    EXPECT_EQ(memo->SelLength(), -10 * 8) << "ten lines of six characters and a break";
    Key(Qt::Key_PageUp);
    EXPECT_EQ(memo->Caret().DisplayLine(), 10);
    EXPECT_EQ(memo->TopOrigin(), 10 * lh);
    EXPECT_EQ(memo->SelLength(), 0);
    // With Ctrl the view is not turned a page first: it moves only as far as the caret needs.
    memo->SetTopOrigin(0);
    memo->SetSelStart(0);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(memo->Caret().DisplayLine(), 10);
    EXPECT_GT(memo->TopOrigin(), 0);
    EXPECT_LT(memo->TopOrigin(), 10 * lh);
    // The last page stops at the last line.
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(memo->Caret().DisplayLine(), 29);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(memo->Caret().DisplayLine(), 0);
}

TEST_F(InputTest, WrappedLinesKeepTheCaretOnTheLineItAimedAt) {
    memo->SetWordWrap(true);
    memo->SetOptions({amoWrapCaret});
    Load("|aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk\n" + std::string(47, 'x'));
    ASSERT_GT(memo->LineCount(), memo->ParagraphCount()) << "the first paragraph wraps";
    const std::string firstLine = memo->GetDisplayLine(0);
    Key(Qt::Key_End);
    EXPECT_EQ(memo->Caret().DisplayLine(), 0);
    EXPECT_EQ(memo->SelStart(), static_cast<int32_t>(firstLine.size()) - 1)
        << "before the blank it wrapped at";
    Key(Qt::Key_Home);
    Click(QPoint(memo->LeftMargin() + 8 * static_cast<int>(firstLine.size()) + 20, 3));
    EXPECT_EQ(memo->Caret().DisplayLine(), 0) << "a click right of the line is the line's end too";
    EXPECT_EQ(memo->SelStart(), static_cast<int32_t>(firstLine.size()) - 1);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(memo->Caret().DisplayLine(), 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(State(),
              "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk\n" + std::string(47, 'x') + "|");
}

// A word longer than the line breaks inside it, and the end of the upper line is the position the
// lower one starts at: aimed at that end, the caret stays on the upper line after its last
// character, and what is typed there follows that character.
TEST_F(InputTest, TheEndOfALineThatWrapsInsideAWordIsAfterItsLastCharacter) {
    memo->SetWordWrap(true);
    std::string word;
    for (int i = 0; i < 100; ++i)
        word += static_cast<char>('a' + i % 26);
    Load("|" + word); // 48 characters a line: 48, 48 and 4
    ASSERT_EQ(memo->GetDisplayLine(0), word.substr(0, 48));
    const int lineEndX = memo->LeftMargin() + 48 * 8;
    auto expectLineEnd = [&](int32_t line, const char* how) {
        EXPECT_EQ(memo->SelStart(), 48 * (line + 1)) << how;
        EXPECT_EQ(memo->SelLine(), line) << how;
        EXPECT_EQ(memo->SelCol(), 48) << how;
        EXPECT_EQ(memo->Caret().GetXY().X, lineEndX) << how;
    };
    Key(Qt::Key_End);
    expectLineEnd(0, "End");
    Key(Qt::Key_Down);
    expectLineEnd(1, "Down from a line end");
    Key(Qt::Key_Up);
    expectLineEnd(0, "Up from a line end");
    Key(Qt::Key_Home);
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), word.substr(0, 48)) << "Shift+End takes the whole line";
    Key(Qt::Key_End);
    expectLineEnd(0, "End where Shift+End left the caret");
    Click(QPoint(lineEndX + 4, memo->LinePixels() + 3));
    expectLineEnd(1, "a click right of the line");
    Key(Qt::Key_Z);
    EXPECT_EQ(memo->Text(), word.substr(0, 96) + "z" + word.substr(96));
}

TEST_F(InputTest, TheMenuKeyOpensTheMenuAtTheCaret) {
    std::vector<QPoint> requests;
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(memo.get(), &QWidget::customContextMenuRequested,
                     [&](const QPoint& at) { requests.push_back(at); });
    Load("ab\nab|c");
    Key(Qt::Key_Menu);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], memo->viewport()->pos() + QPoint(memo->LeftMargin() + 2 * 8, memo->LinePixels()));
    EXPECT_EQ(State(), "ab\nab|c") << "the key types nothing";
}

TEST_F(InputTest, AnErrorWhileAKeyIsHandledIsShownAndTheControlGoesOn) {
    std::vector<std::string> shown;
    const TArtMemo::TErrorDisplay saved = TArtMemo::ErrorDisplay;
    TArtMemo::ErrorDisplay = [&](TArtMemo*, const std::string& message) { shown.push_back(message); };
    Load("ab\ncd|");
    // A paragraph that claims to start one character late: the self-check of Ctrl+E finds it.
    memo->Core().Paragraphs().Par(1).Start += 1;
    Key(Qt::Key_E, Qt::ControlModifier);
    memo->Core().Paragraphs().Par(1).Start -= 1;
    TArtMemo::ErrorDisplay = saved;
    EXPECT_EQ(shown, (std::vector<std::string>{std::string("Error 2 in ") + TArtMemo::VersionLabel()}));
    Key(Qt::Key_X);
    EXPECT_EQ(State(), "ab\ncdx|");
}

} // namespace
} // namespace zandor
