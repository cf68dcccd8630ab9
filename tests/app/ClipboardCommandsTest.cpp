// The main window's Cut, Copy, Paste and Select All on the desktop's clipboard: trimming, blocks,
// the buttons, the automatic copy of a selection, and items that follow the selection and the
// clipboard.
#include "app/ClipboardCommands.h"
#include "WindowFixture.h"
#include "editor/control/MemoClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

namespace zandor::test {
namespace {

class ClipboardCommands : public WindowFixture {
protected:
    void TearDown() override { desktop->clear(); }
    QClipboard* desktop = QGuiApplication::clipboard();
};

TEST_F(ClipboardCommands, CopyTrimsWhenAskedWhileCutAndBlocksKeepTheirText) {
    auto w = Create();
    TArtMemo& m = *w->m;
    m.SetSelText("  abc  \r\nrest");
    ASSERT_TRUE(w->Settings.Trim) << "on by default";
    m.Editor().Select(0, 9);
    w->Menu.Copy1->trigger();
    EXPECT_EQ(desktop->text(), QStringLiteral("abc"));
    w->buttoncut->click();
    EXPECT_EQ(desktop->text(), QStringLiteral("  abc  \n"));
    EXPECT_EQ(m.Text(), "rest");

    w->Settings.Trim = false;
    m.SelectAll();
    w->Menu.Copy2->trigger();
    EXPECT_EQ(desktop->text(), QStringLiteral("rest"));

    w->Settings.Trim = true;
    m.SetWordWrap(false);
    m.SetTextBuf(" ab \r\n cd ");
    m.SelectBlock(0, 0, 1, 2);
    w->buttoncopy->click();
    EXPECT_EQ(desktop->text(), QStringLiteral(" a\n c\n")) << "a block is copied as a block";
    EXPECT_TRUE(desktop->mimeData()->hasFormat(TMemoClipboard::BlockTypeFormat));
    EXPECT_EQ(TrimmedText("\x01\t x \r\n\x7F "), "x \r\n\x7F");
}

TEST_F(ClipboardCommands, ItemsFollowTheSelectionAndTheClipboardAndPasteAndSelectAllAct) {
    auto w = Create(dir.write("art.nfo", ""));
    TArtMemo& m = *w->m;
    EXPECT_EQ(m.PopupMenu(), w->Menu.PopupMenu1) << "the window's context menu is the editor's";
    desktop->clear();
    emit w->Menu.Edit1->aboutToShow();
    for (QAction* item : {w->Menu.Cut1, w->Menu.Copy1, w->Menu.Paste1})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_TRUE(w->Menu.SelectAll1->isEnabled());

    m.SetSelText("hello");
    m.SelectAll();
    EXPECT_TRUE(w->Menu.Copy1->isEnabled()) << "without the menu being opened";
    EXPECT_TRUE(w->Menu.Cut1->isEnabled());
    desktop->setText(QStringLiteral("\u2588 world"));
    EXPECT_TRUE(w->Menu.Paste1->isEnabled());
    EXPECT_TRUE(w->Menu.Paste2->isEnabled());

    m.SetSelStart(5);
    EXPECT_FALSE(w->Menu.Copy1->isEnabled());
    w->buttonpaste->click();
    EXPECT_EQ(m.Text(), "hello\xDB world") << "read through the art font's character set";
    w->Menu.SelectAll2->trigger();
    EXPECT_EQ(m.SelLength(), -m.CharCount());

    w->Settings.SelectCopy = true;
    m.Editor().Select(0, 5);
    w->mMouseUp();
    EXPECT_EQ(desktop->text(), QStringLiteral("hello"));
}

} // namespace
} // namespace zandor::test
