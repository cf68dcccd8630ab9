// Find and replace: the modeless dialog with its search and replacement fields, and the commands
// F3 ("Find/Replace Next") and Ctrl+F3 ("Find Previous") that repeat the last action without it.
// The searching is the editor's (FindTxt); Replace All is one edit of the engine (ReplaceAll.h).
#pragma once

#include <QDialog>
#include <QKeySequence>

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zandor {

class TZandorHost;

// The find dialog: "Find what", "Replace with", whole word, case, Up/Down, and the buttons Find
// Next, Replace, Replace All and Cancel. It only reports its buttons and its showing and hiding.
class TReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget* parent);

    QLineEdit* FindText = nullptr;
    QLineEdit* ReplaceText = nullptr;
    QCheckBox* WholeWord = nullptr;
    QCheckBox* MatchCase = nullptr;
    QRadioButton* Up = nullptr;
    QRadioButton* Down = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* ReplaceButton = nullptr;
    QPushButton* ReplaceAllButton = nullptr;
    QPushButton* CancelButton = nullptr;

signals:
    void Shown();
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

// The main window's items the commands enable and caption, and those whose keys they take away
// while the dialog is open, so that Ctrl+C and the like work in the dialog's fields.
struct TFindItems {
    QAction* FindNext1 = nullptr;
    QAction* FindNext2 = nullptr;
    QAction* FindPrev1 = nullptr;
    QAction* FindPrev2 = nullptr;
    std::vector<QAction*> ClipboardItems; // Copy1, Cut1, Paste1, Undo1, SelectAll1
};

// Where the texts and the dialog's position are kept between runs ("Find" settings); the window's
// settings outlive this object.
struct TFindSettings {
    std::string* Text = nullptr;
    std::string* ReplaceText = nullptr;
    int32_t* Left = nullptr;
    int32_t* Top = nullptr;
};

// Refers to the window it serves and its menu items; the dialog is a child of the window.
class TFindReplace {
public:
    TFindReplace(TZandorHost& host, TFindItems items, TFindSettings settings);
    // Cuts the dialog off, so that nothing it reports reaches a finished object.
    ~TFindReplace();
    TFindReplace(const TFindReplace&) = delete;
    TFindReplace& operator=(const TFindReplace&) = delete;

    // "Find/Replace...": shows the dialog, or brings it to the front.
    void Find1Click();
    // F3 (previous = false) and Ctrl+F3 (true): the last replace again in replace mode, otherwise
    // the next or previous occurrence from the caret.
    void FindNext1Click(bool previous);
    // The dialog's Find Next: the first occurrence from the top, whatever the direction.
    void ReplaceDialog1Find();
    // The dialog's Replace (all = false) and Replace All: from the top (Down) or the bottom (Up).
    void ReplaceDialog1Replace(bool all);
    // Where the window's dimensions put the dialog.
    void PlaceDialog(int left, int top);
    // The remembered texts into the dialog, as the window's settings are loaded.
    void LoadSettings();
    // The dialog's texts and position into the settings, as closing the dialog or the window does.
    void StoreSettings();

    bool ReplaceMode() const { return replaceMode_; }
    // True while a Replace All runs: the window paints between its slices but is not closed.
    bool Replacing() const { return replacing_; }
    TReplaceDialog* ReplaceDialog1 = nullptr;

private:
    void ReplaceDialog1Show();
    void ReplaceDialog1Close();
    void SetMode(bool replace);
    void Find(bool forward, bool fromBoundary);
    void Replace(bool all);
    int64_t ReplaceAllOccurrences(bool down, bool matchCase, bool wholeWord);
    void NotFound();
    void CloseDialog();
    std::string SearchText() const;
    std::string Replacement() const;

    TZandorHost& host_;
    TFindItems items_;
    TFindSettings settings_;
    bool replaceMode_ = false;
    // Whether the last replace from the dialog was Replace All; F3 in replace mode repeats it.
    bool replaceAll_ = false;
    bool replacing_ = false;
    // The keys taken from the clipboard items while the dialog is open; empty while it is closed.
    std::vector<QKeySequence> keptKeys_;
};

} // namespace zandor
