#include "WindowFixture.h"
#include "commands/FindReplace.h"
#include "documents/Documents.h"
#include "editor/addons/ArtGutter.h"

#include "app/MenuBand.h"
#include "app/OptionsMenu.h"
#include "app/PendingCommands.h"
#include "editor/control/ArtMemo.h"
#include "localisation/LanguageMenu.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

using Window = WindowFixture;

} // namespace

TEST_F(Window, TitleFollowsTheFileAndTheModifiedState) {
    auto w = Create();
    EXPECT_EQ("Zandor", w->windowTitle().toStdString());
    w->DocumentModified = true;
    w->UpdateTitle();
    EXPECT_EQ("Zandor *", w->windowTitle().toStdString());
    EXPECT_EQ("Zandor *", w->ApplicationTitle);

    const std::string file = dir.write("docs/Art.NFO", "x");
    ASSERT_TRUE(w->Documents->LoadFile(file));
    EXPECT_EQ("Zandor - " + file, w->windowTitle().toStdString());
    EXPECT_EQ("Art.NFO", w->ApplicationTitle);
    EXPECT_EQ(".nfo", w->CurrentExt);
    EXPECT_EQ("nfo", w->WindowSection);
    w->DocumentModified = true;
    w->UpdateTitle();
    EXPECT_EQ("Zandor - " + file + " *", w->windowTitle().toStdString());
    EXPECT_EQ("* Art.NFO", w->ApplicationTitle);
    EXPECT_EQ(QStringLiteral("* Art.NFO"), w->windowIconText());
}

TEST_F(Window, AFileNamedAtStartIsShownByteForByteInTheEditor) {
    const QByteArray bytes("\xC9\xCD\xBB art\r\nsecond line\r\n\xB0\xB1\xB2");
    const std::string file = dir.write("art.diz", bytes);
    auto w = Create(file);
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_EQ(3, w->m->ParagraphCount());
    EXPECT_EQ(bytes.toStdString(), w->m->Text());
    EXPECT_FALSE(w->DocumentModified);
    EXPECT_FALSE(w->buttonsave->isEnabled());
    auto other = Create(dir.file("missing.nfo"));
    EXPECT_EQ("", other->CurrentFile);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Window, AnUnreadableFileIsReportedAndChangesNothing) {
    const std::string file = dir.write("keep.txt", "kept");
    auto w = Create(file);
    const std::string folder = dir.file("a-folder.nfo");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    EXPECT_FALSE(w->Documents->LoadFile(folder));
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_EQ("kept", w->m->Text());
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find(folder));
}

TEST_F(Window, AnEditMarksTheDocumentOnceAndEnablesSave) {
    const std::string file = dir.write("edit.txt", "abc");
    auto w = Create(file);
    w->m->SetSelStart(3);
    w->m->SetSelText("d");
    EXPECT_TRUE(w->DocumentModified);
    // Offered once saving is part of the program (until then the command stays disabled).
    EXPECT_EQ(CommandBuilt(*w, w->buttonsave), w->buttonsave->isEnabled());
    EXPECT_EQ("Zandor - " + file + " *", w->windowTitle().toStdString());
    w->File1Click();
    EXPECT_EQ(CommandBuilt(*w, w->Menu.Save1), w->Menu.Save1->isEnabled());
    EXPECT_EQ(CommandBuilt(*w, w->Menu.Properties1), w->Menu.Properties1->isEnabled());
}

TEST_F(Window, FileMenuEnablesSaveOnlyForAChangedNamedFile) {
    auto w = Create();
    w->DocumentModified = true;
    w->File1Click();
    EXPECT_FALSE(w->Menu.Save1->isEnabled()); // no name yet
    EXPECT_FALSE(w->Menu.Properties1->isEnabled());
    w->CurrentFile = dir.file("gone.txt");
    w->File1Click();
    EXPECT_EQ(CommandBuilt(*w, w->Menu.Save1), w->Menu.Save1->isEnabled());
    EXPECT_FALSE(w->Menu.Properties1->isEnabled()); // the file does not exist
}

struct SectionRow {
    const char* name;
    const char* section;
};

class WindowSectionRows : public Window, public ::testing::WithParamInterface<SectionRow> {};

TEST_P(WindowSectionRows, ComesFromAnExtensionOfThreeOrMoreLetters) {
    auto w = Create();
    w->CurrentFile = GetParam().name;
    w->UpdateTitle();
    EXPECT_EQ(GetParam().section, w->WindowSection);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowSectionRows,
                         ::testing::Values(SectionRow{"/a/b.nfo", "nfo"}, SectionRow{"/a/b.NFO", "nfo"},
                                           SectionRow{"/a/b.html", "html"}, SectionRow{"/a/b.c", "Other"},
                                           SectionRow{"/a/b.md", "Other"},
                                           SectionRow{"/a.dir/readme", "Other"}, SectionRow{"", "Other"}));

TEST_F(Window, AHandedOverNameIsOpenedOnTheTimer) {
    auto w = Create();
    const std::string file = dir.write("handed.nfo", "x");
    w->NewFileWndProc(file);
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_TRUE(ProcessUntil([&] { return !w->CurrentFile.empty(); }));
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_FALSE(w->Timer1->isActive()); // one message, one tick
}

TEST_F(Window, AHandOffRestoresAMinimisedWindowToItsFormerState) {
    startup.SharedMem->Data[0] = 0; // no file comes with it
    for (const bool maximised : {true, false}) {
        auto w = Create("", true);
        w->show();
        if (maximised)
            w->showMaximized();
        w->showMinimized();
        ASSERT_TRUE(ProcessUntil([&] { return w->isMinimized(); }));
        w->Timer1Timer();
        EXPECT_TRUE(ProcessUntil([&] { return !w->isMinimized(); }));
        EXPECT_EQ(maximised, w->isMaximized());
    }
}

TEST_F(Window, TheEditorsDrawNoLineBelowTheText) {
    auto w = Create(dir.write("short.txt", "one line"), true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    for (TArtMemo* memo : {w->m, w->PrintMemo}) {
        memo->resize(300, 200);
        const QImage image = memo->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += image.pixelColor(x, y) == QColor(Qt::red);
        EXPECT_EQ(0, red) << memo->objectName().toStdString();
    }
}

TEST_F(Window, AnEmptyHandedOverNameChangesNothing) {
    const std::string file = dir.write("open.nfo", "x");
    auto w = Create(file);
    startup.SharedMem->Data[0] = 0;
    w->Timer1Timer();
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_FALSE(w->DocumentModified);
}

TEST_F(Window, ClosingSavesTheSettingsWithTheEditorsState) {
    {
        auto w = Create();
        w->Settings.OnTop = true;
        w->FindReplace->ReplaceDialog1->FindText->setText(QStringLiteral("needle")); // the dialog holds it
        w->m->SetColor(0x00123456);
        w->m->SetWordWrap(false);
        w->close();
    }
    const QByteArray ini = zandor::test::readFile(dir.file("Zandor.ini"));
    EXPECT_NE(-1, ini.indexOf("OnTop=1"));
    EXPECT_NE(-1, ini.indexOf("Text=needle"));
    EXPECT_NE(-1, ini.indexOf("Version=4.8"));
    EXPECT_NE(-1, ini.indexOf("BackColor=$00123456"));
    EXPECT_NE(-1, ini.indexOf("WordWrap=0"));
    EXPECT_NE(-1, ini.indexOf("[Other]"));
    EXPECT_NE(-1, ini.indexOf("Language=English"));
}

TEST_F(Window, StoredSettingsReachTheEditorAndThePanels) {
    Store().WriteString("Options", "BackColor", "clNavy");
    Store().WriteString("Options", "HLColor", "clRed");
    Store().WriteBool("Options", "WordWrap", false);
    Store().WriteBool("Options", "Spaces", true);
    Store().WriteBool("Options", "Returns", true);
    Store().WriteBool("Options", "DragDrop", false);
    Store().WriteBool("Options", "Buttons", false);
    Store().WriteString("Options", "Font5", "ZandorTiny,6,0000,clYellow");
    Store().WriteString("Options", "PrintFont", "Liberation Mono,11,0100,clBlack");
    auto w = Create();
    EXPECT_EQ(platform::clNavy, w->m->Color());
    EXPECT_EQ(platform::clRed, w->m->HighlightColor());
    EXPECT_EQ(platform::clBlack, w->m->HighlightBackgnd()); // not stored: the editor's own
    EXPECT_FALSE(w->m->WordWrap());
    EXPECT_EQ(amNPSpace | amNPTab | amNPReturn, w->m->ShowNonPrintChars());
    EXPECT_TRUE(w->m->Options().Has(amoNoDragnDrop));
    EXPECT_TRUE(w->PanelBottom->isHidden());
    EXPECT_EQ("ZandorTiny", w->m->Font().Name);
    EXPECT_EQ(platform::clYellow, w->m->Font().Color);
    EXPECT_EQ("Liberation Mono", w->PrintMemo->Font().Name);
    EXPECT_TRUE(w->PrintMemo->Font().HasStyle(platform::fsItalic));
}

TEST_F(Window, TheEditorStartsAsTheDocumentEditorIsMeantToBe) {
    auto w = Create();
    TArtMemo& m = *w->m;
    EXPECT_EQ(bsNone, m.BorderStyle());
    EXPECT_EQ(ssBoth, m.ScrollBars());
    EXPECT_FALSE(m.HideSelection());
    EXPECT_EQ(0x004A0000, m.Color());
    EXPECT_EQ(platform::clLime, m.HighlightColor());
    EXPECT_EQ(500000, m.UndoMaxSpace());
    EXPECT_EQ(TArtMemoOptions({amoWrapCaret, amoInsertKeyActive, amoWideOverwriteCaret, amoAutoScrollBars,
                               amoAutoIndent, amoBlockSelection, amoPlainClipboard, amoSmartTabs}),
              m.Options());
    EXPECT_TRUE(w->PrintMemo->isHidden());
    EXPECT_EQ("Courier New", w->PrintMemo->Font().Name);
    EXPECT_EQ(9, w->PrintMemo->Font().PointSize());
    EXPECT_TRUE(w->g->isHidden());
    EXPECT_EQ(QStringLiteral("0,0"), w->lbPosition->text());
}

struct FontRow {
    const char* file;
    const char* storedFont5;   // "" when none is stored
    const char* storedForType; // "" when none is stored
    const char* face;
    int size;
    int charset;
};

class EditorFonts : public Window, public ::testing::WithParamInterface<FontRow> {};

TEST_P(EditorFonts, FollowTheFileTypeTheDefaultFontAndTheFontStoredForTheType) {
    const FontRow& row = GetParam();
    const std::string ext = LowerExtension(row.file);
    if (*row.storedFont5)
        Store().WriteString("Options", "Font5", row.storedFont5);
    if (*row.storedForType)
        Store().WriteString("Fonts", ext, row.storedForType);
    auto w = Create(*row.file ? dir.write(row.file, "text") : std::string());
    EXPECT_EQ(row.face, w->m->Font().Name);
    EXPECT_EQ(row.size, w->m->Font().PointSize());
    EXPECT_EQ(row.charset, w->m->Font().Charset);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EditorFonts,
    ::testing::Values(
        FontRow{"", "", "", "MS Sans Serif", 8, 0}, FontRow{"a.txt", "", "", "MS Sans Serif", 8, 0},
        FontRow{"a.nfo", "", "", "ZandorLarge", 12, 255}, FontRow{"A.DIZ", "", "", "ZandorLarge", 12, 255},
        // The default font replaces the art font too; a missing character set is ANSI.
        FontRow{"a.nfo", "Courier New,10,0000,clRed", "", "Courier New", 10, 0},
        FontRow{"a.txt", "Courier New,10,0000,clRed", "", "Courier New", 10, 0},
        // The font of the type wins; a screen font always shows the OEM set.
        FontRow{"a.txt", "Courier New,10,0000,clRed", "ZandorTiny,6,0000,clWhite", "ZandorTiny", 6, 255},
        FontRow{"a.ini", "", "Courier New,x,0000,clRed", "MS Sans Serif", 8, 0}));

TEST_F(Window, CaretPositionIsShownFromOne) {
    auto w = Create(dir.write("pos.txt", "first\r\nsecond line"));
    w->m->SetSelStart(7 + 3); // "sec|ond"
    w->UpdateCaretPosition();
    EXPECT_EQ(QStringLiteral("2,4"), w->lbPosition->text());
    w->m->SetSelStart(0);
    w->UpdateCaretPosition();
    EXPECT_EQ(QStringLiteral("1,1"), w->lbPosition->text());
}

TEST_F(Window, TheLayoutPutsTheBandOnTopTheEditorBelowAndTheButtonsAtTheBottom) {
    auto w = Create("", true);
    w->resize(700, 500);
    w->FormResize();
    const int band = w->ToolBar1->height();
    // The status panel at the right end is at least 80 wide, wide enough for the encoding beside a
    // caret place of many digits; the band takes the rest.
    const int status = w->StatusPanel->width();
    const QFontMetrics metrics(w->lbPosition->font());
    EXPECT_EQ("CP1252", w->StatusPanel->lbEncoding->text().toStdString());
    EXPECT_GE(status, std::max(80, metrics.horizontalAdvance(QStringLiteral("CP1252 99999,999"))));
    EXPECT_EQ(QRect(0, 0, 700 - status, band), w->ToolBar1->geometry());
    EXPECT_EQ(700 - status - 1, w->StatusPanel->x());
    EXPECT_EQ(band, w->StatusPanel->height());
    EXPECT_EQ(QRect(0, band, 700, 500 - band - 26 + 1), w->MemoPanel->geometry());
    EXPECT_EQ(QRect(0, 474, 700, 26), w->PanelBottom->geometry());
    EXPECT_EQ(w->MemoPanel->size(), w->m->size());
    // The last button ends at the panel's right edge.
    EXPECT_EQ(700, w->buttonexit->geometry().right() + 1);
    EXPECT_EQ(70, w->buttonsave->width());

    // "Show Buttons" off: the editor takes the bottom panel's place.
    w->Menu.miShowButtons->trigger();
    EXPECT_FALSE(w->Settings.Buttons);
    EXPECT_TRUE(w->PanelBottom->isHidden());
    EXPECT_EQ(500 - band + 1, w->MemoPanel->height());
}

TEST_F(Window, OnlyTheExitButtonTakesPartInTabbing) {
    auto w = Create();
    for (QPushButton* b : {w->buttoncopy, w->buttoncut, w->buttonpaste, w->buttonsave})
        EXPECT_EQ(Qt::NoFocus, b->focusPolicy()) << b->objectName().toStdString();
    EXPECT_NE(Qt::NoFocus, w->buttonexit->focusPolicy());
    EXPECT_TRUE(w->buttonexit->font().bold());
}

TEST_F(Window, EscapeInTheEditorClosesTheWindow) {
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w->m, &escape);
    EXPECT_TRUE(ProcessUntil([&] { return !w->isVisible(); }));
    // Closing wrote the settings.
    EXPECT_NE(-1, zandor::test::readFile(dir.file("Zandor.ini")).indexOf("Version=4.8"));
}

TEST_F(Window, AnUnwritableSettingsFileIsReportedOnceAndTheWindowStillCloses) {
    auto w = Create();
    w->show();
    // A folder where the settings file should be makes every write of it fail, even for root.
    ASSERT_EQ(0, mkdir(dir.file("Zandor.ini").c_str(), 0700));
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(1u, messages.size());
    EXPECT_NE(std::string::npos, messages[0].find("Zandor.ini"));
    w->close();
    EXPECT_EQ(1u, messages.size());
}

TEST_F(Window, ExitButtonAndExitItemCloseTheWindow) {
    for (const bool useButton : {true, false}) {
        auto w = Create("", true);
        w->show();
        ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
        if (useButton)
            w->buttonexit->click();
        else
            w->Menu.Exit1->trigger();
        EXPECT_TRUE(ProcessUntil([&] { return !w->isVisible(); })) << (useButton ? "button" : "menu item");
    }
}

TEST_F(Window, InitialFocusGoesToTheEditorOrTheExitButton) {
    for (const bool exitFocus : {false, true}) {
        Store().WriteBool("Options", "ExitFocus", exitFocus);
        auto w = Create(dir.write("focus.txt", "text"));
        const QWidget* expected = exitFocus ? static_cast<QWidget*>(w->buttonexit) : w->m;
        EXPECT_EQ(expected, w->focusWidget()) << exitFocus;
    }
}

TEST_F(Window, SettingsOfTheWrongTypeAreReportedAndRepairedByTheNextClose) {
    // The per-user store, where every value carries its type.
    std::remove(dir.file("usb.dat").c_str());
    ChooseSettingsLocation(startup, dir.path(), dir.path() + "config/");
    ASSERT_FALSE(startup.PortableMode);
    CreateSettingsStore(startup);
    Store().WriteString("Options", "WordWrap", "0");
    Store().WriteString("Options", "OneInstance", "1");
    Store().WriteInteger("Options", "Font5", 7);
    Store().WriteBool("Options", "Spaces", true);
    PrepareHandOff(startup);
    EXPECT_TRUE(startup.OneInstance); // the user's choice, though stored as text

    auto w = Create();
    QApplication::processEvents();
    // Each bad value is named; the good ones around it still count.
    const auto reported = [&](const char* name) {
        return std::any_of(messages.begin(), messages.end(),
                           [&](const std::string& m) { return m.find(name) != std::string::npos; });
    };
    EXPECT_TRUE(reported("Options_WordWrap"));
    EXPECT_TRUE(reported("Options_Font5"));
    EXPECT_TRUE(w->m->WordWrap());
    EXPECT_TRUE(w->Settings.Spaces);
    EXPECT_NE(0, w->m->ShowNonPrintChars() & amNPSpace);
    EXPECT_EQ("MS Sans Serif", w->m->Font().Name);

    ASSERT_TRUE(w->close());
    CreateSettingsStore(startup);
    EXPECT_TRUE(Store().ReadBool("Options", "WordWrap", false));
    EXPECT_EQ(1, Store().ReadInteger("Options", "OneInstance", 0));
    messages.clear();
    auto again = Create();
    QApplication::processEvents();
    EXPECT_FALSE(reported("Options_WordWrap"));
    EXPECT_TRUE(again->Settings.Spaces);
}
