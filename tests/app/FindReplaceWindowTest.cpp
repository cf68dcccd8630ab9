// The find dialog in the main window: placed beside the window by its dimensions, its texts kept in
// the settings from one run to the next, and a window that closes with the dialog open; a large
// Replace All during which the window paints and shows its progress, undone in one step.
#include "WindowFixture.h"
#include "commands/FindReplace.h"
#include "editor/control/ArtMemo.h"
#include "support/PaintProbe.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace zandor::test {
namespace {

TEST_F(WindowFixture, TheFindTextsOutliveTheRunAndTheDialogStandsBesideTheWindow) {
    auto w = Create("", true);
    w->show();
    w->Menu.Find1->trigger();
    TReplaceDialog* dialog = w->FindReplace->ReplaceDialog1;
    ASSERT_TRUE(dialog->isVisible());
    w->ApplyWindowDimensions("Other");
    EXPECT_EQ(dialog->pos(), w->pos() + QPoint(100, 100));
    dialog->FindText->setText(QStringLiteral("needle"));
    dialog->ReplaceText->setText(QStringLiteral("thread"));
    ASSERT_TRUE(w->close()); // with the dialog still open
    w.reset();

    // A run that never opens the dialog keeps them too.
    w = Create("", true);
    ASSERT_TRUE(w->close());
    w.reset();
    w = Create("", true);
    w->Menu.FindReplace1->trigger();
    EXPECT_EQ(w->FindReplace->ReplaceDialog1->FindText->text(), QStringLiteral("needle"));
    EXPECT_EQ(w->FindReplace->ReplaceDialog1->ReplaceText->text(), QStringLiteral("thread"));
}

// 120,000 occurrences, far more undo record than the window's undo space: the window
// paints between the slices with the progress in the status panel, refuses to close or take a
// dropped file meanwhile, and one Undo and one Redo take the whole edit back and forth.
TEST_F(WindowFixture, ALargeReplaceAllPaintsItsProgressAndIsOneUndoStep) {
    std::string text, replaced;
    for (int i = 0; i < 120'000; ++i) {
        const std::string digit = std::to_string(i % 10);
        text += "a cat sat on the mat " + digit + "\r\n";
        replaced += "a lion sat on the mat " + digit + "\r\n";
    }
    const std::string file = dir.write("cats.txt", QByteArray::fromStdString(text));
    auto w = Create(file, true);
    w->show();
    ASSERT_EQ(w->m->Text(), text);
    TLabelPaintProbe probe(w->lbPosition);
    bool closed = true;
    const std::string other = dir.write("other.txt", "other");
    QTimer::singleShot(0, [&] {
        w->repaint(); // the editor and its gutter with the text half replaced
        closed = w->close();
        // A file dropped meanwhile is not taken.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->m, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->m, &drop);
    });
    TReplaceDialog* dialog = w->FindReplace->ReplaceDialog1;
    dialog->FindText->setText(QStringLiteral("cat"));
    dialog->ReplaceText->setText(QStringLiteral("lion"));
    dialog->ReplaceAllButton->click();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->CurrentFile, file);

    EXPECT_EQ(w->m->Text(), replaced);
    std::vector<int> percents;
    for (const QString& painted : probe.Painted)
        if (painted.startsWith(QStringLiteral("Replace ")))
            percents.push_back(painted.mid(8).chopped(1).toInt());
    ASSERT_GE(percents.size(), 2u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LT(percents.front(), percents.back());
    EXPECT_FALSE(w->lbPosition->text().startsWith(QStringLiteral("Replace"))) << "the caret's place is back";

    w->Menu.Undo1->trigger();
    EXPECT_EQ(w->m->Text(), text);
    w->Menu.Redo1->trigger();
    EXPECT_EQ(w->m->Text(), replaced);
    EXPECT_TRUE(errors.empty());
}

} // namespace
} // namespace zandor::test
