// The editor inside the main window: keys reach it when no menu item takes them, typing marks the
// document, the keys of commands still to come do nothing, and Escape puts dragged text down
// before it closes the window.
#include "WindowFixture.h"

#include "editor/control/ArtMemo.h"
#include "printing/PrintCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPrintDialog>

// The GUI library's entry for simulated typing: the key goes through the shortcut map as a key from
// the window system would, before any widget sees it. True when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

using namespace zandor;
using zandor::test::WindowFixture;

// A key goes to the window's items first (as the window system delivers it) and, when no item takes
// it, to the editor.
namespace {

bool Deliver(TArtMemo& m, int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    if (qt_sendShortcutOverrideEvent(&m, 0, key, mods, text))
        return true;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&m, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(&m, &release);
    return false;
}

} // namespace

TEST_F(WindowFixture, TypingInTheEditorEditsAndMarksTheDocument) {
    auto w = Create(dir.write("doc.txt", "text"), true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    TArtMemo& m = *w->m;
    m.setFocus();
    EXPECT_FALSE(w->windowTitle().endsWith(" *"));
    EXPECT_FALSE(Deliver(m, Qt::Key_End, Qt::ControlModifier));
    EXPECT_FALSE(Deliver(m, Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!")));
    EXPECT_FALSE(Deliver(m, Qt::Key_Left, Qt::ShiftModifier));
    EXPECT_EQ("text!", m.Text());
    EXPECT_EQ(1, m.SelLength()) << "the anchor after the caret";
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    EXPECT_EQ("1,5", w->lbPosition->text().toStdString()) << "the status shows where the caret went";
    // The editor's own undo answers Ctrl+Z through the Edit menu's item, once.
    EXPECT_TRUE(Deliver(m, Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ("text", m.Text());
}

TEST_F(WindowFixture, KeysOfCommandsStillToComeDoNothingInTheEditor) {
    auto w = Create(dir.write("doc.txt", "text"), true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    TArtMemo& m = *w->m;
    m.setFocus();
    m.SetSelStart(2);
    // Print, and the Format keys while there is nothing selected to rewrite: the editor would type
    // a page break and take the others for keys of its own. Print is the menu's: its dialog is asked
    // and cancelled.
    int printDialogs = 0;
    w->Printing->RunPrintDialog = [&](QPrintDialog&) {
        ++printDialogs;
        return false;
    };
    for (const int key : {Qt::Key_P, Qt::Key_J, Qt::Key_U, Qt::Key_L, Qt::Key_Q})
        Deliver(m, key, Qt::ControlModifier, QString(QChar(key - Qt::Key_A + 1)));
    EXPECT_EQ("text", m.Text());
    EXPECT_EQ(printDialogs, 1);
    EXPECT_FALSE(w->DocumentModified);
    // Select All is the editor's own as long as the menu's item is not there.
    Deliver(m, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    EXPECT_EQ(-4, m.SelLength());
}

TEST_F(WindowFixture, EscapeClosesTheWindowUnlessItEndsATextDrag) {
    auto w = Create(dir.write("doc.txt", "some text"), true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    TArtMemo& m = *w->m;
    m.setFocus();
    m.SetSelStart(0);
    m.SetSelLength(4);
    // A press on the selection picks it up.
    const QPoint at(m.LeftMargin() + m.AvgCharWidth() + 1, m.LinePixels() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, m.viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m.viewport(), &press);
    ASSERT_TRUE(m.DraggingText());
    Deliver(m, Qt::Key_Escape, Qt::NoModifier);
    QApplication::processEvents();
    EXPECT_FALSE(m.DraggingText());
    EXPECT_TRUE(w->isVisible());
    Deliver(m, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(ProcessUntil([&] { return !w->isVisible(); }));
}
