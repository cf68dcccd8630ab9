// Qt's own dialogs take the language of the loaded language file: which identifier of a header
// decides, and the menu's language switch carrying the dialogs along.
#include "localisation/DialogTranslation.h"
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

bool CataloguesInstalled() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    return QFile::exists(folder + QStringLiteral("/qtbase_de.qm")) &&
           QFile::exists(folder + QStringLiteral("/qtbase_fr.qm"));
}

QString ColorDialogTitle() {
    return QCoreApplication::translate("QColorDialog", "Select Color");
}

struct HeaderRow {
    const char* name;
    const char* header;
    QLocale::Language language; // C: no catalogue
};

void PrintTo(const HeaderRow& row, std::ostream* out) {
    *out << row.name;
}

class DialogHeaders : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(DialogHeaders, TheFirstIdentifierWithACatalogueDecides) {
    if (!CataloguesInstalled())
        GTEST_SKIP() << "Qt's translation catalogues are not installed";
    TDialogTranslation dialogs;
    EXPECT_EQ(dialogs.Follow(QString::fromUtf8(GetParam().header)), GetParam().language != QLocale::C);
    EXPECT_EQ(dialogs.Locale().language(), GetParam().language);
    EXPECT_EQ(ColorDialogTitle() == QStringLiteral("Select Color"), GetParam().language == QLocale::C);
}

INSTANTIATE_TEST_SUITE_P(Rows, DialogHeaders,
                         ::testing::Values(HeaderRow{"German", ">Deutsch $0407 $0807", QLocale::German},
                                           HeaderRow{"UnknownThenFrench", ">$7fff $040c", QLocale::French},
                                           HeaderRow{"EnglishFirst", ">$0409 $0407", QLocale::C},
                                           HeaderRow{"UpperCaseIsNoIdentifier", ">$0C07", QLocale::C},
                                           HeaderRow{"NoIdentifier", ">Deutsch", QLocale::C}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DialogTranslation, FollowsTheMenusLanguageAndLeavesWithTheMenu) {
    if (!CataloguesInstalled())
        GTEST_SKIP() << "Qt's translation catalogues are not installed";
    test::LanguageFolder folder;
    folder.Write("English.vlf", {QStringLiteral(">$0409")});
    folder.Write("German.vlf", {QStringLiteral(">$0407")});
    folder.Write("French.vlf", {QStringLiteral(">$040c")});
    QWidget window;
    std::string language = "German";
    {
        QMenu menu;
        TLanguageMenu languages(folder.localisation, window, menu, language);
        languages.FillLanguageMenu();
        languages.LanguageChange();
        const QString german = ColorDialogTitle();
        EXPECT_NE(german, QStringLiteral("Select Color"));
        for (QAction* item : languages.LanguageItems())
            if (item->text() == QStringLiteral("French"))
                item->trigger();
        EXPECT_NE(ColorDialogTitle(), german);
        EXPECT_NE(ColorDialogTitle(), QStringLiteral("Select Color"));
        for (QAction* item : languages.LanguageItems())
            if (item->text() == QStringLiteral("English"))
                item->trigger();
        EXPECT_EQ(ColorDialogTitle(), QStringLiteral("Select Color"));
        for (QAction* item : languages.LanguageItems())
            if (item->text() == QStringLiteral("German"))
                item->trigger();
        EXPECT_EQ(ColorDialogTitle(), german);
    }
    EXPECT_EQ(ColorDialogTitle(), QStringLiteral("Select Color"));
}

} // namespace
} // namespace zandor
