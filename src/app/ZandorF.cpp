#include "app/ZandorF.h"

#include "app/ConfigSaver.h"
#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "platform/NewFileChannel.h"
#include "platform/PlatformErrors.h"
#include "platform/Trace.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cctype>

namespace zandor {

using platform::Trace;

TZandorF::TZandorF(TStartup& startup, const std::string& fileToOpen, QWidget* parent)
    : QMainWindow(parent), startup_(startup) {
    ShowMessage = [this](const std::string& text) {
        QMessageBox::warning(this, QStringLiteral("Zandor"), QString::fromStdString(text));
    };
    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TZandorF::Timer1Timer);
    FormCreate(fileToOpen);
}

TZandorF::~TZandorF() = default;

void TZandorF::FormCreate(const std::string& fileToOpen) {
    setWindowTitle(QStringLiteral("Zandor"));
    resize(687, 469);
    LoadConfig();
    if (!fileToOpen.empty() && platform::FileExists(fileToOpen))
        LoadFile(fileToOpen);
    // Later hand-offs reach this window through the channel.
    listener_ = new platform::NewFileListener([this] { NewFileWndProc(); }, this);
    listener_->Listen(startup_.NewFileMessage);
}

void TZandorF::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    DocumentModified = false;
    Trace("window shown: " + windowTitle().toStdString());
}

void TZandorF::UpdateTitle() {
    if (!CurrentFile.empty()) {
        std::string caption = "Zandor - " + CurrentFile;
        if (DocumentModified)
            caption += " *";
        setWindowTitle(QString::fromStdString(caption));
        const auto slash = CurrentFile.rfind('/');
        const std::string shortName =
            slash == std::string::npos ? CurrentFile : CurrentFile.substr(slash + 1);
        ApplicationTitle = (DocumentModified ? "* " : "") + shortName;
    } else {
        ApplicationTitle = DocumentModified ? "Zandor *" : "Zandor";
        setWindowTitle(QString::fromStdString(ApplicationTitle));
    }
    WindowSection = "Other";
    const auto slash = CurrentFile.rfind('/');
    const auto dot = CurrentFile.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string ext = CurrentFile.substr(dot);
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext.size() > 3)
            WindowSection = ext.substr(1);
    }
    Trace("caption: " + windowTitle().toStdString());
}

bool TZandorF::LoadFile(const std::string& name) {
    if (name.empty())
        return false;
    if (!platform::FileExists(name)) {
        ShowMessage("Cannot open file \"" + name + "\".");
        return false;
    }
    CurrentFile = name;
    CurrentExt.clear();
    const auto slash = name.rfind('/');
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        CurrentExt = name.substr(dot);
        std::transform(CurrentExt.begin(), CurrentExt.end(), CurrentExt.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    AddRecentFile(Settings.RecentFiles, CurrentFile);
    DocumentModified = false;
    UpdateTitle();
    return true;
}

bool TZandorF::AskSaveChanges() {
    // Nothing can be changed before the editor exists, so there is never anything to save.
    return false;
}

void TZandorF::LoadConfig() {
    Settings = DefaultSettings();
    LoadSettings(*startup_.Config, Settings);
}

void TZandorF::SaveConfig() {
    Settings.OneInstance = startup_.OneInstance;
    SaveSettings(*startup_.Config, Settings);
    startup_.Config->Flush();
}

void TZandorF::FormResize() {}

void TZandorF::NewFileWndProc() {
    Timer1->start();
}

void TZandorF::Timer1Timer() {
    Timer1->stop();
    const std::string name = startup_.SharedMem ? GetSharedFilename(*startup_.SharedMem) : std::string();
    Trace("hand-off received: " + name);
    ForceForegroundWindow();
    if (!AskSaveChanges())
        LoadFile(name);
}

bool TZandorF::ForceForegroundWindow() {
    if (isMinimized())
        showNormal();
    if (isActiveWindow())
        return true;
    raise();
    activateWindow();
    return isActiveWindow();
}

void TZandorF::closeEvent(QCloseEvent* event) {
    if (AskSaveChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TZandorF::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    // A settings file that cannot be written (a read-only portable folder) must not keep the
    // window open; the user hears about it once.
    try {
        SaveConfig();
    } catch (const platform::FileError& e) {
        ShowMessage(e.what());
    }
    if (startup_.SharedMem)
        startup_.SharedMem->CloseMapping();
    startup_.SharedMem.reset();
    startup_.Config.reset();
}

} // namespace zandor
