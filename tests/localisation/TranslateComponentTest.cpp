#include "localisation/TranslateComponent.h"

#include "LanguageFixture.h"
#include "localisation/Tag.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::LanguageFolder;

// Line N holds text N; line 7 has the lead-in alone, so text 7 is missing; the file ends at 12.
void WriteTexts(const LanguageFolder& folder) {
    QStringList lines{QStringLiteral(">$0409")};
    for (int n = 1; n <= 12; ++n)
        lines << (n == 7 ? QStringLiteral(">") : QStringLiteral(">text %1").arg(n));
    folder.Write("English.vlf", lines);
}

template <typename T> T* Tagged(T* object, int tag) {
    SetTag(object, tag);
    return object;
}

class TranslateComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTexts(folder);
        ASSERT_EQ(folder.localisation.LoadLanguage("English"), "English");
    }

    LanguageFolder folder;
};

TEST_F(TranslateComponentTest, TaggedCaptionsOfTheKnownKindsChange) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zandor"));
    auto* button = Tagged(new QPushButton(QStringLiteral("&Copy"), &window), 1);
    auto* panel = new QFrame(&window);
    auto* label = Tagged(new QLabel(QStringLiteral("label"), panel), 2);
    auto* radio = Tagged(new QRadioButton(QStringLiteral("radio"), panel), 3);
    auto* check = Tagged(new QCheckBox(QStringLiteral("check"), &window), 4);
    auto* bar = new QMenuBar(&window);
    auto* menu = Tagged(new QMenu(QStringLiteral("File"), bar), 5);
    bar->addMenu(menu);
    auto* item = Tagged(new QAction(QStringLiteral("New"), menu), 6);
    menu->addAction(item);
    auto* missing = Tagged(new QAction(QStringLiteral("Open..."), menu), 7);
    auto* beyond = Tagged(new QPushButton(QStringLiteral("E&xit"), &window), 13);
    auto* untagged = new QPushButton(QStringLiteral("plain"), &window);
    auto* negative = Tagged(new QLabel(QStringLiteral("negative"), &window), -1);

    TranslateComponent(folder.localisation, &window);

    EXPECT_EQ(button->text(), QStringLiteral("text 1"));
    EXPECT_EQ(label->text(), QStringLiteral("text 2"));
    EXPECT_EQ(radio->text(), QStringLiteral("text 3"));
    EXPECT_EQ(menu->title(), QStringLiteral("text 5"));
    EXPECT_EQ(menu->menuAction()->text(), QStringLiteral("text 5"));
    EXPECT_EQ(item->text(), QStringLiteral("text 6"));
    // Not a kind that has a caption to translate.
    EXPECT_EQ(check->text(), QStringLiteral("check"));
    // No text in the file: the English caption stays.
    EXPECT_EQ(missing->text(), QStringLiteral("Open..."));
    EXPECT_EQ(beyond->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(untagged->text(), QStringLiteral("plain"));
    EXPECT_EQ(negative->text(), QStringLiteral("negative"));
    // The window has no tag, so its title is not the file's business.
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zandor"));
}

TEST_F(TranslateComponentTest, TaggedWindowTakesItsTextEvenWhenEmpty) {
    QWidget withText;
    SetTag(&withText, 8);
    TranslateComponent(folder.localisation, &withText);
    EXPECT_EQ(withText.windowTitle(), QStringLiteral("text 8"));

    QWidget withoutText;
    withoutText.setWindowTitle(QStringLiteral("About"));
    SetTag(&withoutText, 7);
    TranslateComponent(folder.localisation, &withoutText);
    EXPECT_EQ(withoutText.windowTitle(), QString());
}

TEST_F(TranslateComponentTest, OtherWindowsBelowAreLeftToThemselvesUnlessTagged) {
    QWidget window;
    auto* own = new QDialog(&window);
    auto* ownButton = Tagged(new QPushButton(QStringLiteral("Ok"), own), 9);
    auto* taggedDialog = Tagged(new QDialog(&window), 10);
    auto* taggedButton = Tagged(new QPushButton(QStringLiteral("Ok"), taggedDialog), 11);
    // A popup menu is a window to Qt but part of the window that shows it.
    auto* popup = new QMenu(&window);
    auto* popupItem = Tagged(popup->addAction(QStringLiteral("Undo")), 12);

    TranslateComponent(folder.localisation, &window);

    EXPECT_EQ(ownButton->text(), QStringLiteral("Ok"));
    EXPECT_EQ(taggedDialog->windowTitle(), QStringLiteral("text 10"));
    EXPECT_EQ(taggedButton->text(), QStringLiteral("text 11"));
    EXPECT_EQ(popupItem->text(), QStringLiteral("text 12"));
}

TEST_F(TranslateComponentTest, TagIsZeroUnlessANumberIsStored) {
    QLabel label;
    EXPECT_EQ(TagOf(&label), 0);
    label.setProperty("Tag", QStringLiteral("not a number"));
    EXPECT_EQ(TagOf(&label), 0);
    SetTag(&label, 42);
    EXPECT_EQ(TagOf(&label), 42);
}

} // namespace
} // namespace zandor
