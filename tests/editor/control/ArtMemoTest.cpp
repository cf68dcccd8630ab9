#include "editor/control/ArtMemo.h"
#include "ClipboardTestSupport.h"
#include "MemoTestSupport.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <QScrollBar>
#include <functional>

namespace zandor {
namespace {

using test::LoadText;
using test::TRecordingSink;

TEST(ArtMemo, NewControlHoldsOneEmptyParagraphWithOneLine) {
    TArtMemo memo;
    EXPECT_EQ(memo.CharCount(), 0);
    EXPECT_EQ(memo.ParagraphCount(), 1);
    EXPECT_EQ(memo.LineCount(), 1);
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(memo.Text(), "");
    EXPECT_EQ(memo.Options(), kDefaultArtMemoOptions);
    EXPECT_EQ(memo.Separators(), std::string("\t\n\r $%&,./:;<=>"));
    EXPECT_EQ(memo.UpdateMode(), umBackground);
    EXPECT_EQ(memo.width(), 100);
    EXPECT_EQ(memo.height(), 60);
}

TEST(ArtMemo, OptionSetHasItsTwentyThreeMembersInDeclarationOrder) {
    EXPECT_EQ(kDefaultArtMemoOptions.Bits(), (1u << amoPutExtraSpaces) | (1u << amoWrapCaret) |
                                                 (1u << amoInsertKeyActive) | (1u << amoWideOverwriteCaret) |
                                                 (1u << amoAutoScrollBars));
    EXPECT_EQ(static_cast<int>(amoKeepParBackgnd), 22);
    // Bits beyond the three stored bytes' 23 members are not members.
    EXPECT_EQ(TArtMemoOptions::FromBits(0xFFFFFFFFu).Bits(), (1u << 23) - 1);
    EXPECT_TRUE(kDefaultArtMemoOptions.With(amoSmartTabs).Has(amoSmartTabs));
    EXPECT_FALSE(kDefaultArtMemoOptions.Without(amoWrapCaret).Has(amoWrapCaret));
}

TEST(ArtMemo, SelectAllCountsEachBreakAsTwoCharacters) {
    TArtMemo memo;
    LoadText(memo, "ab\nc");
    memo.SelectAll();
    EXPECT_EQ(memo.SelStart(), 5);
    EXPECT_EQ(memo.SelLength(), -5);
    EXPECT_EQ(memo.SelText(), "ab\r\nc");
}

struct SelLengthRow {
    int32_t Caret;
    int32_t Length;
    int32_t ExpectedLength;
};

class SelLengthClamp : public ::testing::TestWithParam<SelLengthRow> {};

TEST_P(SelLengthClamp, AnchorIsClampedToTheTextAndTheCaretStays) {
    const SelLengthRow row = GetParam();
    TArtMemo memo;
    LoadText(memo, "hello\nworld"); // 12 characters
    memo.SetSelStart(row.Caret);
    memo.SetSelLength(row.Length);
    EXPECT_EQ(memo.SelStart(), row.Caret);
    EXPECT_EQ(memo.SelLength(), row.ExpectedLength);
    const int32_t lower = std::min(row.Caret, row.Caret + row.ExpectedLength);
    EXPECT_EQ(memo.SelText(), memo.GetTextPart(lower, lower + std::abs(row.ExpectedLength)));
}

INSTANTIATE_TEST_SUITE_P(Anchor, SelLengthClamp,
                         ::testing::Values(SelLengthRow{3, -10, -3}, SelLengthRow{3, 100, 9},
                                           SelLengthRow{12, 1, 0}, SelLengthRow{0, -1, 0},
                                           SelLengthRow{5, 4, 4}, SelLengthRow{7, -7, -7}));

TEST(ArtMemo, SelStartClampsCollapsesAndClearsTheSelection) {
    TArtMemo memo;
    LoadText(memo, "abc");
    memo.SetSelStart(1);
    memo.SetSelLength(2);
    memo.SetSelStart(-4);
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_EQ(memo.SelLength(), 0);
    memo.SetSelStart(99);
    EXPECT_EQ(memo.SelStart(), 3);
}

TEST(ArtMemo, LineHeightIsCappedAndZeroOrNegativeMeansAutomatic) {
    TArtMemo memo;
    memo.show();
    const int automatic = memo.LinePixels();
    memo.SetLineHeight(100000);
    EXPECT_EQ(memo.LineHeight(), 65535);
    EXPECT_EQ(memo.LinePixels(), 65535);
    memo.SetLineHeight(0);
    EXPECT_EQ(memo.LineHeight(), 0);
    EXPECT_EQ(memo.LinePixels(), automatic);
    memo.SetLineHeight(20);
    memo.SetLineHeight(-3);
    EXPECT_EQ(memo.LineHeight(), 0);
    EXPECT_EQ(memo.LinePixels(), automatic);
}

TEST(ArtMemo, LineHeightChangeKeepsTheTopLineAndReportsAVerticalScroll) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line\n";
    LoadText(memo, text);
    memo.show();
    memo.SetLineHeight(10);
    memo.SetScrollTime(0);
    memo.SetTopOrigin(10 * 30 + 4); // line 30, four pixels into it
    int vscrolls = 0;
    memo.OnVScroll = [&](TArtMemo*) { ++vscrolls; };
    memo.SetLineHeight(20);
    EXPECT_EQ(memo.TopOrigin(), 20 * 30 + 4);
    EXPECT_EQ(vscrolls, 1);
    memo.SetLineHeight(20);
    EXPECT_EQ(vscrolls, 1) << "no change, no event";
}

TEST(ArtMemo, CaretWidthZeroIsOnePixelPerFourteenOfLineHeightPlusOne) {
    TArtMemo memo;
    memo.show();
    QApplication::setActiveWindow(&memo);
    memo.setFocus();
    ASSERT_TRUE(test::DriveUntil([&] { return memo.hasFocus(); }, 1000));
    memo.SetLineHeight(30);
    EXPECT_EQ(memo.CaretRect().height(), 30);
    memo.SetCaretWidth(0);
    EXPECT_EQ(memo.CaretRect().width(), 30 / 14 + 1);
    EXPECT_EQ(memo.CaretRect().height(), 29) << "re-created while focused: one pixel short";
    memo.SetCaretWidth(4);
    EXPECT_EQ(memo.CaretRect().width(), 4);
    memo.SetDisplayOnly(true);
    EXPECT_TRUE(memo.CaretRect().isEmpty()) << "a display-only control has no caret";
}

TEST(ArtMemo, StaticFormatOnAnEmptyControlReloadsNothing) {
    TArtMemo memo;
    TRecordingSink sink;
    memo.EventSinks().Add(&sink);
    int changes = 0;
    memo.OnChange = [&](TArtMemo*) { ++changes; };
    memo.SetStaticFormat(true);
    EXPECT_TRUE(memo.StaticFormat());
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(sink.Saw(nc::AfterLoad));
}

TEST(ArtMemo, StaticFormatOnATextReloadsItThroughAStream) {
    TArtMemo memo;
    LoadText(memo, "a\x02"
                   "b\x02"
                   "c\nd");
    TRecordingSink sink;
    memo.EventSinks().Add(&sink);
    memo.SetStaticFormat(true);
    EXPECT_TRUE(sink.Saw(nc::AfterLoad));
    EXPECT_EQ(memo.Text(), "a\x02"
                           "b\x02"
                           "c\r\nd");
    EXPECT_EQ(memo.ParagraphCount(), 2);
}

TEST(ArtMemo, DiscardTrailingSpacesDropsTheBlanksAlreadyInTheText) {
    TArtMemo memo;
    LoadText(memo, "ab  \ncd \t\ne");
    memo.SetOptions(memo.Options().With(amoDiscardTrailingSpaces));
    EXPECT_EQ(memo.GetParagraph(0), "ab");
    EXPECT_EQ(memo.GetParagraph(2), "e");
    // Switching it off again changes nothing in the text.
    memo.SetOptions(memo.Options().Without(amoDiscardTrailingSpaces));
    EXPECT_EQ(memo.ParagraphCount(), 3);
}

TEST(ArtMemo, AutoLineBreakTakesOverTheBreakOfTheLoadedText) {
    TArtMemo memo;
    LoadText(memo, "a\nb");
    EXPECT_EQ(memo.LineBreak(), pbCRLF) << "without the option the setting stays";
    memo.SetOptions(memo.Options().With(amoAutoLineBreak));
    LoadText(memo, "a\nb");
    EXPECT_EQ(memo.LineBreak(), pbLF);
    TMemoryStream out;
    memo.SaveToStream(out);
    EXPECT_EQ(out.Text(), "a\nb");
}

TEST(ArtMemo, NullReplacementStandsInForNulBytesWhenLoading) {
    TArtMemo memo;
    memo.SetNullReplacement('.');
    LoadText(memo, std::string("a\0b", 3));
    EXPECT_EQ(memo.Text(), "a.b");
}

TEST(ArtMemo, SeparatorsReadBackInAscendingCodeOrder) {
    TArtMemo memo;
    memo.SetSeparators("z- a");
    EXPECT_EQ(memo.Separators(), " -az");
}

TEST(ArtMemo, EditActionsFollowReadOnlyDisplayOnlyTheSelectionAndTheUndoList) {
    TArtMemo memo;
    IamEditActions& actions = memo;
    EXPECT_FALSE(actions.CanSelectAll()) << "nothing to select";
    LoadText(memo, "abc");
    EXPECT_TRUE(actions.CanSelectAll());
    EXPECT_FALSE(actions.CanDelete());
    actions.SelectAll();
    EXPECT_TRUE(actions.CanDelete());
    test::TFakeClipboard clipboard;
    memo.SetClipboard(&clipboard);
    EXPECT_TRUE(actions.CanCut());
    EXPECT_TRUE(actions.CanCopy());
    EXPECT_FALSE(actions.CanPaste()) << "nothing on the clipboard";
    clipboard.HoldForeignText(u"x");
    EXPECT_TRUE(actions.CanPaste());
    memo.SetReadOnly(true);
    EXPECT_FALSE(actions.CanDelete());
    EXPECT_FALSE(actions.CanCut());
    EXPECT_FALSE(actions.CanPaste());
    EXPECT_TRUE(actions.CanCopy());
    memo.SetDisplayOnly(true);
    EXPECT_FALSE(actions.CanSelectAll());
    EXPECT_FALSE(actions.CanCopy());
    memo.SetReadOnly(false);
    memo.SetDisplayOnly(false);
    EXPECT_FALSE(actions.CanUndo());
    actions.ClearSelection();
    EXPECT_EQ(memo.Text(), "");
    EXPECT_TRUE(actions.CanUndo());
    EXPECT_FALSE(actions.CanRedo());
    actions.Undo();
    EXPECT_EQ(memo.Text(), "abc");
    EXPECT_TRUE(actions.CanRedo());
    actions.Redo();
    EXPECT_EQ(memo.Text(), "");
}

TEST(ArtMemo, FontChangeResetsTheViewAndTellsTheSinks) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "some line of text\n";
    LoadText(memo, text);
    memo.show();
    memo.SetScrollTime(0);
    memo.SetTopOrigin(5 * memo.LinePixels());
    ASSERT_GT(memo.TopOrigin(), 0);
    TRecordingSink sink;
    memo.EventSinks().Add(&sink);
    int vscrolls = 0;
    memo.OnVScroll = [&](TArtMemo*) { ++vscrolls; };
    platform::FontValue font = memo.Font();
    font.Height = 40;
    memo.SetFont(font);
    EXPECT_EQ(memo.TopOrigin(), 0);
    EXPECT_EQ(memo.LeftOrigin(), 0);
    EXPECT_EQ(memo.TopLine(), 0);
    EXPECT_EQ(vscrolls, 1);
    EXPECT_TRUE(sink.Saw(nc::FontChanged));
    EXPECT_GE(memo.LinePixels(), 40);
}

TEST(ArtMemo, RenderCanvasLaysTheTextOutAtTheRenderWidthUntilItIsCleared) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetLeftMargin(0);
    memo.SetRightMargin(0);
    LoadText(memo, std::string(400, 'x'));
    QImage page(2000, 200, QImage::Format_RGB32);
    QPainter painter(&page);
    platform::TCanvas canvas(painter);
    const int narrow = 20 * memo.AvgCharWidth();
    memo.SetRenderCanvas(&canvas, narrow);
    EXPECT_EQ(memo.RenderCanvas(), &canvas);
    EXPECT_EQ(memo.RenderWidth(), narrow);
    EXPECT_EQ(memo.Core().ForeignWidth(), narrow);
    ASSERT_NE(memo.Core().ForeignMeasurer(), nullptr);
    EXPECT_GE(memo.LineCount(), 400 / 21) << "wrapped at the render width";
    memo.SetRenderCanvas(nullptr, 0);
    EXPECT_EQ(memo.RenderCanvas(), nullptr);
    EXPECT_EQ(memo.Core().ForeignMeasurer(), nullptr);
}

struct LayoutRow {
    const char* Name;
    std::function<void(TArtMemo&)> Change;
};

class LayoutProperty : public ::testing::TestWithParam<LayoutRow> {};

// Each of these narrows the wrap width enough to add lines to a text laid out in a 300-pixel window.
TEST_P(LayoutProperty, ChangeLaysTheTextOutAgainWhileWrapping) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.resize(300, 200);
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "aaaa bbbb\tcccc dddd eeee ffff gggg hhhh iiii jjjj\n";
    LoadText(memo, text);
    memo.show();
    const int32_t before = memo.LineCount();
    GetParam().Change(memo);
    EXPECT_GT(memo.LineCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, LayoutProperty,
                         ::testing::Values(LayoutRow{"LeftMargin", [](TArtMemo& m) { m.SetLeftMargin(150); }},
                                           LayoutRow{"RightMargin",
                                                     [](TArtMemo& m) { m.SetRightMargin(150); }},
                                           LayoutRow{"TabStops", [](TArtMemo& m) { m.SetTabStops(-200); }},
                                           LayoutRow{"ColumnWrap", [](TArtMemo& m) { m.SetColumnWrap(12); }},
                                           LayoutRow{"Width",
                                                     [](TArtMemo& m) {
                                                         m.resize(120, 200);
                                                         QCoreApplication::processEvents();
                                                     }}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ArtMemo, WithoutWordWrapMarginsKeepOneLinePerParagraphButAlignmentWraps) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    memo.resize(200, 200);
    LoadText(memo, std::string(300, 'w') + "\n" + std::string(300, 'w'));
    memo.show();
    EXPECT_EQ(memo.LineCount(), 2);
    memo.SetLeftMargin(100);
    EXPECT_EQ(memo.LineCount(), 2);
    memo.SetScrollTime(0);
    memo.SetLeftOrigin(50);
    // Centred text always wraps at the text area, and the view goes back to the left edge.
    memo.SetAlignment(taCenter);
    EXPECT_GT(memo.LineCount(), 2);
    EXPECT_EQ(memo.LeftOrigin(), 0);
    memo.SetAlignment(taLeftJustify);
    EXPECT_EQ(memo.LineCount(), 2);
}

TEST(ArtMemo, WithoutAutomaticScrollBarsTheVerticalBarStaysWhenTheTextFits) {
    QWidget window;
    auto* memo = new TArtMemo(&window);
    memo->SetUpdateMode(umImmediate);
    memo->resize(200, 120);
    LoadText(*memo, "short");
    window.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(memo->Options().Has(amoAutoScrollBars));
    EXPECT_FALSE(memo->verticalScrollBar()->isVisible());

    memo->SetOptions(memo->Options().Without(amoAutoScrollBars));
    QCoreApplication::processEvents();
    EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
    // The text area gave the bar its room.
    EXPECT_EQ(memo->TextAreaWidth(), memo->viewport()->width());
    EXPECT_LT(memo->TextAreaWidth(), 200 - memo->verticalScrollBar()->width() + 1);

    memo->SetOptions(memo->Options().With(amoAutoScrollBars));
    QCoreApplication::processEvents();
    EXPECT_FALSE(memo->verticalScrollBar()->isVisible());
}

TEST(ArtMemo, FromCoreFindsTheWidgetOfACoreWhileItLives) {
    auto memo = std::make_unique<TArtMemo>();
    const TArtMemoCore* core = &memo->Core();
    const int before = TArtMemo::InstanceCount();
    EXPECT_EQ(TArtMemo::FromCore(core), memo.get());
    memo.reset();
    EXPECT_EQ(TArtMemo::InstanceCount(), before - 1);
    EXPECT_EQ(TArtMemo::FromCore(core), nullptr);
}

} // namespace
} // namespace zandor
