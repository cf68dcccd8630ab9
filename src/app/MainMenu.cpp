#include "app/MainMenu.h"

#include "localisation/Tag.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

namespace zandor {

namespace {

QMenu* Menu(QWidget* parent, const char* name, int tag, const char* caption) {
    auto* menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    if (tag > 0)
        SetTag(menu, tag);
    // The menu's entry in its parent (or in the tool bar) carries the same number, so translating
    // either gives the same caption.
    if (tag > 0)
        SetTag(menu->menuAction(), tag);
    return menu;
}

QMenu* SubMenu(QMenu* parent, const char* name, int tag, const char* caption) {
    QMenu* menu = Menu(parent, name, tag, caption);
    parent->addMenu(menu);
    return menu;
}

QAction* Item(QMenu* menu, const char* name, int tag, const char* caption,
              const QKeySequence& shortcut = QKeySequence()) {
    auto* action = new QAction(QString::fromLatin1(caption), menu);
    action->setObjectName(QString::fromLatin1(name));
    if (tag > 0)
        SetTag(action, tag);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

QAction* Check(QMenu* menu, const char* name, int tag, const char* caption,
               const QKeySequence& shortcut = QKeySequence()) {
    QAction* action = Item(menu, name, tag, caption, shortcut);
    action->setCheckable(true);
    return action;
}

QKeySequence Ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

TMainMenu::TMainMenu(QWidget* window) {
    // ---- File
    File1 = Menu(window, "File1", 17, "File");
    New1 = Item(File1, "New1", 18, "New", Ctrl(Qt::Key_N));
    Open1 = Item(File1, "Open1", 19, "Open...", Ctrl(Qt::Key_O));
    NextFile1 = Item(File1, "NextFile1", 0, "Next File in Folder", QKeySequence(Qt::ALT | Qt::Key_Right));
    PrevFile1 = Item(File1, "PrevFile1", 0, "Previous File in Folder", QKeySequence(Qt::ALT | Qt::Key_Left));
    File1->addSeparator();
    Save1 = Item(File1, "Save1", 21, "Save", Ctrl(Qt::Key_S));
    Saveas1 = Item(File1, "Saveas1", 22, "Save as...", QKeySequence(Qt::Key_F12));
    Saveasgraphic1 = Item(File1, "Saveasgraphic1", 26, "Save as GIF image...");
    File1->addSeparator();
    Properties1 = Item(File1, "Properties1", 27, "Properties...");
    file_recentfiles = SubMenu(File1, "file_recentfiles", 20, "Recent files");
    file_recentfiles->menuAction()->setEnabled(false);
    file_reopen = SubMenu(File1, "file_reopen", 0, "Reopen with encoding");
    file_reopen_item = file_reopen->menuAction();
    file_reopen_ansi = Item(file_reopen, "file_reopen_ansi", 0, "8-bit ANSI");
    file_reopen_cp437 = Item(file_reopen, "file_reopen_cp437", 0, "8-bit code page 437");
    file_reopen_utf8 = Item(file_reopen, "file_reopen_utf8", 0, "UTF-8");
    file_reopen_utf16le = Item(file_reopen, "file_reopen_utf16le", 0, "UTF-16 LE");
    file_reopen_utf16be = Item(file_reopen, "file_reopen_utf16be", 0, "UTF-16 BE");
    File1->addSeparator();
    Print1 = Item(File1, "Print1", 23, "Print...", Ctrl(Qt::Key_P));
    PrintPreview1 = Item(File1, "PrintPreview1", 24, "Print Preview...");
    File1->addSeparator();
    Exit1 = Item(File1, "Exit1", 25, "Exit");

    // ---- Edit
    Edit1 = Menu(window, "Edit1", 29, "Edit");
    Undo1 = Item(Edit1, "Undo1", 30, "Undo", Ctrl(Qt::Key_Z));
    Redo1 = Item(Edit1, "Redo1", 115, "Redo", Ctrl(Qt::Key_Y));
    Edit1->addSeparator();
    Cut1 = Item(Edit1, "Cut1", 31, "Cut", Ctrl(Qt::Key_X));
    Copy1 = Item(Edit1, "Copy1", 32, "Copy", Ctrl(Qt::Key_C));
    Paste1 = Item(Edit1, "Paste1", 33, "Paste", Ctrl(Qt::Key_V));
    Deleteline1 = Item(Edit1, "Deleteline1", 116, "Delete line", Ctrl(Qt::Key_E));
    Edit1->addSeparator();
    SelectAll1 = Item(Edit1, "SelectAll1", 37, "Select All", Ctrl(Qt::Key_A));
    Edit1->addSeparator();
    Find1 = Item(Edit1, "Find1", 34, "Find/Replace...", Ctrl(Qt::Key_F));
    FindNext1 = Item(Edit1, "FindNext1", 35, "Find/Replace Next", QKeySequence(Qt::Key_F3));
    FindPrev1 = Item(Edit1, "FindPrev1", 36, "Find Previous", Ctrl(Qt::Key_F3));
    FindNext1->setEnabled(false);
    FindPrev1->setEnabled(false);
    Edit1->addSeparator();
    edit_format = SubMenu(Edit1, "edit_format", 68, "Format");
    edit_format_join = Item(edit_format, "edit_format_join", 69, "Join Lines", Ctrl(Qt::Key_J));
    edit_format_lower = Item(edit_format, "edit_format_lower", 71, "Lowercase", Ctrl(Qt::Key_L));
    edit_format_upper = Item(edit_format, "edit_format_upper", 72, "Uppercase", Ctrl(Qt::Key_U));
    edit_format_capitalize = Item(edit_format, "edit_format_capitalize", 15, "Capitalize", Ctrl(Qt::Key_Q));
    edit_format_toutf8 = Item(edit_format, "edit_format_toutf8", 73, "Charset to UTF-8");
    edit_format_fromutf8 = Item(edit_format, "edit_format_fromutf8", 74, "UTF-8 to Charset");
    edit_insert = Item(Edit1, "edit_insert", 14, "Insert character from ASCII table...", Ctrl(Qt::Key_I));
    TimeDate1 = Item(Edit1, "TimeDate1", 117, "Date/Time", Ctrl(Qt::Key_D));

    // ---- Options
    Options1 = Menu(window, "Options1", 42, "Options");
    Setcolor1 = Item(Options1, "Setcolor1", 43, "Set Background Color...");
    SetFont1 = Item(Options1, "SetFont1", 44, "Set default Font Style and Color...");
    SetFont2 = Item(Options1, "SetFont2", 0, "Set Font Style and Color for");
    options_showfont = Item(Options1, "options_showfont", 16, "Show current Font...");
    SetPrintFont1 = Item(Options1, "SetPrintFont1", 45, "Set Print Font...");
    Options1->addSeparator();
    Edithighlightlist1 = Item(Options1, "Edithighlightlist1", 46, "Edit Highlight List...", Ctrl(Qt::Key_H));
    Highlightkeywords1 = Check(Options1, "Highlightkeywords1", 47, "Highlight Keywords");
    SetHighlightBackgroundColor1 =
        Item(Options1, "SetHighlightBackgroundColor1", 48, "Set Highlight Background Color...");
    SetHighlightColor1 = Item(Options1, "SetHighlightColor1", 49, "Set Highlight Foreground Color...");
    Options1->addSeparator();
    Copyeveryselectiontoclipboard1 =
        Check(Options1, "Copyeveryselectiontoclipboard1", 50, "Auto-Copy Selection to Clipboard");
    Trimcutcopy1 = Check(Options1, "Trimcutcopy1", 51, "Trim Selection before Copy");
    Options1->addSeparator();
    Askforchangesonexit1 = Check(Options1, "Askforchangesonexit1", 52, "Ask to save changes on load/exit");
    Addtxttofileswithoutextension1 =
        Check(Options1, "Addtxttofileswithoutextension1", 70, "Add .txt to files without extension");
    ConvertUnixfiles1 = Check(Options1, "ConvertUnixfiles1", 53, "Convert Unix files to Windows");
    DragDrop1 = Check(Options1, "DragDrop1", 38, "Drag && Drop");
    LaunchURLs1 = Check(Options1, "LaunchURLs1", 54, "Launch URLs on click");
    Showlinenumbers1 = Check(Options1, "Showlinenumbers1", 118, "Show Line Numbers");
    Showspacestabs1 = Check(Options1, "Showspacestabs1", 55, "Show Spaces/Tabs");
    miShowCR = Check(Options1, "miShowCR", 120, "Show Carriage Returns");
    miShowButtons = Check(Options1, "miShowButtons", 119, "Show Buttons");
    Wordwrap1 = Check(Options1, "Wordwrap1", 56, "Wordwrap", Ctrl(Qt::Key_W));
    Options1->addSeparator();
    AllowonlyoneZandorinstance1 =
        Check(Options1, "AllowonlyoneZandorinstance1", 57, "Allow only one Zandor instance");
    AlwaysonTop1 = Check(Options1, "AlwaysonTop1", 58, "Always on Top");
    options_language = SubMenu(Options1, "options_language", 0, "Language");
    InitialFocus1 = SubMenu(Options1, "InitialFocus1", 59, "Initial Focus");
    Exitbutton1 = Check(InitialFocus1, "Exitbutton1", 60, "Exit button");
    Textfield1 = Check(InitialFocus1, "Textfield1", 61, "Edit area");
    auto* focusGroup = new QActionGroup(InitialFocus1);
    focusGroup->addAction(Exitbutton1);
    focusGroup->addAction(Textfield1);
    Windowdimensions1 = SubMenu(Options1, "Windowdimensions1", 63, "Window Dimensions");
    Setwidthaccordingtowidestlinelengthonload1 =
        Check(Windowdimensions1, "Setwidthaccordingtowidestlinelengthonload1", 64,
              "Set width according to widest line (on load)");
    Setheightaccordingtonumberoflines1 = Check(Windowdimensions1, "Setheightaccordingtonumberoflines1", 65,
                                               "Set height according to number of lines (on load)");
    Windowdimensions1->addSeparator();
    Samewindowforallfiletypes1 =
        Check(Windowdimensions1, "Samewindowforallfiletypes1", 66, "Same dimensions for all file types");
    Individualdimensions1 = Check(Windowdimensions1, "Individualdimensions1", 67, "Individual dimensions");
    auto* dimensionGroup = new QActionGroup(Windowdimensions1);
    dimensionGroup->addAction(Samewindowforallfiletypes1);
    dimensionGroup->addAction(Individualdimensions1);

    // ---- Help
    Help1 = Menu(window, "Help1", 80, "Help");
    Contents1 = Item(Help1, "Contents1", 81, "Contents");
    Help1->addSeparator();
    DonatePaypal1 = Item(Help1, "DonatePaypal1", 82, "Donate (Paypal USD)");
    DonatePaypalEUR1 = Item(Help1, "DonatePaypalEUR1", 83, "Donate (Paypal EUR)");
    miDonateBTC = Item(Help1, "miDonateBTC", 0, "Donate (Bitcoin)");
    Help1->addSeparator();
    Lookfornewversion1 = Item(Help1, "Lookfornewversion1", 0, "Look for new version");
    OtherVeltraneSoftware1 = Item(Help1, "OtherVeltraneSoftware1", 85, "Other Veltrane Software");
    Help1->addSeparator();
    About1 = Item(Help1, "About1", 86, "About...");

    // ---- the editor's context menu; the twins show the shortcuts of their main-menu items, which
    // answer the keys (the context menu is attached to no window, so its keys never compete).
    PopupMenu1 = Menu(window, "PopupMenu1", 0, "");
    Undo2 = Item(PopupMenu1, "Undo2", 30, "Undo", Ctrl(Qt::Key_Z));
    Redo2 = Item(PopupMenu1, "Redo2", 115, "Redo", Ctrl(Qt::Key_Y));
    PopupMenu1->addSeparator();
    Cut2 = Item(PopupMenu1, "Cut2", 31, "Cut", Ctrl(Qt::Key_X));
    Copy2 = Item(PopupMenu1, "Copy2", 32, "Copy", Ctrl(Qt::Key_C));
    Paste2 = Item(PopupMenu1, "Paste2", 33, "Paste", Ctrl(Qt::Key_V));
    PopupMenu1->addSeparator();
    SelectAll2 = Item(PopupMenu1, "SelectAll2", 37, "Select All", Ctrl(Qt::Key_A));
    shortcut_insert =
        Item(PopupMenu1, "shortcut_insert", 14, "Insert character from ASCII table...", Ctrl(Qt::Key_I));
    PopupMenu1->addSeparator();
    shortcut_format = SubMenu(PopupMenu1, "shortcut_format", 68, "Format");
    shortcut_format_join = Item(shortcut_format, "shortcut_format_join", 69, "Join Lines", Ctrl(Qt::Key_J));
    shortcut_format_lower = Item(shortcut_format, "shortcut_format_lower", 71, "Lowercase", Ctrl(Qt::Key_L));
    shortcut_format_upper = Item(shortcut_format, "shortcut_format_upper", 72, "Uppercase", Ctrl(Qt::Key_U));
    shortcut_format_capitalize =
        Item(shortcut_format, "shortcut_format_capitalize", 15, "Capitalize", Ctrl(Qt::Key_Q));
    shortcut_format_toutf8 = Item(shortcut_format, "shortcut_format_toutf8", 73, "Charset to UTF-8");
    shortcut_format_fromutf8 = Item(shortcut_format, "shortcut_format_fromutf8", 74, "UTF-8 to Charset");
    Edit2 = SubMenu(PopupMenu1, "Edit2", 29, "Edit");
    Deleteline2 = Item(Edit2, "Deleteline2", 116, "Delete line", Ctrl(Qt::Key_E));
    Edit2->addSeparator();
    FindReplace1 = Item(Edit2, "FindReplace1", 34, "Find/Replace...", Ctrl(Qt::Key_F));
    FindNext2 = Item(Edit2, "FindNext2", 35, "Find/Replace Next", QKeySequence(Qt::Key_F3));
    FindPrev2 = Item(Edit2, "FindPrev2", 36, "Find Previous", Ctrl(Qt::Key_F3));
    FindNext2->setEnabled(false);
    FindPrev2->setEnabled(false);
    Edit2->addSeparator();
    DateTime1 = Item(Edit2, "DateTime1", 117, "Date/Time", Ctrl(Qt::Key_D));
    File2 = SubMenu(PopupMenu1, "File2", 17, "File");
    New2 = Item(File2, "New2", 18, "New", Ctrl(Qt::Key_N));
    Open2 = Item(File2, "Open2", 19, "Open...", Ctrl(Qt::Key_O));
    File2->addSeparator();
    Save2 = Item(File2, "Save2", 21, "Save", Ctrl(Qt::Key_S));
    Saveas2 = Item(File2, "Saveas2", 22, "Save as...", QKeySequence(Qt::Key_F12));
    File2->addSeparator();
    Print2 = Item(File2, "Print2", 23, "Print...", Ctrl(Qt::Key_P));
    PrintPreview2 = Item(File2, "PrintPreview2", 24, "Print Preview...");
    Options2 = SubMenu(PopupMenu1, "Options2", 42, "Options");
    EditHighlightList2 = Item(Options2, "EditHighlightList2", 46, "Edit Highlight List...", Ctrl(Qt::Key_H));
    Wordwrap2 = Check(Options2, "Wordwrap2", 56, "Wordwrap", Ctrl(Qt::Key_W));
}

} // namespace zandor
