#include "localisation/LanguageMenu.h"

#include "LanguageFixture.h"
#include "localisation/Tag.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::LanguageFolder;

// A stand-in for the main window: one tagged button, the Language submenu and the Bitcoin item.
class LanguageMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("English.vlf", {QStringLiteral(">$0409"), QStringLiteral(">&Copy")});
        // Text 79 is the word in front of the donation items.
        QStringList german{QStringLiteral(">$0407 $0c07"), QStringLiteral(">&Kopieren")};
        while (german.size() < 79)
            german << QStringLiteral(">");
        folder.Write("German.vlf", german << QStringLiteral(">Spenden"));
        folder.Write("French.vlf", {QStringLiteral(">$040c"), QStringLiteral(">&Copier")});
        button = new QPushButton(QStringLiteral("&Copy"), &window);
        SetTag(button, 1);
        menu = new QMenu(QStringLiteral("Language"), &window);
        bitcoin = new QAction(&window);
    }

    // The menu as the main window builds it at start-up, with the stored language.
    TLanguageMenu& Build(const std::string& stored) {
        language = stored;
        languageMenu = new TLanguageMenu(folder.localisation, window, *menu, language);
        languageMenu->miDonateBTC = bitcoin;
        languageMenu->OnTranslated = [this] { ++translations; };
        languageMenu->FillLanguageMenu();
        languageMenu->LanguageChange();
        return *languageMenu;
    }

    QStringList Captions() const {
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }

    QStringList Checked() const {
        QStringList checked;
        for (QAction* item : languageMenu->LanguageItems())
            if (item->isChecked())
                checked << item->text();
        return checked;
    }

    QAction* Item(const QString& caption) const {
        for (QAction* item : languageMenu->LanguageItems())
            if (item->text() == caption)
                return item;
        return nullptr;
    }

    LanguageFolder folder;
    QWidget window;
    QPushButton* button = nullptr;
    QMenu* menu = nullptr;
    QAction* bitcoin = nullptr;
    TLanguageMenu* languageMenu = nullptr;
    std::string language;
    int translations = 0;
};

TEST_F(LanguageMenuTest, ListsLanguagesInOrderBeforeTheTranslatorItem) {
    Build("German");
    EXPECT_EQ(Captions(),
              (QStringList{"Automatic", "English", "French", "German", "-", "Download Translator"}));
    for (QAction* item : languageMenu->LanguageItems())
        EXPECT_TRUE(item->isCheckable());
    EXPECT_EQ(Checked(), QStringList{"German"});
    EXPECT_EQ(button->text(), QStringLiteral("&Kopieren"));
    EXPECT_EQ(bitcoin->text(), QStringLiteral("Spenden (Bitcoin)"));
    EXPECT_EQ(translations, 1);
}

TEST_F(LanguageMenuTest, TheTranslatorItemShowsOnlyWithAnAddressToOpen) {
    Build("English");
    QStringList opened;
    languageMenu->OpenUrl = [&](const QString& url) { opened << url; };
    const QAction* separator = menu->actions()[menu->actions().size() - 2];
    ASSERT_TRUE(separator->isSeparator());
    EXPECT_FALSE(languageMenu->miDownloadTranslator->isVisible());
    EXPECT_FALSE(separator->isVisible());
    languageMenu->miDownloadTranslator->trigger();
    EXPECT_TRUE(opened.isEmpty());

    languageMenu->SetTranslatorUrl(QStringLiteral("https://example.org/translator"));
    EXPECT_TRUE(languageMenu->miDownloadTranslator->isVisible());
    EXPECT_TRUE(separator->isVisible());
    languageMenu->miDownloadTranslator->trigger();
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://example.org/translator")});
}

TEST_F(LanguageMenuTest, StoredNameInAnotherCaseChecksNothing) {
    Build("german");
    EXPECT_TRUE(Checked().isEmpty());
    // The name still loads nothing: there is no file of that spelling.
    EXPECT_EQ(language, "");
    EXPECT_EQ(button->text(), QStringLiteral("&Copy"));
}

TEST_F(LanguageMenuTest, AutomaticIsSavedAsTheDetectedLanguage) {
    folder.userLanguageId = 0x0c07;
    Build("Automatic");
    EXPECT_EQ(language, "German");
    EXPECT_EQ(Checked(), QStringList{"Automatic"});
    EXPECT_EQ(button->text(), QStringLiteral("&Kopieren"));

    // The next start reads the saved name and checks it.
    delete menu;
    menu = new QMenu(&window);
    Build(language);
    EXPECT_EQ(Checked(), QStringList{"German"});
}

TEST_F(LanguageMenuTest, ClickOnTheCheckedLanguageReloadsNothing) {
    Build("German");
    // Were the file read again, the changed text would show.
    folder.Write("German.vlf", {QStringLiteral(">$0407"), QStringLiteral(">&Neu")});
    Item(QStringLiteral("German"))->trigger();
    EXPECT_EQ(button->text(), QStringLiteral("&Kopieren"));
    EXPECT_EQ(folder.localisation.GetText(1, ""), "&Kopieren");
    EXPECT_EQ(Checked(), QStringList{"German"});
    EXPECT_EQ(translations, 1);
}

TEST_F(LanguageMenuTest, ClickOnAnotherLanguageSwitchesAtOnce) {
    Build("German");
    Item(QStringLiteral("French"))->trigger();
    EXPECT_EQ(language, "French");
    EXPECT_EQ(Checked(), QStringList{"French"});
    EXPECT_EQ(button->text(), QStringLiteral("&Copier"));
    // French has no text 79: the English word.
    EXPECT_EQ(bitcoin->text(), QStringLiteral("Donate (Bitcoin)"));
    EXPECT_EQ(translations, 2);

    Item(QStringLiteral("Automatic"))->trigger();
    EXPECT_EQ(language, "English");
    EXPECT_EQ(Checked(), QStringList{"Automatic"});
    EXPECT_EQ(button->text(), QStringLiteral("&Copy"));
}

TEST_F(LanguageMenuTest, VanishedFileKeepsTheTextsAndForgetsTheName) {
    Build("German");
    QFile::remove(QString::fromStdString(folder.ExeFolder() + "languages/French.vlf"));
    Item(QStringLiteral("French"))->trigger();
    EXPECT_EQ(language, "");
    EXPECT_EQ(button->text(), QStringLiteral("&Kopieren"));
    ASSERT_EQ(folder.messages.size(), 1u);
    EXPECT_EQ(folder.messages[0].text, QStringLiteral("Language file not found!"));
}

TEST_F(LanguageMenuTest, AmpersandInAFileNameIsNoAccelerator) {
    folder.Write("Rock&Roll.vlf", {QStringLiteral(">$0000"), QStringLiteral(">Yeah")});
    Build("English");
    QAction* item = Item(QStringLiteral("Rock&&Roll"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(language, "Rock&Roll");
    EXPECT_EQ(button->text(), QStringLiteral("Yeah"));
}

} // namespace
} // namespace zandor
