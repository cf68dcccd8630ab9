// The Options menu: check marks that follow the settings, toggles with their immediate effects, and
// the Language submenu translating the window.
#include "WindowFixture.h"
#include "documents/Documents.h"

#include "app/OptionsMenu.h"
#include "app/PendingCommands.h"
#include "editor/addons/ArtGutter.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/KeywordList.h"
#include "localisation/LanguageMenu.h"
#include "localisation/Localisation.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

using OptionsMenu = WindowFixture;

void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&widget, &release);
}

struct ToggleRow {
    const char* item;
    bool TSettings::*flag;
};

class PlainToggles : public WindowFixture, public ::testing::WithParamInterface<ToggleRow> {};

} // namespace

TEST_P(PlainToggles, FlipTheirSettingAndTheMenuShowsIt) {
    auto w = Create();
    auto* item = w->findChild<QAction*>(QString::fromLatin1(GetParam().item));
    ASSERT_NE(nullptr, item);
    bool& flag = w->Settings.*GetParam().flag;
    for (const bool start : {true, false}) {
        flag = start;
        w->Options->Options1Click();
        EXPECT_EQ(start, item->isChecked());
        item->trigger();
        EXPECT_EQ(!start, flag);
        w->Options->Options1Click();
        w->Options->Windowdimensions1Click();
        EXPECT_EQ(!start, item->isChecked());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlainToggles,
    ::testing::Values(
        ToggleRow{"Highlightkeywords1", &TSettings::HighLight},
        ToggleRow{"Copyeveryselectiontoclipboard1", &TSettings::SelectCopy},
        ToggleRow{"Trimcutcopy1", &TSettings::Trim},
        ToggleRow{"Askforchangesonexit1", &TSettings::AskChanges},
        ToggleRow{"Addtxttofileswithoutextension1", &TSettings::AddTxt},
        ToggleRow{"ConvertUnixfiles1", &TSettings::Convert},
        ToggleRow{"Setwidthaccordingtowidestlinelengthonload1", &TSettings::AutoWidth},
        ToggleRow{"Setheightaccordingtonumberoflines1", &TSettings::AutoHeight},
        ToggleRow{"AlwaysonTop1", &TSettings::OnTop}, ToggleRow{"miShowButtons", &TSettings::Buttons},
        ToggleRow{"Showlinenumbers1", &TSettings::LineNumbers},
        ToggleRow{"Showspacestabs1", &TSettings::Spaces}, ToggleRow{"miShowCR", &TSettings::Returns},
        ToggleRow{"DragDrop1", &TSettings::DragDrop}, ToggleRow{"LaunchURLs1", &TSettings::Launch}));

TEST_F(OptionsMenu, MarksOfSpacesAndReturnsAreRebuiltFromBothSettings) {
    auto w = Create();
    EXPECT_EQ(0, w->m->ShowNonPrintChars());
    w->Menu.miShowCR->trigger();
    EXPECT_EQ(amNPReturn, w->m->ShowNonPrintChars());
    w->Menu.Showspacestabs1->trigger();
    EXPECT_EQ(amNPSpace | amNPTab | amNPReturn, w->m->ShowNonPrintChars());
    w->Menu.miShowCR->trigger();
    EXPECT_EQ(amNPSpace | amNPTab, w->m->ShowNonPrintChars());
}

TEST_F(OptionsMenu, DragAndDropSetsTheEditorOptionThatForbidsDragging) {
    auto w = Create();
    ASSERT_TRUE(w->Settings.DragDrop);
    const TArtMemoOptions before = w->m->Options();
    w->Menu.DragDrop1->trigger();
    EXPECT_EQ(before.With(amoNoDragnDrop), w->m->Options());
    w->Menu.DragDrop1->trigger();
    EXPECT_EQ(before, w->m->Options());
}

TEST_F(OptionsMenu, AlwaysOnTopMovesTheWindowIntoTheTopBandWithoutMovingIt) {
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    const QRect bounds = w->geometry();
    w->Menu.AlwaysonTop1->trigger();
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(bounds, w->geometry());
    w->Menu.AlwaysonTop1->trigger();
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(OptionsMenu, AlwaysOnTopKeepsAnUnsavedChangeMarked) {
    const std::string file = dir.write("ontop.txt", "abc");
    auto w = Create(file, true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    w->m->SetSelStart(3);
    w->m->SetSelText("d");
    ASSERT_TRUE(w->DocumentModified);
    // Moving the window between bands shows it again; that is no new document.
    for (int i = 0; i < 2; ++i) {
        w->Menu.AlwaysonTop1->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(w->DocumentModified) << i;
        EXPECT_EQ("Zandor - " + file + " *", w->windowTitle().toStdString()) << i;
        EXPECT_EQ(CommandBuilt(*w, w->buttonsave), w->buttonsave->isEnabled()) << i;
    }
    // A later edit still finds the document marked and leaves the title as it is.
    w->m->SetSelText("e");
    EXPECT_EQ("Zandor - " + file + " *", w->windowTitle().toStdString());
}

TEST_F(OptionsMenu, OneInstanceIsStoredAtOnce) {
    auto w = Create();
    ASSERT_FALSE(startup.OneInstance);
    w->Options->Options1Click();
    EXPECT_FALSE(w->Menu.AllowonlyoneZandorinstance1->isChecked());
    w->Menu.AllowonlyoneZandorinstance1->trigger();
    EXPECT_TRUE(startup.OneInstance);
    // Written to the file, not only to the store in memory: the next start reads the file.
    EXPECT_NE(-1, zandor::test::readFile(dir.file("Zandor.ini")).indexOf("OneInstance=1"));
}

TEST_F(OptionsMenu, RadioItemsShowTheirSetting) {
    auto w = Create();
    w->Menu.Exitbutton1->trigger();
    EXPECT_TRUE(w->Settings.ExitFocus);
    w->Options->InitialFocus1Click();
    EXPECT_TRUE(w->Menu.Exitbutton1->isChecked());
    EXPECT_FALSE(w->Menu.Textfield1->isChecked());
    w->Menu.Samewindowforallfiletypes1->trigger();
    EXPECT_TRUE(w->Settings.SameDim);
    w->Menu.Individualdimensions1->trigger();
    EXPECT_FALSE(w->Settings.SameDim);
    w->Options->Windowdimensions1Click();
    EXPECT_TRUE(w->Menu.Individualdimensions1->isChecked());
    EXPECT_FALSE(w->Menu.Samewindowforallfiletypes1->isChecked());
}

TEST_F(OptionsMenu, FontItemForTheExtensionNamesItAndNeedsOne) {
    auto w = Create();
    w->Options->Options1Click();
    EXPECT_FALSE(w->Menu.SetFont2->isEnabled());
    EXPECT_EQ(QStringLiteral("Set Font Style and Color for"), w->Menu.SetFont2->text());
    ASSERT_TRUE(w->Documents->LoadFile(dir.write("Art.NFO", "x")));
    w->Options->Options1Click();
    EXPECT_EQ(CommandBuilt(*w, w->Menu.SetFont2), w->Menu.SetFont2->isEnabled());
    EXPECT_EQ(QStringLiteral("Set Font Style and Color for .nfo..."), w->Menu.SetFont2->text());
}

TEST_F(OptionsMenu, ChosenColoursGoToTheEditorAndCancelKeepsThem) {
    auto w = Create();
    std::optional<platform::TColor> answer = platform::clMaroon;
    platform::TColor asked = -1;
    w->Options->ChooseColor = [&](platform::TColor initial) {
        asked = initial;
        return answer;
    };
    w->Menu.Setcolor1->trigger();
    EXPECT_EQ(0x004A0000, asked);
    EXPECT_EQ(platform::clMaroon, w->m->Color());
    answer = std::nullopt;
    w->Menu.Setcolor1->trigger();
    EXPECT_EQ(platform::clMaroon, w->m->Color());
    answer = platform::clAqua;
    w->Menu.SetHighlightColor1->trigger();
    EXPECT_EQ(platform::clAqua, w->m->HighlightColor());
    answer = platform::clGray;
    w->Menu.SetHighlightBackgroundColor1->trigger();
    EXPECT_EQ(platform::clGray, w->m->HighlightBackgnd());
}

TEST_F(OptionsMenu, TheKeywordListFollowsItsSwitchTheColoursAndTheAddressOption) {
    dir.write("highlight.dat", "word\r\n");
    auto w = Create();
    TURLHighlighter& urls = *w->URLHighlighter1;
    EXPECT_EQ(&urls, w->m->Highlighter());
    EXPECT_EQ(1, w->m->Keywords().Count());

    w->Menu.Highlightkeywords1->trigger();
    EXPECT_FALSE(w->Settings.HighLight);
    EXPECT_EQ(0, w->m->Keywords().Count());
    w->Menu.Highlightkeywords1->trigger();
    EXPECT_EQ(1, w->m->Keywords().Count());

    // Cancel keeps the colour and still applies the list: a word added meanwhile comes in.
    dir.write("highlight.dat", "word\r\nmore\r\n");
    w->Options->ChooseColor = [](platform::TColor) { return std::optional<platform::TColor>(); };
    w->Menu.SetHighlightColor1->trigger();
    EXPECT_EQ(2, w->m->Keywords().Count());
    w->Options->ChooseColor = [](platform::TColor) {
        return std::optional<platform::TColor>(platform::clTeal);
    };
    w->Menu.SetHighlightBackgroundColor1->trigger();
    EXPECT_EQ(platform::clTeal, urls.WebURL().Background());
    EXPECT_EQ(-1, urls.NNTP_URL().Background());

    w->Menu.LaunchURLs1->trigger();
    EXPECT_EQ(nullptr, w->m->Highlighter());
    w->Menu.LaunchURLs1->trigger();
    EXPECT_EQ(&urls, w->m->Highlighter());
}

TEST_F(OptionsMenu, ChoosingALanguageTranslatesMenusButtonsAndTheToolBar) {
    dir.write("languages/German.vlf",
              zandor::test::readFile(std::string(ZANDOR_SOURCE_DIR_BUILT) + "/languages/German.vlf"));
    Store().WriteString("Options", "Language", "English");
    auto w = Create();
    const QList<QAction*> items = w->LanguageMenu->LanguageItems();
    std::vector<std::string> names;
    for (QAction* a : items)
        names.push_back(a->text().toStdString());
    EXPECT_EQ((std::vector<std::string>{"Automatic", "English", "German"}), names);
    EXPECT_TRUE(items[1]->isChecked());
    const QString englishExit = w->buttonexit->text();

    items[2]->trigger();
    EXPECT_EQ("German", w->Settings.Language);
    EXPECT_NE(englishExit, w->buttonexit->text());
    EXPECT_EQ(w->Localisation->GetCaption(13), w->buttonexit->text());
    EXPECT_EQ(w->Localisation->GetCaption(17), w->Menu.File1->title());
    EXPECT_EQ(w->Localisation->GetCaption(17), w->ToolBar1->actions().first()->text());
    EXPECT_EQ(w->Localisation->GetCaption(42), w->Menu.Options2->title());
    // The window's own caption is the file's, never a translation.
    EXPECT_EQ(QStringLiteral("Zandor"), w->windowTitle());
}

TEST_F(OptionsMenu, ShowLineNumbersPutsTheGutterBesideTheEditorWhereBookmarkKeysWorkUntilTheNextLoad) {
    std::string text;
    for (int i = 1; i <= 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    auto w = Create(dir.write("lines.txt", QByteArray::fromStdString(text)), true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    ASSERT_TRUE(w->g->isHidden());
    EXPECT_EQ(0, w->m->x());
    w->Menu.Showlinenumbers1->trigger();
    EXPECT_TRUE(w->Settings.LineNumbers);
    EXPECT_FALSE(w->g->isHidden());
    EXPECT_EQ(w->g->width(), w->m->x());
    EXPECT_EQ(w->m, w->g->ArtMemo());
    EXPECT_EQ(w->m->Color(), w->g->Color());

    w->m->setFocus();
    w->m->SetSelStart(w->m->ParagraphStart(5) + 2);
    PressKey(*w->m, Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier,
             QStringLiteral("#")); // Shift+3 as X delivers it
    EXPECT_EQ(5, w->g->BookmarkLine(3));
    w->m->SetSelStart(0);
    PressKey(*w->m, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(w->m->ParagraphStart(5) + 2, w->m->SelStart());
    EXPECT_EQ(text, w->m->Text()); // the keys typed nothing

    ASSERT_TRUE(w->Documents->LoadFile(dir.write("other.txt", "a\r\nb")));
    EXPECT_EQ(-1, w->g->BookmarkLine(3));
    w->Menu.Showlinenumbers1->trigger();
    EXPECT_TRUE(w->g->isHidden());
    EXPECT_EQ(0, w->m->x());
}

// Options -> Art: nine-pixel cells widen every cell to 9 pixels at once and are stored; the DOS
// aspect changes nothing at x1 and makes the 8x16 cell 43 rows tall at x2. A file whose SAUCE record
// asks for eight-pixel cells and square pixels is shown so whatever the menu says; a new text and the
// next file without a record follow the menu again.
TEST_F(OptionsMenu, TheArtMenuChoosesTheCellsAndASauceRecordOverridesThem) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts are not built";
    const std::string plain = dir.write("plain.nfo", "\xC4\xC4 hi\r\n");
    std::string record = "\x1A"
                         "SAUCE00";
    record.resize(1 + 7 + 35 + 20 + 20 + 8 + 4, ' ');
    record += std::string("\x01\x00", 2) + std::string(9, '\0') + char(0x02 | 0x10) + std::string(22, '\0');
    const std::string told = dir.write("told.nfo", QByteArray::fromStdString("\xC4\xC4 hi\r\n" + record));
    auto w = Create(plain, true);
    TArtMemo& m = *w->m;
    ASSERT_EQ(16, m.LinePixels()) << "art opens in the 8x16 cell";
    ASSERT_EQ(8, m.AvgCharWidth());
    auto* nine = w->findChild<QAction*>(QStringLiteral("NineDotCells1"));
    auto* dos = w->findChild<QAction*>(QStringLiteral("DosAspect1"));
    ASSERT_TRUE(nine && dos);

    nine->trigger();
    EXPECT_EQ(9, m.AvgCharWidth());
    EXPECT_TRUE(Store().ReadBool("Options", "NineDotCells", false));
    dos->trigger();
    EXPECT_EQ(16, m.LinePixels()) << "no stretch at x1";
    EXPECT_TRUE(Store().ReadBool("Options", "DosAspect", false));
    w->findChild<QAction*>(QStringLiteral("ArtScale2x"))->trigger();
    EXPECT_EQ(43, m.LinePixels());
    EXPECT_EQ(18, m.AvgCharWidth());

    ASSERT_TRUE(w->Documents->LoadFile(told));
    EXPECT_EQ(32, m.LinePixels());
    EXPECT_EQ(16, m.AvgCharWidth());
    EXPECT_TRUE(nine->isChecked() && dos->isChecked()) << "the menu keeps the user's choice";
    w->Documents->FileNew1Click();
    EXPECT_TRUE(m.ScreenCells().NineDots && m.ScreenCells().DosAspect) << "a new text has no record";
    ASSERT_TRUE(w->Documents->LoadFile(plain));
    EXPECT_EQ(43, m.LinePixels());
    EXPECT_EQ(18, m.AvgCharWidth());
}
