// The main window's menus: the main menu (File, Edit, Options, Help) that the tool bar shows as its
// buttons, and the editor's context menu whose items repeat main-menu commands. Every item carries
// its object name, its text number (Tag), its English caption and its shortcut; what an item does
// is wired by the window.
#pragma once

class QAction;
class QMenu;
class QWidget;

namespace zandor {

// Refers to menus and actions owned by the window through Qt parenthood.
struct TMainMenu {
    // Builds every menu as a child of `window`.
    explicit TMainMenu(QWidget* window);

    // ---- File
    QMenu* File1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* NextFile1 = nullptr;
    QAction* PrevFile1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* Saveasgraphic1 = nullptr;
    QAction* Properties1 = nullptr;
    QMenu* file_recentfiles = nullptr;
    QMenu* file_reopen = nullptr;
    QAction* file_reopen_item = nullptr; // the submenu's own item
    QAction* file_reopen_ansi = nullptr;
    QAction* file_reopen_cp437 = nullptr;
    QAction* file_reopen_utf8 = nullptr;
    QAction* file_reopen_utf16le = nullptr;
    QAction* file_reopen_utf16be = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrintPreview1 = nullptr;
    QAction* Exit1 = nullptr;

    // ---- Edit
    QMenu* Edit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Deleteline1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* Find1 = nullptr;
    QAction* FindNext1 = nullptr;
    QAction* FindPrev1 = nullptr;
    QMenu* edit_format = nullptr;
    QAction* edit_format_join = nullptr;
    QAction* edit_format_lower = nullptr;
    QAction* edit_format_upper = nullptr;
    QAction* edit_format_capitalize = nullptr;
    QAction* edit_format_toutf8 = nullptr;
    QAction* edit_format_fromutf8 = nullptr;
    QAction* edit_insert = nullptr;
    QAction* TimeDate1 = nullptr;

    // ---- Options
    QMenu* Options1 = nullptr;
    QAction* Setcolor1 = nullptr;
    QAction* SetFont1 = nullptr;
    QAction* SetFont2 = nullptr;
    QAction* options_showfont = nullptr;
    QAction* SetPrintFont1 = nullptr;
    QAction* Edithighlightlist1 = nullptr;
    QAction* Highlightkeywords1 = nullptr;
    QAction* SetHighlightBackgroundColor1 = nullptr;
    QAction* SetHighlightColor1 = nullptr;
    QAction* Copyeveryselectiontoclipboard1 = nullptr;
    QAction* Trimcutcopy1 = nullptr;
    QAction* Askforchangesonexit1 = nullptr;
    QAction* Addtxttofileswithoutextension1 = nullptr;
    QAction* ConvertUnixfiles1 = nullptr;
    QAction* DragDrop1 = nullptr;
    QAction* LaunchURLs1 = nullptr;
    QAction* Showlinenumbers1 = nullptr;
    QAction* Showspacestabs1 = nullptr;
    QAction* miShowCR = nullptr;
    QAction* miShowButtons = nullptr;
    QAction* Wordwrap1 = nullptr;
    QAction* AllowonlyoneZandorinstance1 = nullptr;
    QAction* AlwaysonTop1 = nullptr;
    QMenu* options_language = nullptr;
    QMenu* InitialFocus1 = nullptr;
    QAction* Exitbutton1 = nullptr;
    QAction* Textfield1 = nullptr;
    QMenu* Windowdimensions1 = nullptr;
    QAction* Setwidthaccordingtowidestlinelengthonload1 = nullptr;
    QAction* Setheightaccordingtonumberoflines1 = nullptr;
    QAction* Samewindowforallfiletypes1 = nullptr;
    QAction* Individualdimensions1 = nullptr;

    // ---- Help
    QMenu* Help1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* DonatePaypal1 = nullptr;
    QAction* DonatePaypalEUR1 = nullptr;
    QAction* miDonateBTC = nullptr;
    QAction* Lookfornewversion1 = nullptr;
    QAction* OtherVeltraneSoftware1 = nullptr;
    QAction* About1 = nullptr;

    // ---- the editor's context menu
    QMenu* PopupMenu1 = nullptr;
    QAction* Undo2 = nullptr;
    QAction* Redo2 = nullptr;
    QAction* Cut2 = nullptr;
    QAction* Copy2 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* SelectAll2 = nullptr;
    QAction* shortcut_insert = nullptr;
    QMenu* shortcut_format = nullptr;
    QAction* shortcut_format_join = nullptr;
    QAction* shortcut_format_lower = nullptr;
    QAction* shortcut_format_upper = nullptr;
    QAction* shortcut_format_capitalize = nullptr;
    QAction* shortcut_format_toutf8 = nullptr;
    QAction* shortcut_format_fromutf8 = nullptr;
    QMenu* Edit2 = nullptr;
    QAction* Deleteline2 = nullptr;
    QAction* FindReplace1 = nullptr;
    QAction* FindNext2 = nullptr;
    QAction* FindPrev2 = nullptr;
    QAction* DateTime1 = nullptr;
    QMenu* File2 = nullptr;
    QAction* New2 = nullptr;
    QAction* Open2 = nullptr;
    QAction* Save2 = nullptr;
    QAction* Saveas2 = nullptr;
    QAction* Print2 = nullptr;
    QAction* PrintPreview2 = nullptr;
    QMenu* Options2 = nullptr;
    QAction* EditHighlightList2 = nullptr;
    QAction* Wordwrap2 = nullptr;
};

} // namespace zandor
