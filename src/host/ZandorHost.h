// What the features behind the main window's commands may ask of the window they serve. The window
// implements this interface; a feature is given it at construction and never sees the window's
// class, so the feature libraries link below the application and tests serve them with a small
// stand-in.
#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace zandor {

class TArtMemo;
class TLocalisation;

// The stored values of the donation reminder ("Options" section).
struct TDonationSettings {
    int32_t InstallDate = 0; // whole days since 30 December 1899
    int32_t DonationShownCount = 0;
    bool DonationDoNotBother = false;
};

// What the window's save dialog is asked to show.
struct TSaveDialogRequest {
    // Description and pattern pairs, each part ended by '|' except the last:
    // "GIF graphic (*.gif)|*.gif|All files (*.*)|*.*".
    std::string Filter;
    std::string InitialFolder;
    std::string FileName; // proposed, without a folder
};

// The error boxes of the documents: text 103 ("The file could not be opened.") or 104 ("The file
// could not be saved.") under the caption "Error" (text 102).
enum class TErrorBoxKind { Open = 1, Save = 2 };

// Implemented by the main window, which outlives every feature it constructs.
class TZandorHost {
public:
    virtual ~TZandorHost() = default;

    // The document editor.
    virtual TArtMemo& Editor() = 0;
    // The open file's full path; empty for a new, unnamed text.
    virtual std::string DocumentFile() const = 0;
    // The folder of the last "Save as" ("Find"/"LastDir").
    virtual std::string LastSaveFolder() const = 0;
    // The program's folder, ending in '/'; the files shipped beside the program lie there.
    virtual std::string ProgramFolder() const = 0;
    // The loaded language's numbered texts.
    virtual const TLocalisation& Texts() const = 0;
    // The parent of the windows and dialogs a feature opens.
    virtual QWidget* DialogParent() = 0;

    // Runs the save dialog (overwrite prompt on, the folder must exist, no extension added to a
    // name typed without one); the chosen path, or empty when the user cancelled.
    virtual std::string ExecuteSaveDialog(const TSaveDialogRequest& request) = 0;
    // The error box of its kind; detail, when given, says what went wrong below the fixed text.
    virtual void ShowErrorBox(TErrorBoxKind kind, const std::string& detail) = 0;
    // A plain message box with the program's caption.
    virtual void ShowPlainMessage(const std::string& text) = 0;

    virtual TDonationSettings DonationSettings() const = 0;
    virtual void SetDonationSettings(const TDonationSettings& values) = 0;
    // Writes every setting at once, as closing the window does; a failure is reported by the
    // window, not passed on.
    virtual void SaveAllSettings() = 0;
};

} // namespace zandor
