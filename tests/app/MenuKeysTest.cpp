// The menus from the keyboard: every item of every menu has its own Alt+letter when the menu opens,
// and in the built program under X, F10, a lone Alt and Alt with a menu's letter open the menus,
// Left and Right go from one to the next, and Escape closes a menu, not the window.
#include "WindowFixture.h"
#include "support/ProgramUnderX.h"

#include "app/MainMenu.h"
#include "app/MenuBand.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>

#include <algorithm>
#include <set>
#include <string>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

// The mnemonic letter of a caption (lower case), or 0 when it has none; more than one counts as
// none.
QChar MnemonicOf(const QString& caption) {
    const QRegularExpressionMatchIterator found =
        QRegularExpression(QStringLiteral("(?<!&)&([^&])")).globalMatch(caption);
    QChar letter;
    int count = 0;
    for (QRegularExpressionMatchIterator it = found; it.hasNext(); ++count)
        letter = it.next().captured(1).at(0).toLower();
    return count == 1 ? letter : QChar();
}

void ExpectEveryItemItsOwnLetter(QMenu& menu, const std::string& path) {
    menu.popup(QPoint(0, 0));
    QApplication::processEvents();
    std::multiset<QChar> letters;
    std::vector<QAction*> items;
    std::vector<QMenu*> submenus;
    const bool names = menu.objectName() == QLatin1String("file_recentfiles") ||
                       menu.objectName() == QLatin1String("options_language");
    for (QAction* item : menu.actions()) {
        if (item->isSeparator() || item->text().isEmpty() || names)
            continue;
        const QChar letter = MnemonicOf(item->text());
        EXPECT_FALSE(letter.isNull()) << path << " > " << item->text().toStdString() << " has no mnemonic ("
                                      << item->text().count(QLatin1Char('&')) << " markers)";
        letters.insert(letter);
        items.push_back(item);
        if (item->menu())
            submenus.push_back(item->menu());
    }
    std::string captions;
    for (QAction* item : items)
        captions += " [" + item->text().toStdString() + "]";
    SCOPED_TRACE(path + ":" + captions);
    // A letter is shared only where one of the items sharing it had no letter left: each of its
    // letters is some item's.
    const auto noneFree = [&letters](const QAction* item) {
        const QString shown = QString(item->text()).remove(QLatin1Char('&'));
        return std::all_of(shown.begin(), shown.end(), [&letters](QChar c) {
            return !c.isLetterOrNumber() || letters.count(c.toLower()) > 0;
        });
    };
    for (const QChar letter : std::set<QChar>(letters.begin(), letters.end())) {
        if (letters.count(letter) < 2)
            continue;
        bool unavoidable = false;
        for (const QAction* item : items)
            unavoidable = unavoidable || (MnemonicOf(item->text()) == letter && noneFree(item));
        EXPECT_TRUE(unavoidable) << "'" << QString(letter).toStdString()
                                 << "' is shared though free letters were left";
    }
    menu.hide();
    for (QMenu* sub : submenus)
        ExpectEveryItemItsOwnLetter(*sub, path + " > " + sub->title().toStdString());
}

} // namespace

TEST_F(WindowFixture, EveryMenuItemHasItsOwnMnemonicWhenItsMenuOpens) {
    auto w = Create(dir.write("doc.nfo", "text\r\n"), true);
    std::set<QChar> band;
    for (QAction* a : w->ToolBar1->actions()) {
        auto* button = qobject_cast<QToolButton*>(w->ToolBar1->widgetForAction(a));
        ASSERT_NE(nullptr, button);
        const QChar letter = MnemonicOf(button->text());
        EXPECT_FALSE(letter.isNull()) << button->text().toStdString();
        EXPECT_TRUE(band.insert(letter).second) << button->text().toStdString();
        // The menu's own title stays the language's.
        EXPECT_EQ(a->text(), QString(button->text()).remove(QLatin1Char('&')));
    }
    for (QMenu* menu : {w->Menu.File1, w->Menu.Edit1, w->Menu.Options1, w->Menu.Help1, w->Menu.PopupMenu1})
        ExpectEveryItemItsOwnLetter(*menu, menu->title().toStdString());
    // A language file's own mnemonic is kept.
    EXPECT_TRUE(w->Menu.Save1->text() == QStringLiteral("&Save")) << w->Menu.Save1->text().toStdString();
}

namespace {

using MenuKeysScenario = zandor::test::ProgramUnderX;

TEST_F(MenuKeysScenario, F10ALoneAltAndAltWithALetterOpenTheMenusAndEscapeClosesOnlyTheMenu) {
    Start(dir.write("docs/menus.nfo", "some art\r\n"));
    Keys({QStringLiteral("F10")});
    ASSERT_TRUE(WaitForTrace("menu shown: File")) << "F10 opens the first menu";
    Keys({QStringLiteral("Right")});
    EXPECT_TRUE(WaitForTrace("menu shown: Edit")) << "Right goes on to the next menu";
    Keys({QStringLiteral("Left"), QStringLiteral("Left")});
    EXPECT_TRUE(WaitForTrace("menu shown: File"));
    EXPECT_TRUE(WaitForTrace("menu shown: Help")) << "Left from the first menu wraps to the last";
    Keys({QStringLiteral("Escape")});
    QThread::msleep(500);
    ASSERT_EQ(QProcess::Running, program.state()) << "Escape in a menu closed the window";

    Keys({QStringLiteral("alt")});
    EXPECT_TRUE(WaitForTrace("menu shown: File")) << "a lone Alt opens the first menu";
    Keys({QStringLiteral("Escape")});
    Keys({QStringLiteral("alt+o")});
    EXPECT_TRUE(WaitForTrace("menu shown: Options")) << "Alt+O opens Options";
    Keys({QStringLiteral("Escape")});
    QThread::msleep(500);
    ASSERT_EQ(QProcess::Running, program.state());

    // With no menu open, Escape closes the window as it always did.
    Keys({QStringLiteral("Escape")});
    EXPECT_TRUE(program.waitForFinished(10000));
}

} // namespace
