// A main window started in portable mode in a scratch program folder (with the English language
// file beside it), on a desktop whose work area and monitor count the test chooses.
#pragma once

#include "app/ConfigSaver.h"
#include "app/MenuBand.h"
#include "app/Startup.h"
#include "app/ZandorF.h"
#include "editor/control/ArtMemo.h"
#include "platform/ScreenFonts.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace zandor::test {

class WindowFixture : public ::testing::Test {
protected:
    ScratchDir dir;
    EnvGuard runtime{"XDG_RUNTIME_DIR", dir.path()};
    TStartup startup;
    std::vector<std::string> messages;
    // The window's error boxes (caption, a line break, text) and questions, and the answers the
    // questions get in turn (No when none is left). The dialogs return what the test set; by
    // default the user cancels them.
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::deque<TAnswer> answers;
    std::vector<TOpenDialogRequest> openRequests;
    std::vector<TSaveDialogRequest> saveRequests;
    std::string openAnswer;
    std::string saveAnswer;
    std::optional<platform::FontValue> fontAnswer;
    QRect workArea{0, 0, 1920, 1040};
    int monitors = 1;

    void SetUp() override {
        chmod(dir.path().c_str(), 0700);
        dir.write("languages/English.vlf",
                  readFile(std::string(ZANDOR_SOURCE_DIR_BUILT) + "/languages/English.vlf"));
        dir.write("usb.dat", "");
        ChooseSettingsLocation(startup, dir.path(), "");
        CreateSettingsStore(startup);
        PrepareHandOff(startup);
        ScreenFontsRegistered();
    }

    // The screen fonts generated beside the build; false when they have not been built.
    static bool ScreenFontsRegistered() {
        static const bool registered =
            platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts");
        return registered;
    }

    TDesktop Desktop() {
        TDesktop desktop;
        desktop.WorkArea = [this] { return workArea; };
        desktop.MonitorCount = [this] { return monitors; };
        return desktop;
    }

    // A window as the start-up creates it; `running` clears StartingUp as the message loop does.
    std::unique_ptr<TZandorF> Create(const std::string& file = "", bool running = false) {
        // A window that closed released the store, as at the end of a run; the next one starts anew.
        if (!startup.Config) {
            CreateSettingsStore(startup);
            PrepareHandOff(startup);
            startup.StartingUp = true;
        }
        auto window = std::make_unique<TZandorF>(startup, file, Desktop());
        window->ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        window->ShowError = [this](const QString& caption, const QString& text) {
            errors.push_back((caption + QLatin1Char('\n') + text).toStdString());
        };
        window->AskQuestion = [this](const QString& text, bool) {
            questions.push_back(text.toStdString());
            if (answers.empty())
                return TAnswer::No;
            const TAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        };
        window->RunOpenDialog = [this](const TOpenDialogRequest& request) {
            openRequests.push_back(request);
            return openAnswer;
        };
        window->RunSaveDialog = [this](const TSaveDialogRequest& request) {
            saveRequests.push_back(request);
            return saveAnswer;
        };
        window->RunFontDialog = [this](const platform::FontValue&) { return fontAnswer; };
        if (running) {
            window->FormResize();
            startup.StartingUp = false;
        }
        return window;
    }

    TConfigSaver& Store() { return *startup.Config; }

    // Switches to the per-user store (registry.reg in config/Veltrane/Zandor/) before any window.
    void UsePerUserStore() {
        std::remove(dir.file("usb.dat").c_str());
        ChooseSettingsLocation(startup, dir.path(), dir.path() + "/config/");
        CreateSettingsStore(startup);
        PrepareHandOff(startup);
    }

    // Runs events until the condition holds or five seconds have passed.
    static bool ProcessUntil(const std::function<bool()>& condition) {
        QDeadlineTimer deadline(5000);
        while (!condition() && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return condition();
    }
};

} // namespace zandor::test
