// The main window: the editor with its panels, the tool bar that serves as menu bar, the bottom
// buttons, the document state and the title, the window's size and place per file type, the
// settings it loads and saves, and the receiving half of the single-instance hand-off. The behaviour
// behind the menu commands lives in one class per feature; this window only hosts and wires them.
#pragma once

#include "app/ClipboardCommands.h"
#include "app/MainMenu.h"
#include "app/Settings.h"
#include "app/SettingsReports.h"
#include "app/WindowGeometry.h"
#include "host/ZandorHost.h"

#include <QMainWindow>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;

namespace zandor {

struct TStartup;
class TArtGutter;
class TArtMemo;
class TDocuments;
class TEditCommands;
class TFileDrag;
class TFindReplace;
class TDonationReminder;
class TGifExport;
class TPrintCommands;
class THighlightList;
class THelpCommands;
class TLanguageMenu;
class TLocalisation;
class TMenuToolBar;
class TOptionsMenu;
class TArtLook;
class TArtScale;
class TZoom;
class TStatusPanel;
class TURLHighlighter;

namespace platform {
class NewFileListener;
}

// Refers to the start-up's state and settings store (owned by TStartup). Owns the localisation and
// the features through unique_ptr, and every widget, menu and timer through Qt parenthood. The
// features outside src/app reach it through the host interface.
class TZandorF : public QMainWindow, public TZandorHost {
    Q_OBJECT
public:
    // fileToOpen: the long form of the first command-line argument (may be empty). desktop: where
    // the work area and the number of monitors come from.
    TZandorF(TStartup& startup, const std::string& fileToOpen, TDesktop desktop = TDesktop::System(),
             QWidget* parent = nullptr);
    ~TZandorF() override;

    // ---- document state and title (opening and saving are the documents' own, Documents)
    void UpdateTitle() override;

    // ---- size and place
    void ApplyWindowDimensions(const std::string& section);
    void AutoSizeWindow(int width, int height);
    void KeepInsideWorkArea();
    void SaveWindowBounds();
    void SaveBoundsTimerTimer();
    // The editor's cells as the Art menu and the open document's SAUCE record choose them.
    void ApplyScreenCells();
    void UpdateFontMetrics();
    void ApplyAlwaysOnTop();
    void UpdateCaretPosition();
    // The tool bar and the status panel across the window's top.
    void LayoutBand();
    // The editor's shown special characters from Spaces and Returns.
    void ApplyNonPrintMarks();

    // ---- settings
    void LoadConfig();
    void SaveConfig();

    // ---- layout
    void FormResize();
    void PanelBottomResize();
    void MemoPanelResize();

    // ---- menu preparation
    void File1Click();

    // ---- the receiving side of the hand-off: a confirmed request arms Timer1 with the name the
    // request handed over, which was read from the shared block when the request came
    void NewFileWndProc(const std::string& name);
    void Timer1Timer();
    bool ForceForegroundWindow();

    // ---- editor notifications
    void mChange();
    // True when the key was consumed: Escape closes the window (unless it ends a text drag in the
    // editor), and the keys of commands still to come do nothing.
    bool mKeyDown(int key, Qt::KeyboardModifiers shift);
    void mKeyUp();
    void mMouseUp();
    void mSelMove();

    // Commands whose features are built later; each is wired to its menu items, buttons and context
    // menu twins already and does nothing until its feature fills it.
    // The Edit menu and the context menu enable Undo and Redo by what the editor can do.
    void Edit1Click();
    void Undo1Click();
    void Redo1Click();
    // The clipboard commands (TClipboardCommands).
    void Cut1Click() { Clipboard->Cut1Click(); }
    void Copy1Click() { Clipboard->Copy1Click(); }
    void Paste1Click() { Clipboard->Paste1Click(); }
    void SelectAll1Click() { Clipboard->SelectAll1Click(); }
    // The Format submenus' items by the selection and the text (TEditCommands); kept current, so
    // that their keys act whenever they can.
    void edit_formatClick();
    void Edithighlightlist1Click();
    void PopupMenu1Popup();

    // ---- the host of the features
    TArtMemo& Editor() override { return *m; }
    const TLocalisation& Texts() const override { return *Localisation; }
    QWidget* DialogParent() override { return this; }
    std::string DocumentFile() const override { return CurrentFile; }
    std::string DocumentExt() const override { return CurrentExt; }
    bool IsDocumentModified() const override { return DocumentModified; }
    void SetDocumentFile(const std::string& file) override;
    void MarkDocumentSaved() override;
    void ApplyDocumentWindowDimensions(bool art) override;
    void ApplyDocumentCells(const TSauceRecord* sauce) override;
    void FocusAfterOpen() override;
    void FocusEditor() override;
    void EditorFontChanged(bool chosenByUser) override;
    // A note in the caret's place for a moment (the zoom's size), then the caret's place again.
    void ShowStatusNote(const QString& text);
    void ShowLoadProgress(int percent) override { ShowProgress(QStringLiteral("Loading %1%"), percent); }
    void ShowReplaceProgress(int percent) override { ShowProgress(QStringLiteral("Replace %1%"), percent); }
    TDocumentOptions DocumentOptions() const override;
    std::vector<std::string>& RecentFiles() override { return Settings.RecentFiles; }
    QMenu* RecentFilesMenu() override;
    std::map<std::string, std::string>& RecentEncodings() override { return Settings.RecentEncodings; }
    void ShowDocumentEncoding(const std::string& text) override;
    std::string LastSaveFolder() const override { return Settings.LastDir; }
    void SetLastSaveFolder(const std::string& folder) override { Settings.LastDir = folder; }
    void ReadStoredFont(const std::string& section, const std::string& key, const platform::FontValue& def,
                        platform::FontValue& target) override;
    void WriteStoredFont(const std::string& section, const std::string& key,
                         const platform::FontValue& font) override;
    std::string ExecuteOpenDialog(const TOpenDialogRequest& request) override;
    std::string ExecuteSaveDialog(const TSaveDialogRequest& request) override;
    std::optional<platform::FontValue> ExecuteFontDialog(const platform::FontValue& initial) override;
    TAnswer Ask(const QString& text, bool withCancel) override;
    void ShowErrorBox(TErrorBoxKind kind, const std::string& detail) override;
    void ShowPlainMessage(const std::string& text) override;
    std::string ProgramFolder() const override;
    TDonationSettings DonationSettings() const override;
    void SetDonationSettings(const TDonationSettings& values) override;
    void SaveAllSettings() override;

    // ---- state
    std::string CurrentFile;
    std::string CurrentExt;
    std::string WindowSection = kOtherSection;
    // The window section of the document: of its type, or of ".nfo" for art.
    std::string DocumentWindowSection() const;
    bool DocumentModified = false;
    bool ApplyingDimensions = false;
    int AvgCharWidth = 8;
    int MaxCharWidth = 8;
    QRect WorkArea;
    // The task-bar text (the window title carries the full path).
    std::string ApplicationTitle = "Zandor";
    // The option flags and every other stored value.
    TSettings Settings;

    // ---- components
    TMainMenu Menu;
    TMenuToolBar* ToolBar1 = nullptr;
    TStatusPanel* StatusPanel = nullptr;
    QLabel* lbPosition = nullptr;
    QWidget* MemoPanel = nullptr;
    TArtGutter* g = nullptr;
    TArtMemo* m = nullptr;
    QWidget* PanelBottom = nullptr;
    QPushButton* buttoncopy = nullptr;
    QPushButton* buttoncut = nullptr;
    QPushButton* buttonpaste = nullptr;
    QPushButton* buttonsave = nullptr;
    QPushButton* buttonexit = nullptr;
    TArtMemo* PrintMemo = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* SaveBoundsTimer = nullptr;
    QTimer* DonateTimer = nullptr;
    std::unique_ptr<TLocalisation> Localisation;
    TLanguageMenu* LanguageMenu = nullptr;
    std::unique_ptr<TOptionsMenu> Options;
    std::unique_ptr<TArtScale> ArtScale;
    std::unique_ptr<TArtLook> ArtLook;
    std::unique_ptr<TZoom> Zoom;
    std::unique_ptr<TDocuments> Documents;
    TFileDrag* FileDrag1 = nullptr;
    std::unique_ptr<TClipboardCommands> Clipboard;
    std::unique_ptr<TEditCommands> EditCommands;
    std::unique_ptr<TGifExport> GifExport;
    std::unique_ptr<TPrintCommands> Printing;
    std::unique_ptr<TFindReplace> FindReplace;
    std::unique_ptr<THelpCommands> Help;
    std::unique_ptr<TDonationReminder> Donation;
    // The keyword list in the data folder.
    std::string HighlightFile;
    // Attached to m while "Launch URLs on click" is on; the keyword list sets its colours.
    std::unique_ptr<TURLHighlighter> URLHighlighter1;
    std::unique_ptr<THighlightList> HighlightList;
    // The open dialog's filter.
    std::string OpenFilter;

    // How the window reports a problem to the user; replaced by tests.
    std::function<void(const std::string&)> ShowMessage;
    // The window's dialogs and boxes, replaced by tests: the error box (caption, text), the open,
    // save and font dialogs (an empty path or nothing when cancelled) and the question box.
    std::function<void(const QString& caption, const QString& text)> ShowError;
    std::function<std::string(const TOpenDialogRequest&)> RunOpenDialog;
    std::function<std::string(const TSaveDialogRequest&)> RunSaveDialog;
    std::function<std::optional<platform::FontValue>(const platform::FontValue&)> RunFontDialog;
    std::function<TAnswer(const QString& text, bool withCancel)> AskQuestion;
    // Problems of the settings store, each told once; every settings write outside the window's
    // closing runs through its Guard, as the one at closing does.
    TSettingsReports SettingsReports;

    TStartup& Startup() { return startup_; }
    const TDesktop& Desktop() const { return desktop_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FormCreate(const std::string& fileToOpen);
    void FormShow();
    void FormClose();
    void CreateComponents();
    void CreateEditors();
    void CreateBottomPanel();
    void ReportLater(const std::string& text);
    // Undo and Redo items of both menus as the editor's undo list stands, so that their keys act
    // whenever there is something to undo or redo.
    void UpdateUndoItems();
    void ApplyMenuBarHeight();
    // The move notification and the layout share this: restart the bounds timer unless the window is
    // starting up or being placed by the program.
    void ScheduleBoundsSave();
    // Applies a new outer size at once, with the layout that follows it.
    void SetWindowSize(int width, int height);
    int EditorHeight() const;

    // Settings reads that fail with a type error give the default; the store lists the error.
    int32_t ReadBoundsInteger(const std::string& section, const std::string& key, int32_t def);

    TStartup& startup_;
    TDesktop desktop_;
    // True while the constructor runs: reports wait for the message loop.
    bool creating_ = true;
    platform::NewFileListener* listener_ = nullptr;
    // Names handed over and not yet opened, oldest first: each start that was taken gets its file.
    std::deque<std::string> handed_;
    QWidget* client_ = nullptr;
    // Where ApplyWindowDimensions last put the window.
    QRect appliedBounds_;
    bool closed_ = false;
    // The status panel shows a load's or a Replace All's progress instead of the caret's place.
    bool showingLoad_ = false;
    // The open document is art shown in the font of ".nfo" whatever its extension.
    bool artDocument_ = false;
    // That progress ("Loading %1%" with the percentage); -1 shows the caret's place again.
    void ShowProgress(const QString& format, int percent);

    // A note shows in the caret's place for a moment.
    bool showingNote_ = false;
    QTimer* noteTimer_ = nullptr;
    // True while ApplyAlwaysOnTop shows the re-created window again.
    bool reshowing_ = false;
};

} // namespace zandor
