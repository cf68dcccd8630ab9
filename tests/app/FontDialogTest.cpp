// The font commands: their dialog as one window, in which Escape and Enter answer for the whole
// dialog from whichever part has the keyboard, and the character set of the screen faces, which
// is code page 437 however a face is chosen.
#include "WindowFixture.h"

#include "app/FontDialog.h"
#include "documents/Documents.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// The GUI library's entry for simulated typing: the key goes through the shortcut map as a key from
// the window system would, before any widget sees it. True when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

// A key as the window system delivers it: shortcuts first, then the focused part, from which an
// unanswered key travels up to the parts around it.
void PressKey(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const QString text = key == Qt::Key_Escape ? QStringLiteral("\x1b") : QStringLiteral("\r");
    if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text))
        return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

struct PartRow {
    const char* part;
    std::function<QWidget*(TFontDialog&)> find;
};

// The parts a user can reach with the keyboard: the platform dialog's lists and fields, and the
// colour and script beside them.
const PartRow kParts[] = {
    {"face list", [](TFontDialog& d) { return d.Faces->findChildren<QListView*>().value(0); }},
    {"size field", [](TFontDialog& d) { return d.Faces->findChildren<QLineEdit*>().value(2); }},
    {"script", [](TFontDialog& d) { return static_cast<QWidget*>(d.Script); }},
    {"colour button", [](TFontDialog& d) { return static_cast<QWidget*>(d.ColorButton); }},
};

} // namespace

TEST(FontDialog, EscapeCancelsAndEnterAcceptsTheWholeDialogFromEveryPart) {
    platform::FontValue initial;
    initial.Name = "Courier New";
    initial.Size = 10;
    // A colour dialog that Enter opened by mistake must not hold the test up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(20);
    for (const PartRow& row : kParts) {
        for (const auto& [key, expected] :
             {std::pair{Qt::Key_Escape, QDialog::Rejected}, std::pair{Qt::Key_Return, QDialog::Accepted},
              std::pair{Qt::Key_Enter, QDialog::Accepted}}) {
            TFontDialog dialog(initial, nullptr);
            dialog.setResult(-1);
            int endings = 0;
            QObject::connect(&dialog, &QDialog::finished, [&endings] { ++endings; });
            dialog.show();
            QWidget* part = row.find(dialog);
            ASSERT_NE(nullptr, part) << row.part;
            part->setFocus();
            PressKey(part, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QApplication::processEvents();
            const std::string what = std::string(row.part) + " key " + std::to_string(key);
            EXPECT_FALSE(dialog.isVisible()) << what;
            EXPECT_EQ(expected, dialog.result()) << what;
            EXPECT_EQ(1, endings) << what;
            // The dialog never shows half of itself: its face part stays in it.
            EXPECT_FALSE(dialog.Faces->isHidden()) << what;
        }
    }
}

namespace {

using FontCommands = WindowFixture;

platform::FontValue Chosen(const char* face) {
    platform::FontValue font;
    font.Name = face;
    font.Size = 12;
    font.Color = platform::clWhite;
    font.Charset = platform::ANSI_CHARSET;
    return font;
}

} // namespace

// The screen faces hold only the glyphs of code page 437: the editor shows them with the OEM
// character set whether the face was stored without one, read at start, taken for an extension or
// chosen in either font dialog with another script; what the dialogs store says so as well.
TEST_F(FontCommands, AScreenFaceShowsCodePage437HoweverItIsChosen) {
    // Stored without a character set, as by hand or by an older program.
    Store().WriteString("Options", "Font5", "ZandorTiny,8,0000,clWhite");
    Store().WriteString("Fonts", ".txt", "ZandorLarge,12,0000,clWhite");
    auto w = Create();
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "the default font read at start";
    ASSERT_TRUE(w->Documents->LoadFile(dir.write("plain.txt", "x")));
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "the font of the extension";

    fontAnswer = Chosen("ZandorLarge");
    w->Menu.SetFont2->trigger();
    EXPECT_EQ("ZandorLarge", w->m->Font().Name);
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "chosen for the extension";
    EXPECT_EQ(platform::OEM_CHARSET, Store().ReadInteger("Fonts", ".txt_Charset", 0));
    fontAnswer = Chosen("ZandorTiny");
    w->Menu.SetFont1->trigger();
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "chosen as the default";
    EXPECT_EQ(platform::OEM_CHARSET, Store().ReadInteger("Options", "Font5_Charset", 0));
    // Any other face keeps the script chosen for it.
    fontAnswer = Chosen("Courier New");
    w->Menu.SetFont1->trigger();
    EXPECT_EQ(platform::ANSI_CHARSET, w->m->Font().Charset);
    // The dialog shows the rule too: with a screen face its script is code page 437 and fixed.
    if (!ScreenFontsRegistered())
        return;
    TFontDialog dialog(Chosen("ZandorLarge"), w.get());
    ASSERT_EQ(QStringLiteral("ZandorLarge"), dialog.Faces->currentFont().family());
    EXPECT_EQ(platform::OEM_CHARSET, dialog.Font().Charset);
    EXPECT_FALSE(dialog.Script->isEnabled());
}

// Right after a screen face is chosen with another script, art bytes are drawn as code page 437:
// four bytes 0xDB are four full blocks, one solid bar of the text colour.
TEST_F(FontCommands, ArtBytesAreDrawnAsCodePage437RightAfterAScreenFaceIsChosen) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts are not built";
    // The caret stays on the empty first line, away from the blocks.
    auto w = Create(dir.write("blocks.txt", "\r\n\xDB\xDB\xDB\xDB"), true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    fontAnswer = Chosen("ZandorLarge");
    w->Menu.SetFont2->trigger();
    const QImage image = w->m->grab().toImage();
    const QColor text(Qt::white);
    QRect lit;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == text)
                lit |= QRect(x, y, 1, 1);
    ASSERT_FALSE(lit.isEmpty());
    int gaps = 0;
    for (int y = lit.top(); y <= lit.bottom(); ++y)
        for (int x = lit.left(); x <= lit.right(); ++x)
            gaps += image.pixelColor(x, y) != text;
    EXPECT_EQ(0, gaps) << "the bar has holes: the bytes were drawn as letters";
    EXPECT_GE(lit.width(), 4 * 8);
    EXPECT_GE(lit.height(), 16);
}
