// The shipped help pages describe the program as it is: every menu command they name is an item of
// the menus that the user can choose, and no page calls anything still to come.
#include "WindowFixture.h"

#include "app/PendingCommands.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <vector>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

// Text as a reader sees it: without tags and entities, blanks and line breaks as one blank.
QString Plain(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// A caption as the menu shows it: without the mark of a keyboard mnemonic, "&&" as "&".
QString Shown(QString caption) {
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// The item a path of captions leads to ("Edit > Format > Join Lines"), from `menus` on; nullptr
// when a step names nothing there. Every step must be shown.
const QAction* Find(const std::vector<QMenu*>& menus, const QStringList& path) {
    const QAction* found = nullptr;
    QList<QAction*> level;
    for (QMenu* menu : menus)
        level.push_back(menu->menuAction());
    for (const QString& step : path) {
        found = nullptr;
        for (const QAction* action : level)
            if (!action->isSeparator() && action->isVisible() && Shown(action->text()) == step)
                found = action;
        if (!found)
            return nullptr;
        level = found->menu<QMenu*>() ? found->menu<QMenu*>()->actions() : QList<QAction*>{};
    }
    return found;
}

} // namespace

TEST_F(WindowFixture, TheHelpPagesNameOnlyMenuItemsThatExistAndCallNothingMissing) {
    auto w = Create();
    const std::vector<QMenu*> top{w->Menu.File1, w->Menu.Edit1, w->Menu.Options1, w->Menu.Help1};
    const QDir pages(QStringLiteral(ZANDOR_SOURCE_DIR_BUILT "/help"));
    const QRegularExpression missing(QStringLiteral("still to come|yet to come|not (yet )?(built|available|"
                                                    "ready|implemented)|greyed out until|when (its|their) "
                                                    "commands? (arrive|come)|coming soon"),
                                     QRegularExpression::CaseInsensitiveOption);
    // A path in bold names an item from the menu bar on ("File > Open..."); a row of a menu's table
    // in the page of the menus names items of that menu, keys in brackets after them.
    const auto across = QRegularExpression::DotMatchesEverythingOption;
    const QRegularExpression bold(QStringLiteral("<b>(.*?)</b>"), across);
    const QRegularExpression section(QStringLiteral("<h2>(\\w+)</h2>\\s*<table>(.*?)</table>"), across);
    const QRegularExpression firstCell(QStringLiteral("<tr><td>(.*?)</td>"), across);
    int named = 0;
    const auto check = [&](const QString& page, const QStringList& path) {
        ++named;
        const QAction* item = Find(top, path);
        EXPECT_TRUE(item && CommandBuilt(*w, item))
            << page.toStdString() << ": " << path.join(QStringLiteral(" > ")).toStdString();
    };
    for (const QString& page : pages.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        const QString html = QString::fromUtf8(zandor::test::readFile(pages.filePath(page).toStdString()));
        const QString text = Plain(html);
        const auto stale = missing.match(text);
        EXPECT_FALSE(stale.hasMatch()) << page.toStdString() << ": " << stale.captured().toStdString();
        for (auto it = bold.globalMatch(html); it.hasNext();) {
            const QStringList path = Plain(it.next().captured(1)).split(QStringLiteral(" > "));
            if (path.size() > 1)
                check(page, path);
        }
        for (auto it = section.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            for (auto row = firstCell.globalMatch(match.captured(2)); row.hasNext();) {
                const QString cell =
                    Plain(row.next().captured(1)).remove(QRegularExpression(QStringLiteral(" \\(.*?\\)")));
                for (const QString& item : cell.split(QStringLiteral(", ")))
                    check(page, QStringList{match.captured(1)} + item.split(QStringLiteral(" > ")));
            }
        }
    }
    EXPECT_GT(named, 80) << "the pages name the menus' items";
}
