// The menus of the main window: what each item is called, its text number, caption and shortcut,
// where the separators stand, and the tool bar that shows the top-level menus.
#include "WindowFixture.h"

#include "app/MenuBand.h"
#include "documents/Documents.h"
#include "editor/control/ArtMemo.h"
#include "localisation/LanguageMenu.h"
#include "localisation/Tag.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

#include <map>
#include <vector>

// The GUI library's entry for simulated typing: the key goes through the shortcut map as a key from
// the window system would, before any widget sees it. True when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

using namespace zandor;
using zandor::test::readFile;
using zandor::test::WindowFixture;

namespace {

// Every item of a menu and its submenus.
void CollectItems(const QMenu* menu, std::vector<QAction*>& items) {
    for (QAction* a : menu->actions()) {
        if (const QMenu* sub = a->menu<QMenu*>())
            CollectItems(sub, items);
        else if (!a->isSeparator())
            items.push_back(a);
    }
}

struct ItemRow {
    const char* name;
    int tag;
    const char* caption;
    const char* shortcut;
};

class MenuItems : public WindowFixture, public ::testing::WithParamInterface<ItemRow> {};

// A caption as the user reads it: the "&" in front of a keyboard mnemonic is not shown (the
// language file gives the menu item "Save" the button's "&Save").
std::string Shown(QString caption) {
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return caption.toStdString();
}

// Captions in a menu: items by text, separators as "-", submenus by title.
std::vector<std::string> Layout(const QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* a : menu->actions())
        items.push_back(a->isSeparator() ? "-" : Shown(a->text()));
    return items;
}

} // namespace

TEST_P(MenuItems, CarryTheirNumberCaptionAndShortcut) {
    auto w = Create();
    const ItemRow& row = GetParam();
    auto* action = w->findChild<QAction*>(QString::fromLatin1(row.name));
    ASSERT_NE(nullptr, action) << row.name;
    EXPECT_EQ(row.tag, TagOf(action)) << row.name;
    EXPECT_EQ(Shown(QString::fromLatin1(row.caption)), Shown(action->text())) << row.name;
    EXPECT_EQ(row.shortcut, action->shortcut().toString(QKeySequence::PortableText).toStdString())
        << row.name;
}

INSTANTIATE_TEST_SUITE_P(File, MenuItems,
                         ::testing::Values(ItemRow{"New1", 18, "New", "Ctrl+N"},
                                           ItemRow{"Open1", 19, "Open...", "Ctrl+O"},
                                           ItemRow{"Save1", 21, "Save", "Ctrl+S"},
                                           ItemRow{"Saveas1", 22, "Save as...", "F12"},
                                           ItemRow{"Saveasgraphic1", 26, "Save as GIF image...", ""},
                                           ItemRow{"Properties1", 27, "Properties...", ""},
                                           ItemRow{"Print1", 23, "Print...", "Ctrl+P"},
                                           ItemRow{"PrintPreview1", 24, "Print Preview...", ""},
                                           ItemRow{"Exit1", 25, "Exit", ""}));

INSTANTIATE_TEST_SUITE_P(
    Options, MenuItems,
    ::testing::Values(
        ItemRow{"Setcolor1", 43, "Set Background Color...", ""},
        ItemRow{"SetFont1", 44, "Set default Font Style and Color...", ""},
        ItemRow{"options_showfont", 16, "Show current Font...", ""},
        ItemRow{"SetPrintFont1", 45, "Set Print Font...", ""},
        ItemRow{"Edithighlightlist1", 46, "Edit Highlight List...", "Ctrl+H"},
        ItemRow{"Highlightkeywords1", 47, "Highlight Keywords", ""},
        ItemRow{"SetHighlightBackgroundColor1", 48, "Set Highlight Background Color...", ""},
        ItemRow{"SetHighlightColor1", 49, "Set Highlight Foreground Color...", ""},
        ItemRow{"Copyeveryselectiontoclipboard1", 50, "Auto-Copy Selection to Clipboard", ""},
        ItemRow{"Trimcutcopy1", 51, "Trim Selection before Copy", ""},
        ItemRow{"Askforchangesonexit1", 52, "Ask to save changes on load/exit", ""},
        ItemRow{"Addtxttofileswithoutextension1", 70, "Add .txt to files without extension", ""},
        ItemRow{"ConvertUnixfiles1", 53, "Convert Unix files to Windows", ""},
        ItemRow{"DragDrop1", 38, "Drag && Drop", ""}, ItemRow{"LaunchURLs1", 54, "Launch URLs on click", ""},
        ItemRow{"Showlinenumbers1", 118, "Show Line Numbers", ""},
        ItemRow{"Showspacestabs1", 55, "Show Spaces/Tabs", ""},
        ItemRow{"miShowCR", 120, "Show Carriage Returns", ""},
        ItemRow{"miShowButtons", 119, "Show Buttons", ""}, ItemRow{"Wordwrap1", 56, "Wordwrap", "Ctrl+W"},
        ItemRow{"AllowonlyoneZandorinstance1", 57, "Allow only one Zandor instance", ""},
        ItemRow{"AlwaysonTop1", 58, "Always on Top", ""}, ItemRow{"Exitbutton1", 60, "Exit button", ""},
        ItemRow{"Textfield1", 61, "Edit area", ""},
        ItemRow{"Setwidthaccordingtowidestlinelengthonload1", 64,
                "Set width according to widest line (on load)", ""},
        ItemRow{"Setheightaccordingtonumberoflines1", 65, "Set height according to number of lines (on load)",
                ""},
        ItemRow{"Samewindowforallfiletypes1", 66, "Same dimensions for all file types", ""},
        ItemRow{"Individualdimensions1", 67, "Individual dimensions", ""}));

INSTANTIATE_TEST_SUITE_P(
    ContextTwins, MenuItems,
    ::testing::Values(ItemRow{"Undo2", 30, "Undo", "Ctrl+Z"}, ItemRow{"Redo2", 115, "Redo", "Ctrl+Y"},
                      ItemRow{"Cut2", 31, "Cut", "Ctrl+X"}, ItemRow{"Copy2", 32, "Copy", "Ctrl+C"},
                      ItemRow{"Paste2", 33, "Paste", "Ctrl+V"},
                      ItemRow{"SelectAll2", 37, "Select All", "Ctrl+A"},
                      ItemRow{"shortcut_insert", 14, "Insert character from ASCII table...", "Ctrl+I"},
                      ItemRow{"shortcut_format_capitalize", 15, "Capitalize", "Ctrl+Q"},
                      ItemRow{"Deleteline2", 116, "Delete line", "Ctrl+E"},
                      ItemRow{"FindReplace1", 34, "Find/Replace...", "Ctrl+F"},
                      ItemRow{"FindNext2", 35, "Find/Replace Next", "F3"},
                      ItemRow{"FindPrev2", 36, "Find Previous", "Ctrl+F3"},
                      ItemRow{"DateTime1", 117, "Date/Time", "Ctrl+D"},
                      ItemRow{"Saveas2", 22, "Save as...", "F12"},
                      ItemRow{"EditHighlightList2", 46, "Edit Highlight List...", "Ctrl+H"},
                      ItemRow{"Wordwrap2", 56, "Wordwrap", "Ctrl+W"}));

TEST_F(WindowFixture, SeparatorsStandWhereTheMenusGroupTheirItems) {
    auto w = Create();
    using V = std::vector<std::string>;
    // The neighbours of the file stand with Open.
    EXPECT_EQ((V{"New", "Open...", "Next File in Folder", "Previous File in Folder", "-", "Save",
                 "Save as...", "Save as GIF image...", "-", "Properties...", "Recent files",
                 "Reopen with encoding", "-", "Print...", "Print Preview...", "-", "Exit"}),
              Layout(w->Menu.File1));
    const V options = Layout(w->Menu.Options1);
    const auto after = [&](const char* caption) {
        const auto it = std::find(options.begin(), options.end(), caption);
        return it != options.end() && it + 1 != options.end() && *(it + 1) == "-";
    };
    for (const char* caption :
         {"Set Print Font...", "Set Highlight Foreground Color...", "Trim Selection before Copy", "Wordwrap"})
        EXPECT_TRUE(after(caption)) << caption;
    EXPECT_EQ(4, std::count(options.begin(), options.end(), "-"));
    EXPECT_EQ((V{"Set width according to widest line (on load)",
                 "Set height according to number of lines (on load)", "-",
                 "Same dimensions for all file types", "Individual dimensions"}),
              Layout(w->Menu.Windowdimensions1));
    EXPECT_EQ((V{"Undo", "Redo", "-", "Cut", "Copy", "Paste", "-", "Select All",
                 "Insert character from ASCII table...", "-", "Format", "Edit", "File", "Options"}),
              Layout(w->Menu.PopupMenu1));
    EXPECT_EQ(
        (V{"Delete line", "-", "Find/Replace...", "Find/Replace Next", "Find Previous", "-", "Date/Time"}),
        Layout(w->Menu.Edit2));
    EXPECT_EQ((V{"New", "Open...", "-", "Save", "Save as...", "-", "Print...", "Print Preview..."}),
              Layout(w->Menu.File2));
    EXPECT_EQ(Layout(w->Menu.edit_format), Layout(w->Menu.shortcut_format));
    // The language items come first, then a separator and the translator download.
    const V language = Layout(w->Menu.options_language);
    ASSERT_GE(language.size(), 3u);
    EXPECT_EQ("Automatic", language[0]);
    EXPECT_EQ("-", language[language.size() - 2]);
    EXPECT_EQ("Download Translator", language.back());
}

TEST_F(WindowFixture, RecentFilesAndRepeatedSearchStartDisabled) {
    auto w = Create();
    EXPECT_FALSE(w->Menu.file_recentfiles->menuAction()->isEnabled());
    EXPECT_FALSE(w->Menu.FindNext1->isEnabled());
    EXPECT_FALSE(w->Menu.FindPrev2->isEnabled());
}

// Every command of the menus works now: in a named, changed document their preparation offers them.
TEST_F(WindowFixture, TheMenusOfferTheirCommands) {
    auto w = Create(dir.write("named.txt", "text"));
    w->mChange(); // a named, changed document: the state in which Save is offered
    emit w->Menu.File1->aboutToShow();
    emit w->Menu.Edit1->aboutToShow();
    for (const QAction* item :
         {w->Menu.Exit1,       w->Menu.Wordwrap1,      w->Menu.Wordwrap2,     w->Menu.Setcolor1,
          w->Menu.Save1,       w->Menu.Save2,          w->Menu.Open1,         w->Menu.Saveas1,
          w->Menu.New2,        w->Menu.SetFont1,       w->Menu.SelectAll1,    w->Menu.Cut2,
          w->Menu.Copy2,       w->Menu.Saveasgraphic1, w->Menu.Contents1,     w->Menu.About1,
          w->Menu.Deleteline2, w->Menu.edit_insert,    w->Menu.TimeDate1,     w->Menu.options_showfont,
          w->Menu.Print1,      w->Menu.PrintPreview2,  w->Menu.SetPrintFont1, w->Menu.Find1,
          w->Menu.FindReplace1})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    for (const QPushButton* button :
         {w->buttonexit, w->buttoncopy, w->buttoncut, w->buttonpaste, w->buttonsave})
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
}

// Web addresses are texts of the program that lead users somewhere: they stand in one table, and an
// item without an address of the project's own is not shown.
TEST_F(WindowFixture, WebAddressesLiveInOneTableAndItemsWithoutOneAreHidden) {
    auto w = Create();
    EXPECT_FALSE(w->LanguageMenu->miDownloadTranslator->isVisible());
    for (const QAction* item :
         {w->Menu.DonatePaypal1, w->Menu.Lookfornewversion1, w->Menu.OtherVeltraneSoftware1})
        EXPECT_FALSE(item->isVisible()) << item->objectName().toStdString();
    // An address, not a bare scheme or prefix such as address recognition names ("HTTP://", "WWW.").
    const QRegularExpression address(QStringLiteral(R"((https?://|www\.)[a-z0-9])"),
                                     QRegularExpression::CaseInsensitiveOption);
    QDirIterator sources(QStringLiteral(ZANDOR_SOURCE_DIR_BUILT "/src"),
                         {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
    int files = 0;
    while (sources.hasNext()) {
        const QString path = sources.next();
        ++files;
        if (path.endsWith(QStringLiteral("/host/WebAddresses.h")))
            continue;
        for (const QByteArray& line : readFile(path.toStdString()).split('\n'))
            if (address.match(QString::fromLatin1(line)).hasMatch())
                ADD_FAILURE() << path.toStdString() << ": " << line.toStdString();
    }
    EXPECT_GT(files, 100);
}

TEST_F(WindowFixture, TheToolBarShowsTheTopLevelMenusAsItsButtons) {
    auto w = Create();
    std::vector<std::string> captions;
    for (QAction* a : w->ToolBar1->actions()) {
        captions.push_back(a->text().toStdString());
        auto* button = qobject_cast<QToolButton*>(w->ToolBar1->widgetForAction(a));
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(QToolButton::InstantPopup, button->popupMode());
        EXPECT_NE(nullptr, a->menu<QMenu*>());
    }
    EXPECT_EQ((std::vector<std::string>{"File", "Edit", "Options", "Help"}), captions);
}

TEST_F(WindowFixture, BothWordwrapItemsToggleTheEditorsWordWrap) {
    auto w = Create();
    const bool wrap = w->m->WordWrap();
    w->Menu.Wordwrap1->trigger();
    EXPECT_NE(wrap, w->m->WordWrap());
    w->Menu.Wordwrap2->trigger();
    EXPECT_EQ(wrap, w->m->WordWrap());
    // The context menu's item shows the editor's state when its submenu opens.
    emit w->Menu.Options2->aboutToShow();
    EXPECT_EQ(wrap, w->Menu.Wordwrap2->isChecked());
}

TEST_F(WindowFixture, ToolBarAndStatusPanelPaintOneBand) {
    auto w = Create("", true);
    w->resize(700, 500);
    w->FormResize();
    const QImage bar = w->ToolBar1->grab().toImage();
    const QImage panel = w->StatusPanel->grab().toImage();
    ASSERT_EQ(bar.height(), panel.height());
    // The tool bar's right end holds no button and the status panel's left end no text: row by row
    // both show the same background, so the two read as one strip.
    bool shaded = false;
    for (int y = 0; y < bar.height(); ++y) {
        EXPECT_EQ(bar.pixel(bar.width() - 2, y), panel.pixel(1, y)) << "row " << y;
        shaded = shaded || bar.pixel(bar.width() - 2, y) != bar.pixel(bar.width() - 2, 0);
    }
    EXPECT_TRUE(shaded) << "the band has a gradient, not a flat fill";
}

TEST_F(WindowFixture, MenuKeysReachTheirItemsWhileTheEditorHasTheFocus) {
    auto w = Create("", true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    w->m->setFocus();
    std::vector<QAction*> mainItems;
    for (const QMenu* menu : {w->Menu.File1, w->Menu.Edit1, w->Menu.Options1, w->Menu.Help1})
        CollectItems(menu, mainItems);
    std::vector<QAction*> everyItem = mainItems;
    CollectItems(w->Menu.PopupMenu1, everyItem);
    std::map<QAction*, int> fired;
    for (QAction* a : everyItem)
        QObject::connect(a, &QAction::triggered, w.get(), [&fired, a] { ++fired[a]; });

    // The character table (Ctrl+I) is a modal window: it is closed as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(10);
    int keys = 0;
    for (QAction* item : mainItems) {
        if (item->shortcut().isEmpty())
            continue;
        ++keys;
        // The window becomes active again after the modal table closed.
        if (!w->isActiveWindow()) {
            w->activateWindow();
            ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
            w->m->setFocus();
        }
        fired.clear();
        const QKeyCombination key = item->shortcut()[0];
        const bool taken = qt_sendShortcutOverrideEvent(w->m, 0, key.key(), key.keyboardModifiers());
        const std::string what =
            item->objectName().toStdString() + " " + item->shortcut().toString().toStdString();
        // Only the item itself answers: neither its context-menu twin nor any other item runs too.
        if (item->isEnabled()) {
            EXPECT_TRUE(taken) << what;
            EXPECT_EQ((std::map<QAction*, int>{{item, 1}}), fired) << what;
        } else {
            EXPECT_TRUE(fired.empty()) << what;
        }
    }
    EXPECT_GE(keys, 20);
}

TEST_F(WindowFixture, CtrlWInTheEditorTogglesWordWrapOnce) {
    auto w = Create("", true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    w->m->setFocus();
    const bool wrap = w->m->WordWrap();
    qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_W, Qt::ControlModifier);
    EXPECT_NE(wrap, w->m->WordWrap());
    qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(wrap, w->m->WordWrap());
}

TEST_F(WindowFixture, UndoAndRedoItemsFollowTheEditorAndTheirKeysAct) {
    auto w = Create("", true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    TArtMemo& m = *w->m;
    m.setFocus();
    const auto enabled = [&] {
        emit w->Menu.Edit1->aboutToShow();
        emit w->Menu.PopupMenu1->aboutToShow();
        const bool undo = w->Menu.Undo1->isEnabled(), redo = w->Menu.Redo1->isEnabled();
        EXPECT_EQ(undo, w->Menu.Undo2->isEnabled());
        EXPECT_EQ(redo, w->Menu.Redo2->isEnabled());
        return std::pair{undo, redo};
    };
    EXPECT_EQ(std::pair(false, false), enabled()) << "nothing to undo in a new document";
    EXPECT_FALSE(qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_Z, Qt::ControlModifier));

    m.SetSelText("hello");
    m.SetSelStart(0);
    m.SetSelText("say ");
    EXPECT_EQ(std::pair(true, false), enabled());
    // The key works without the menu having been opened since the edit.
    EXPECT_TRUE(qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ("hello", m.Text());
    EXPECT_EQ(std::pair(true, true), enabled());
    w->Menu.Redo2->trigger();
    EXPECT_EQ("say hello", m.Text());
    w->Menu.Undo2->trigger();
    w->Menu.Undo1->trigger();
    EXPECT_EQ("", m.Text());
    EXPECT_EQ(std::pair(false, true), enabled());
    EXPECT_TRUE(qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_Y, Qt::ControlModifier));
    EXPECT_EQ("hello", m.Text());
    EXPECT_TRUE(w->DocumentModified);
}

// A menu that was opened while nothing could be done leaves its items free to follow the document:
// the File menu opened on an unchanged file, then an edit, and Ctrl+S saves without the menu having
// been opened again. The items that follow the name do so at once as well.
TEST_F(WindowFixture, TheSaveKeyFollowsAnEditAfterTheFileMenuWasOpenedOnAnUnchangedFile) {
    const std::string file = dir.write("notes.txt", "text");
    auto w = Create(file, true);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return w->isActiveWindow(); }));
    w->Menu.File1->popup(w->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(ProcessUntil([&] { return w->Menu.File1->isVisible(); }));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w->Menu.File1, &escape);
    ASSERT_TRUE(ProcessUntil([&] { return !w->Menu.File1->isVisible() && w->isActiveWindow(); }));

    w->m->setFocus();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(w->m, &typed);
    ASSERT_TRUE(w->DocumentModified);
    EXPECT_TRUE(qt_sendShortcutOverrideEvent(w->m, 0, Qt::Key_S, Qt::ControlModifier));
    EXPECT_EQ("xtext", readFile(file).toStdString());
    EXPECT_FALSE(w->Menu.Save1->isEnabled()) << "saved: nothing left to save";

    w->Menu.New1->trigger();
    EXPECT_FALSE(w->Menu.Properties1->isEnabled());
    EXPECT_FALSE(w->Menu.SetFont2->isEnabled());
    ASSERT_TRUE(w->Documents->LoadFile(file));
    EXPECT_TRUE(w->Menu.Properties1->isEnabled());
    EXPECT_TRUE(w->Menu.SetFont2->isEnabled());
}
