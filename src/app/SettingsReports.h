// What the main window tells the user about its settings store: a settings file that could not be
// read, values stored with the wrong type, writes that failed. Each text is shown once per run
// however often its problem comes back (a bounds save after every move of the window), and no
// failure of the store ever leaves the window's handlers.
#pragma once

#include <functional>
#include <set>
#include <string>

namespace zandor {

class TConfigSaver;

// Refers to nothing; shows its texts through the function it is given.
class TSettingsReports {
public:
    explicit TSettingsReports(std::function<void(const std::string&)> show);

    // Shows the text unless it was shown before.
    void Report(const std::string& text);
    // Runs a write of settings; a failure is reported (once) instead of going on to the caller.
    // True when the write succeeded.
    bool Guard(const std::function<void()>& write);
    // Reports the store's load error and, in one text, the values of the wrong type not reported
    // yet.
    void ReportStore(const TConfigSaver& store);

private:
    std::function<void(const std::string&)> show_;
    std::set<std::string> shown_;
};

} // namespace zandor
