// The font commands: their dialog as one window, in which Escape and Enter answer for the whole
// dialog from whichever part has the keyboard, and the character set of the screen faces, which
// is code page 437 however a face is chosen.
#include "WindowFixture.h"

#include "app/FontDialog.h"
#include "documents/Documents.h"
#include "platform/ScreenCells.h"
#include "platform/ScreenFonts.h"

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

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

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
            // A key of the window system goes to the focused part and travels up while unanswered.
            QKeyEvent press(QEvent::KeyPress, key,
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QApplication::sendEvent(part, &press);
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

// The screen faces hold only the glyphs of code page 437, so the editor shows them with the OEM
// character set however one is chosen: stored without a set (by hand, by an older program), read at
// start and when a file opens, or chosen in either font dialog with another script, which is stored
// corrected. Right after the choice art bytes are drawn so: four 0xDB are one solid bar of blocks.
TEST_F(FontCommands, AScreenFaceShowsCodePage437HoweverItIsChosen) {
    Store().WriteString("Options", "Font5", "ZandorTiny,8,0000,clWhite");
    auto w = Create();
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "read at start";
    // The caret stays on the empty first line, away from the blocks.
    ASSERT_TRUE(w->Documents->LoadFile(dir.write("blocks.txt", "\r\n\xDB\xDB\xDB\xDB")));
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset) << "when a file opens";
    fontAnswer = Chosen("Courier New");
    w->Menu.SetFont1->trigger();
    EXPECT_EQ(platform::ANSI_CHARSET, w->m->Font().Charset) << "another face keeps its script";
    fontAnswer = Chosen("ZandorTiny");
    w->Menu.SetFont1->trigger();
    EXPECT_EQ(platform::OEM_CHARSET, Store().ReadInteger("Options", "Font5_Charset", 0));
    fontAnswer = Chosen("ZandorLarge");
    w->Menu.SetFont2->trigger();
    EXPECT_EQ(platform::OEM_CHARSET, w->m->Font().Charset);
    EXPECT_EQ(platform::OEM_CHARSET, Store().ReadInteger("Fonts", ".txt_Charset", 0));
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts are not built";
    w->FormResize();
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    const QImage image = w->m->grab().toImage();
    QRect lit;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == Qt::white)
                lit |= QRect(x, y, 1, 1);
    int gaps = 0;
    for (int y = lit.top(); y <= lit.bottom(); ++y)
        for (int x = lit.left(); x <= lit.right(); ++x)
            gaps += image.pixelColor(x, y) != Qt::white;
    EXPECT_EQ(0, gaps) << "the bar has holes: the bytes were drawn as letters";
    EXPECT_GE(lit.width(), 4 * 8);
    EXPECT_GE(lit.height(), 16);
    // The dialog says so as well: with a screen face its script is code page 437, and fixed.
    TFontDialog dialog(Chosen("ZandorLarge"), w.get());
    EXPECT_EQ(platform::OEM_CHARSET, dialog.Font().Charset);
    EXPECT_FALSE(dialog.Script->isEnabled());
}

// The nine-pixel and DOS-aspect forms of the screen faces are no faces of their own to the user:
// the face list holds the two screen faces, keeps the chosen one, and none of the forms, also after
// the writing system combo fills the list again.
TEST_F(FontCommands, TheFaceListLeavesOutTheFormsOfTheScreenFaces) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts are not built";
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Size = 12;
    TFontDialog dialog(font, nullptr);
    QListView* faces = dialog.Faces->findChildren<QListView*>().value(0);
    ASSERT_NE(nullptr, faces);
    auto listed = [&] {
        QApplication::processEvents();
        QStringList names;
        for (int row = 0; row < faces->model()->rowCount(); ++row)
            names << faces->model()->index(row, 0).data().toString();
        return names;
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const QStringList names = listed();
        EXPECT_TRUE(names.contains(QStringLiteral("ZandorLarge")) &&
                    names.contains(QStringLiteral("ZandorTiny")));
        for (const QString& name : names)
            EXPECT_FALSE(platform::IsScreenFontForm(name.toStdString())) << name.toStdString();
        EXPECT_EQ("ZandorLarge", dialog.Font().Name);
        // Another writing system and back: the dialog lists its faces anew.
        auto* systems = dialog.Faces->findChildren<QComboBox*>().value(0);
        ASSERT_NE(nullptr, systems);
        systems->setCurrentIndex(systems->count() > 1 ? 1 : 0);
        systems->setCurrentIndex(0);
    }
}
