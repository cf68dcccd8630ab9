// The font dialog of the font commands as one window: Escape and Enter answer for the whole dialog
// from whichever of its parts has the keyboard.
#include "app/FontDialog.h"

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
