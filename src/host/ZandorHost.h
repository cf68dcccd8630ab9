// What the features behind the main window's commands may ask of the window they serve. The window
// implements this interface; a feature is given it at construction and never sees the window's
// class, so the feature libraries link below the application and tests serve them with a small
// stand-in.
#pragma once

#include "platform/FontValue.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace zandor {

struct TSauceRecord;

class TArtMemo;
class TLocalisation;

// The stored values of the donation reminder ("Options" section).
struct TDonationSettings {
    int32_t InstallDate = 0; // whole days since 30 December 1899
    int32_t DonationShownCount = 0;
    bool DonationDoNotBother = false;
};

// What the window's open dialog is asked to show.
struct TOpenDialogRequest {
    // Description and pattern pairs, each part ended by '|' except the last:
    // "All files (*.*)|*.*|Zandor files (*.diz;*.nfo;*.txt;*.ini)|*.diz;*.nfo;*.txt;*.ini".
    std::string Filter;
    std::string InitialFolder; // empty: wherever the dialog starts by itself
    std::string FileName;      // proposed, with or without a folder
};

// What the window's save dialog is asked to show.
struct TSaveDialogRequest {
    // Description and pattern pairs as in TOpenDialogRequest.
    std::string Filter;
    std::string InitialFolder;
    std::string FileName; // proposed, without a folder
};

// The error boxes of the documents: text 103 ("The file could not be opened.") or 104 ("The file
// could not be saved.") under the caption "Error" (text 102).
enum class TErrorBoxKind { Open = 1, Save = 2 };

enum class TAnswer { Yes, No, Cancel };

// The options the documents follow ("Options" section).
struct TDocumentOptions {
    bool AskChanges = true; // offer to save changes before load, new and exit
    bool Convert = true;    // repair Unix and doubled line breaks on load
    bool AddTxt = false;    // ".txt" for a saved name without extension
};

// Implemented by the main window, which outlives every feature it constructs.
class TZandorHost {
public:
    virtual ~TZandorHost() = default;

    // The document editor.
    virtual TArtMemo& Editor() = 0;
    // The folder of the files shipped with the program (languages, help pages, fonts), ending in
    // '/': the program's own folder in a build, <prefix>/share/zandor/ when installed.
    virtual std::string ProgramFolder() const = 0;
    // The loaded language's numbered texts.
    virtual const TLocalisation& Texts() const = 0;
    // The parent of the windows and dialogs a feature opens.
    virtual QWidget* DialogParent() = 0;

    // ---- the document: the window's CurrentFile, CurrentExt and DocumentModified
    // The open file's full path; empty for a new, unnamed text.
    virtual std::string DocumentFile() const = 0;
    // Its extension in lower case with the dot (".nfo"); empty when the name has none.
    virtual std::string DocumentExt() const = 0;
    virtual bool IsDocumentModified() const = 0;
    // Names the document: CurrentFile := file, CurrentExt := its extension in lower case.
    virtual void SetDocumentFile(const std::string& file) = 0;
    // The text now equals the file: not modified, the Save button disabled, the title refreshed.
    virtual void MarkDocumentSaved() = 0;
    // The caption, the task-bar text and the window section from the document.
    virtual void UpdateTitle() = 0;
    // The window section of the document's type (of ".nfo" for art, whatever its extension), and
    // the size and place stored for it.
    virtual void ApplyDocumentWindowDimensions(bool art) = 0;
    // The editor's cells for a document about to be shown (its SAUCE record may choose them; null
    // when it has none), set before its text so that the text is laid out once.
    virtual void ApplyDocumentCells(const TSauceRecord* sauce) = 0;
    // The focus after a file was opened: the Exit button or the editor, as "Initial Focus" says.
    virtual void FocusAfterOpen() = 0;
    // The focus back to the editor (after New and the font dialogs).
    virtual void FocusEditor() = 0;
    // The editor's font was set: its metrics; when the user chose it, the gutter's colour and, with
    // AutoWidth or AutoHeight on, the window's size follow it too.
    virtual void EditorFontChanged(bool chosenByUser) = 0;
    // A long load's progress in the status panel: the share of the file read (0 .. 100), or -1 when
    // the load is over and the panel shows what it showed before.
    virtual void ShowLoadProgress(int percent) = 0;
    // The same for a long Replace All: the share replaced, or -1 when it is over.
    virtual void ShowReplaceProgress(int percent) = 0;

    // ---- settings
    virtual TDocumentOptions DocumentOptions() const = 0;
    // Most recent first; the documents keep it, the window loads and stores it.
    virtual std::vector<std::string>& RecentFiles() = 0;
    // The "Recent files" submenu, whose items the documents make.
    virtual QMenu* RecentFilesMenu() = 0;
    // The encoding the user chose for a recent file ("Reopen with encoding"), by its name; the
    // window stores it with the recent files.
    virtual std::map<std::string, std::string>& RecentEncodings() = 0;
    // The document's encoding changed: the status panel shows it ("CP437 · UTF-8").
    virtual void ShowDocumentEncoding(const std::string& text) = 0;
    // The folder of the last "Save as" ("Find"/"LastDir").
    virtual std::string LastSaveFolder() const = 0;
    virtual void SetLastSaveFolder(const std::string& folder) = 0;
    // A font stored under section/key over `target` (as the settings store's ReadFont does, with
    // `def` for a text that is no font); a value of the wrong type leaves `target` as it was and is
    // reported by the window.
    virtual void ReadStoredFont(const std::string& section, const std::string& key,
                                const platform::FontValue& def, platform::FontValue& target) = 0;
    // Stores a font and flushes the settings at once; a failure is reported by the window.
    virtual void WriteStoredFont(const std::string& section, const std::string& key,
                                 const platform::FontValue& font) = 0;

    // ---- dialogs and boxes
    // The open dialog (the path and the file must exist); the chosen path, or empty when cancelled.
    virtual std::string ExecuteOpenDialog(const TOpenDialogRequest& request) = 0;
    // Runs the save dialog (overwrite prompt on, the folder must exist, no extension added to a
    // name typed without one); the chosen path, or empty when the user cancelled.
    virtual std::string ExecuteSaveDialog(const TSaveDialogRequest& request) = 0;
    // The font dialog with colour and script, starting at `initial`; nothing when cancelled.
    virtual std::optional<platform::FontValue> ExecuteFontDialog(const platform::FontValue& initial) = 0;
    // A question under the program's caption with Yes and No, and Cancel when withCancel.
    virtual TAnswer Ask(const QString& text, bool withCancel) = 0;
    // The error box of its kind; detail, when given, says what went wrong below the fixed text.
    virtual void ShowErrorBox(TErrorBoxKind kind, const std::string& detail) = 0;
    // A plain message box with the program's caption.
    virtual void ShowPlainMessage(const std::string& text) = 0;

    // ---- the donation reminder and the settings as a whole
    virtual TDonationSettings DonationSettings() const = 0;
    virtual void SetDonationSettings(const TDonationSettings& values) = 0;
    // Writes every setting at once, as closing the window does; a failure is reported by the
    // window, not passed on.
    virtual void SaveAllSettings() = 0;
};

} // namespace zandor
