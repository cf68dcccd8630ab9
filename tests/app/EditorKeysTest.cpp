// The editor inside the main window: keys reach it when no menu item takes them, typing marks the
// document, the keys of commands still to come do nothing, and Escape puts dragged text down
// before it closes the window; Ctrl with plus, minus, 0 or the wheel zooms.
#include "WindowFixture.h"

#include "app/Zoom.h"
#include "documents/Documents.h"

#include "editor/control/ArtMemo.h"
#include "printing/PrintCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QWheelEvent>

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

// Zooming as the window does it, with its parts stood in for: the screen fonts step through the
// Art Scale within its range, other fonts along the sizes and back to the size they had before the
// first step, a font another command set starts afresh, and the wheel steps once a notch.
TEST(Zoom, StepsTheArtScaleOrTheFontSizeAndSaysWhere) {
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Size = 12;
    int scale = 1;
    std::vector<QString> notes;
    TZoom zoom({.Font = [&] { return font; },
                .ApplyFont = [&](const platform::FontValue& f) { font = f; },
                .ArtScale = [&] { return scale; },
                .ChooseArtScale = [&](int s) { scale = s; },
                .Show = [&](const QString& note) { notes.push_back(note); }});
    std::vector<int> scales;
    for (TZoomStep step : {TZoomStep::In, TZoomStep::In, TZoomStep::In, TZoomStep::In, TZoomStep::Out,
                           TZoomStep::Reset, TZoomStep::Out}) {
        zoom.Step(step);
        scales.push_back(scale);
    }
    EXPECT_EQ((std::vector<int>{2, 3, 4, 4, 3, 1, 1}), scales);
    EXPECT_EQ(12, font.Size) << "the screen font keeps its size";
    EXPECT_EQ(QString::fromUtf8("Art Scale \u00D74"), notes[2]);

    font.Name = "DejaVu Sans Mono";
    font.Size = 0;
    font.Height = 16; // chosen by pixel height: 12 points
    const platform::FontValue chosen = font;
    std::vector<int> sizes;
    for (TZoomStep step : {TZoomStep::In, TZoomStep::In, TZoomStep::In, TZoomStep::Out}) {
        zoom.Step(step);
        sizes.push_back(font.PointSize());
    }
    EXPECT_EQ((std::vector<int>{14, 16, 18, 16}), sizes);
    EXPECT_EQ(QStringLiteral("16 pt"), notes.back());
    EXPECT_EQ(1, scale) << "other fonts leave the Art Scale";
    zoom.Step(TZoomStep::Reset);
    EXPECT_EQ(chosen, font) << "Ctrl+0 gives back the font as it was";
    for (int i = 0; i < 30; ++i)
        zoom.Step(TZoomStep::Out);
    EXPECT_EQ(6, font.PointSize()) << "the smallest size";
    font.Size = 20; // another document opened in its own font
    font.Height = 0;
    zoom.Step(TZoomStep::In);
    zoom.Step(TZoomStep::Reset);
    EXPECT_EQ(20, font.PointSize()) << "Ctrl+0 goes back to the new document's size";

    EXPECT_FALSE(zoom.Wheel(120, Qt::NoModifier)) << "a plain turn scrolls";
    EXPECT_TRUE(zoom.Wheel(40, Qt::ControlModifier));
    EXPECT_TRUE(zoom.Wheel(40, Qt::ControlModifier));
    EXPECT_EQ(20, font.PointSize()) << "two thirds of a notch";
    EXPECT_TRUE(zoom.Wheel(40, Qt::ControlModifier));
    EXPECT_EQ(22, font.PointSize());
    EXPECT_TRUE(zoom.Wheel(-240, Qt::ControlModifier));
    EXPECT_EQ(18, font.PointSize());
}

// In the window: Ctrl+plus (also as Ctrl+= and with Shift), Ctrl+minus, Ctrl+0 on the keypad and
// Ctrl with the wheel zoom art by the Art Scale, which the menu shows checked and the settings keep, and
// plain text by its size for this window only; the status panel says where, then the caret's place again.
TEST_F(WindowFixture, CtrlWithPlusMinusZeroOrTheWheelZooms) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts are not built";
    const std::string art = dir.write("art.nfo", "\xDB\xDB art\r\n");
    auto w = Create(art, true);
    TArtMemo& m = *w->m;
    ASSERT_EQ(16, m.LinePixels());
    EXPECT_FALSE(Deliver(m, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, "+"));
    EXPECT_EQ(32, m.LinePixels());
    EXPECT_EQ(QString::fromUtf8("Art Scale \u00D72"), w->lbPosition->text());
    Deliver(m, Qt::Key_Equal, Qt::ControlModifier, "=");
    EXPECT_EQ(48, m.LinePixels());
    EXPECT_TRUE(w->findChild<QAction*>(QStringLiteral("ArtScale3x"))->isChecked());
    EXPECT_EQ(3, Store().ReadInteger("Options", "ArtScale", 1));
    Deliver(m, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, "-");
    EXPECT_EQ(32, m.LinePixels());
    Deliver(m, Qt::Key_0, Qt::ControlModifier, "0");
    EXPECT_EQ(32, m.LinePixels()) << "Ctrl+0 on the digit row is the bookmark key";
    Deliver(m, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier, "0");
    EXPECT_EQ(16, m.LinePixels());
    EXPECT_EQ("\xDB\xDB art", m.GetParagraph(0)) << "nothing was typed";
    QWheelEvent turn(QPointF(10, 10), m.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m.viewport(), &turn);
    EXPECT_EQ(32, m.LinePixels());
    // The note gives way to the caret's place.
    QDeadlineTimer deadline(5000);
    while (w->lbPosition->text() != QStringLiteral("1,1") && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(QStringLiteral("1,1"), w->lbPosition->text());

    Deliver(m, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier, "0");
    const std::string text = dir.write("notes.txt", "plain words\r\n");
    ASSERT_TRUE(w->Documents->LoadFile(text));
    const int points = m.Font().PointSize();
    const int height = m.LinePixels();
    Deliver(m, Qt::Key_Plus, Qt::ControlModifier, "+");
    EXPECT_GT(m.Font().PointSize(), points);
    EXPECT_GT(m.LinePixels(), height);
    EXPECT_EQ(QStringLiteral("%1 pt").arg(m.Font().PointSize()), w->lbPosition->text());
    EXPECT_EQ(1, Store().ReadInteger("Options", "ArtScale", 1)) << "the Art Scale stays";
    Deliver(m, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier, "0");
    EXPECT_EQ(points, m.Font().PointSize());
    EXPECT_EQ(height, m.LinePixels());
}

// Alt+Right and Alt+Left open the neighbours of the file in its folder, through the File menu's
// items; with unsaved changes the usual question comes first, and Cancel stays.
TEST_F(WindowFixture, AltRightAndAltLeftOpenTheNextAndPreviousFileInTheFolder) {
    const std::string first = dir.write("art/a1.nfo", "first\r\n");
    const std::string second = dir.write("art/a2.nfo", "second\r\n");
    auto w = Create(first, true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    TArtMemo& m = *w->m;
    m.setFocus();
    EXPECT_TRUE(Deliver(m, Qt::Key_Right, Qt::AltModifier));
    EXPECT_EQ(second, w->CurrentFile);
    EXPECT_EQ("second", m.GetParagraph(0));
    EXPECT_TRUE(Deliver(m, Qt::Key_Left, Qt::AltModifier));
    EXPECT_EQ(first, w->CurrentFile);

    m.SetSelText("edited ");
    answers = {TAnswer::Cancel};
    Deliver(m, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(1u, questions.size());
    EXPECT_EQ(first, w->CurrentFile) << "cancelled";
    EXPECT_EQ("edited first", m.GetParagraph(0));
    questions.clear();
    Deliver(m, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(questions.empty()) << "nothing before the first file: nothing asked";
    EXPECT_EQ(first, w->CurrentFile);
}
