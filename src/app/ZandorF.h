// The main window. For now it carries the document state, the title, the settings it loads and
// saves, and the receiving half of the single-instance hand-off; the editor, menus and panels join
// it as they are built.
#pragma once

#include "app/Settings.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace zandor {

struct TStartup;

namespace platform {
class NewFileListener;
}

// Refers to the start-up's state and settings store (owned by TStartup); owns its timers and the
// hand-off listener through Qt parenthood.
class TZandorF : public QMainWindow {
    Q_OBJECT
public:
    // fileToOpen: the long form of the first command-line argument (may be empty).
    TZandorF(TStartup& startup, const std::string& fileToOpen, QWidget* parent = nullptr);
    ~TZandorF() override;

    void UpdateTitle();
    // Opens a named file; an empty name loads nothing and changes nothing. Returns false when the
    // file could not be opened.
    bool LoadFile(const std::string& name);
    // True when the user cancelled the offer to save unsaved changes.
    bool AskSaveChanges();

    void LoadConfig();
    void SaveConfig();
    void FormResize();

    // The receiving side of the hand-off: the channel's message arms Timer1.
    void NewFileWndProc();
    void Timer1Timer();
    bool ForceForegroundWindow();

    std::string CurrentFile;
    std::string CurrentExt;
    std::string WindowSection = "Other";
    bool DocumentModified = false;
    // The task-bar text (the window title carries the full path).
    std::string ApplicationTitle = "Zandor";
    TSettings Settings;
    QTimer* Timer1 = nullptr;

    // How the window reports a problem to the user; replaced by tests.
    std::function<void(const std::string&)> ShowMessage;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const std::string& fileToOpen);
    void FormClose();

    TStartup& startup_;
    platform::NewFileListener* listener_ = nullptr;
    bool closed_ = false;
};

} // namespace zandor
