// The find dialog in the main window: placed beside the window by its dimensions, its texts kept in
// the settings from one run to the next, and a window that closes with the dialog open.
#include "WindowFixture.h"
#include "commands/FindReplace.h"

#include <QLineEdit>

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

} // namespace
} // namespace zandor::test
