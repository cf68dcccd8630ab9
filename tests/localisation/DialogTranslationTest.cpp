// Qt's own dialogs follow the language chosen in the menu: the first identifier of the file's
// header with a known language decides, English needs no catalogue, and the translation leaves
// with the menu.
#include "localisation/LanguageMenu.h"

#include "LanguageFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

namespace zandor {
namespace {

TEST(DialogTranslation, FollowsTheMenusLanguageAndLeavesWithTheMenu) {
    const QString catalogues = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(catalogues + "/qtbase_de.qm") || !QFile::exists(catalogues + "/qtbase_fr.qm"))
        GTEST_SKIP() << "Qt's translation catalogues are not installed";
    const QString english = QStringLiteral("Select Color");
    auto title = [] { return QCoreApplication::translate("QColorDialog", "Select Color"); };
    test::LanguageFolder folder;
    folder.Write("English.vlf", {QStringLiteral(">English $0409 $0407")});
    folder.Write("German.vlf", {QStringLiteral(">Deutsch $7fff $0407")}); // an unknown one first
    folder.Write("French.vlf", {QStringLiteral(">$040C $040c")});         // upper case is no key
    QWidget window;
    std::string language = "German";
    {
        QMenu menu;
        TLanguageMenu languages(folder.localisation, window, menu, language);
        languages.FillLanguageMenu();
        languages.LanguageChange();
        auto choose = [&](const char* name) {
            for (QAction* item : languages.LanguageItems())
                if (item->text() == QLatin1String(name))
                    item->trigger();
            return title();
        };
        const QString german = title();
        EXPECT_NE(german, english);
        const QString french = choose("French");
        EXPECT_NE(french, english);
        EXPECT_NE(french, german);
        EXPECT_EQ(choose("English"), english);
        EXPECT_EQ(choose("German"), german);
    }
    EXPECT_EQ(title(), english);
}

} // namespace
} // namespace zandor
