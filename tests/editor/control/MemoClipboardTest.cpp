// Copy, cut and paste through the clipboard: blocks with their marker, format codes, text from other
// programs read through the font's character set, the desktop's own clipboard, and the built-in
// context menu.
#include "editor/control/MemoClipboard.h"
#include "ClipboardTestSupport.h"
#include "MemoTestSupport.h"
#include "editor/control/MemoContextMenu.h"
#include "editor/control/MemoMessages.h"
#include "platform/CodePages.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <vector>

namespace zandor::test {
namespace {

class MemoClipboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RegisterTestFonts()) << ScreenFontsFolder(); }
    TFakeClipboard clipboard;
};

TEST_F(MemoClipboard, WithoutASelectionCopyAndCutTouchNeitherTheClipboardNorTheText) {
    auto memo = ClipboardMemo(&clipboard);
    LoadText(*memo, "abc");
    clipboard.HoldForeignText(u"kept");
    memo->SetSelStart(3);
    memo->Editor().SetPendingBlanks("  ");
    memo->CopyToClipboard();
    memo->CutToClipboard();
    EXPECT_EQ(clipboard.Puts, 0);
    EXPECT_EQ(clipboard.Text(), u"kept");
    EXPECT_EQ(memo->Text(), "abc") << "the pending blanks were not put in";
}

TEST_F(MemoClipboard, ABlockOfTwoRowsPastesAsABlockOnlyWhereBlocksAreOn) {
    auto source = ClipboardMemo(&clipboard);
    LoadText(*source, "xabx\r\nxcdx");
    source->SelectBlock(1, 0, 1, 3);
    source->CopyToClipboard();
    EXPECT_EQ(clipboard.Text(), u"ab\r\ncd\r\n");
    EXPECT_EQ(clipboard.Data(TMemoClipboard::BlockTypeFormat), std::string("\x02"));
    EXPECT_EQ(clipboard.Data(TMemoClipboard::BytesFormat), "ab\r\ncd\r\n");

    auto blocks = ClipboardMemo(&clipboard);
    blocks->SetOptions(blocks->Options().With(amoBlockSelection));
    LoadText(*blocks, "0123\r\n4567\r\n89");
    blocks->SetSelStart(2);
    blocks->PasteFromClipboard();
    EXPECT_EQ(blocks->Text(), "01ab23\r\n45cd67\r\n89");
    blocks->Undo();
    EXPECT_EQ(blocks->Text(), "0123\r\n4567\r\n89") << "the whole block is one undo step";

    auto plain = ClipboardMemo(&clipboard);
    LoadText(*plain, "0123\r\n4567");
    plain->SetSelStart(2);
    plain->PasteFromClipboard();
    EXPECT_EQ(plain->Text(), "01ab\r\ncd\r\n23\r\n4567");
}

struct CodesRow {
    bool StaticFormat;
    bool PlainClipboard;
    bool Block;
    const char* Copied;
};

class CopiedCodes : public MemoClipboard, public ::testing::WithParamInterface<CodesRow> {};

TEST_P(CopiedCodes, AreStrippedOnlyFromAPlainCopyWhereTheyAreFormatting) {
    const CodesRow row = GetParam();
    auto memo = ClipboardMemo(&clipboard);
    memo->SetStaticFormat(row.StaticFormat);
    memo->SetOptions(row.PlainClipboard ? memo->Options().With(amoPlainClipboard)
                                        : memo->Options().Without(amoPlainClipboard));
    LoadText(*memo, "a\x02"
                    "b\x02"
                    "c");
    if (row.Block)
        memo->SelectBlock(0, 0, 0, 3);
    else
        memo->SelectAll();
    memo->CopyToClipboard();
    EXPECT_EQ(clipboard.Data(TMemoClipboard::BytesFormat), row.Copied);
    EXPECT_EQ(clipboard.Text(), platform::TextToUnicode(row.Copied, platform::OemCharset));
}

INSTANTIATE_TEST_SUITE_P(Rows, CopiedCodes,
                         ::testing::Values(CodesRow{true, true, false, "abc"},
                                           CodesRow{true, false, false,
                                                    "a\x02"
                                                    "b\x02"
                                                    "c"},
                                           CodesRow{false, true, false,
                                                    "a\x02"
                                                    "b\x02"
                                                    "c"},
                                           CodesRow{true, true, true,
                                                    "a\x02"
                                                    "b\x02"
                                                    "c\r\n"}));

TEST_F(MemoClipboard, CutByMessageIsOneUndoStepAndPasteReplacesTheSelection) {
    auto memo = ClipboardMemo(&clipboard);
    LoadText(*memo, "hello world");
    memo->Editor().Select(0, 6);
    EXPECT_TRUE(memo->Perform(wm::CUT));
    EXPECT_EQ(memo->Text(), "world");
    EXPECT_EQ(clipboard.Text(), u"hello ");
    memo->Editor().Select(5, 0);
    EXPECT_TRUE(memo->Perform(wm::PASTE));
    EXPECT_EQ(memo->Text(), "hello ");
    memo->Undo();
    EXPECT_EQ(memo->Text(), "world");
    memo->Undo();
    EXPECT_EQ(memo->Text(), "hello world");
}

TEST_F(MemoClipboard, TextOfOtherProgramsIsReadThroughTheFontsCharacterSet) {
    clipboard.HoldForeignText(u"\u2554\u2550\u2588 \u00FC\u20AC\r\nx");
    auto oem = ClipboardMemo(&clipboard);
    oem->PasteFromClipboard();
    EXPECT_EQ(oem->Text(), "\xC9\xCD\xDB \x81?\r\nx");
    auto ansi = ClipboardMemo(&clipboard, false);
    ansi->PasteFromClipboard();
    EXPECT_EQ(ansi->Text(), "??? \xFC\x80\r\nx");
}

// The desktop's clipboard as other programs see it: the art as Unicode with the desktop's breaks,
// and back in as the bytes it was; between two controls the bytes travel exactly.
TEST_F(MemoClipboard, TheDesktopClipboardCarriesArtAsUnicodeAndBringsItBackAsItsBytes) {
    QClipboard* desktop = QGuiApplication::clipboard();
    const std::string art = "\xC9\xCD\xCD\xBB\r\n\xBA\xDB\xB1\xBA\r\n\xC8\xCD\xCD\xBC";
    auto source = ClipboardMemo(nullptr);
    LoadText(*source, art);
    source->SelectAll();
    source->CopyToClipboard();
    const QString text = desktop->text();
    EXPECT_EQ(text, QString::fromUtf16(
                        u"\u2554\u2550\u2550\u2557\n\u2551\u2588\u2592\u2551\n\u255A\u2550\u2550\u255D"));
    EXPECT_TRUE(text.contains(QChar(0x2588)));

    desktop->setText(text); // as another program would offer it: Unicode text alone
    auto target = ClipboardMemo(nullptr);
    ASSERT_TRUE(target->ClipboardHasText());
    target->PasteFromClipboard();
    EXPECT_EQ(target->Text(), art);

    // A control in an ANSI font copies bytes that the OEM control pastes unchanged.
    auto ansi = ClipboardMemo(nullptr, false);
    LoadText(*ansi, "\xDB\x81\x8D x");
    ansi->SelectAll();
    ansi->CopyToClipboard();
    EXPECT_EQ(desktop->text(), QString::fromUtf16(u"\u00DB\u0081\u008D x"));
    auto oem = ClipboardMemo(nullptr);
    oem->PasteFromClipboard();
    EXPECT_EQ(oem->Text(), "\xDB\x81\x8D x");

    source->SelectBlock(1, 0, 1, 3);
    source->CopyToClipboard();
    EXPECT_EQ(desktop->mimeData()->data(TMemoClipboard::BlockTypeFormat), QByteArray("\x02"));
    EXPECT_EQ(desktop->text(), QString::fromUtf16(u"\u2550\u2550\n\u2588\u2592\n"));
    desktop->clear();
}

// ---- the built-in context menu ------------------------------------------------------------------

QAction* Item(QMenu* menu, int tag) {
    for (QAction* action : menu->actions())
        if (TMemoContextMenu::ItemTag(action) == tag)
            return action;
    return nullptr;
}

class ContextMenu : public MemoClipboard, public ::testing::WithParamInterface<bool> {};

TEST_P(ContextMenu, OnAReadOnlyControlOffersOnlyCopyWithASelectionAndSelectAll) {
    const bool selection = GetParam();
    auto memo = ClipboardMemo(&clipboard);
    LoadText(*memo, "some text");
    memo->SetSelText("x");
    memo->SetReadOnly(true);
    clipboard.HoldForeignText(u"waiting");
    if (selection)
        memo->Editor().Select(0, 4);
    QMenu* told = nullptr;
    memo->OnInternalPopup = [&](QMenu* sender) { told = sender; };
    memo->ShowContextMenu(QPoint(10, 10));
    QMenu* menu = memo->ContextMenu().BuiltInMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(told, menu);
    EXPECT_TRUE(Item(menu, TMemoContextMenu::tagUndo)->isEnabled()) << "an edit by the program stands";
    EXPECT_FALSE(Item(menu, TMemoContextMenu::tagRedo)->isEnabled());
    EXPECT_FALSE(Item(menu, TMemoContextMenu::tagCut)->isEnabled());
    EXPECT_EQ(Item(menu, TMemoContextMenu::tagCopy)->isEnabled(), selection);
    EXPECT_FALSE(Item(menu, TMemoContextMenu::tagPaste)->isEnabled());
    EXPECT_TRUE(Item(menu, TMemoContextMenu::tagSelectAll)->isEnabled());
    menu->close();
}

INSTANTIATE_TEST_SUITE_P(Selection, ContextMenu, ::testing::Bool());

TEST_F(MemoClipboard, TheRightButtonsReleaseAndTheMenuKeyOpenTheBuiltInMenu) {
    auto memo = ClipboardMemo(&clipboard);
    LoadText(*memo, "some text");
    memo->Editor().Select(0, 4);
    QWidget* viewport = memo->viewport();
    const QPoint at(20, 5);
    const auto mouse = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent e(type, at, viewport->mapToGlobal(at), Qt::RightButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &e);
    };
    mouse(QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(memo->ContextMenu().BuiltInMenu(), nullptr) << "the menu waits for the release";
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    QMenu* menu = memo->ContextMenu().BuiltInMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(Item(menu, TMemoContextMenu::tagCopy)->isEnabled());
    menu->close();

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
    QCoreApplication::sendEvent(memo.get(), &key);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    EXPECT_EQ(memo->Text(), "some text");
}

TEST_F(MemoClipboard, TheBuiltInMenuActsAndGivesWayToTheApplicationsMenu) {
    auto memo = ClipboardMemo(&clipboard);
    LoadText(*memo, "abc");
    clipboard.HoldForeignText(u"XY");
    memo->ShowContextMenu(QPoint(5, 5));
    QMenu* menu = memo->ContextMenu().BuiltInMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Item(menu, TMemoContextMenu::tagPaste)->isEnabled());
    EXPECT_FALSE(Item(menu, TMemoContextMenu::tagCut)->isEnabled());
    Item(menu, TMemoContextMenu::tagSelectAll)->trigger();
    Item(menu, TMemoContextMenu::tagPaste)->trigger();
    EXPECT_EQ(memo->Text(), "XY");
    menu->close();

    auto own = std::make_unique<QMenu>();
    memo->SetPopupMenu(own.get());
    memo->ShowContextMenu(QPoint(5, 5));
    EXPECT_TRUE(own->isVisible());
    EXPECT_FALSE(menu->isVisible());
    own->close();
    own.reset();
    EXPECT_EQ(memo->PopupMenu(), nullptr) << "a destroyed menu is forgotten";

    std::vector<QPoint> asked;
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(memo.get(), &QWidget::customContextMenuRequested,
                     [&](const QPoint& at) { asked.push_back(at); });
    memo->ShowContextMenu(memo->mapToGlobal(QPoint(7, 9)));
    EXPECT_EQ(asked, std::vector<QPoint>{QPoint(7, 9)}) << "the application builds its own menu";
    EXPECT_FALSE(menu->isVisible());
    memo->setContextMenuPolicy(Qt::DefaultContextMenu);

    memo->SetOptions(memo->Options().With(amoNoDefaultPopup));
    memo->ShowContextMenu(QPoint(5, 5));
    EXPECT_FALSE(menu->isVisible());
}

} // namespace
} // namespace zandor::test
