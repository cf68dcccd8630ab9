#include "app/SettingsReports.h"

#include "app/ConfigSaver.h"

#include <exception>

namespace zandor {

TSettingsReports::TSettingsReports(std::function<void(const std::string&)> show) : show_(std::move(show)) {}

void TSettingsReports::Report(const std::string& text) {
    if (!shown_.insert(text).second)
        return;
    if (show_)
        show_(text);
}

bool TSettingsReports::Guard(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const std::exception& e) {
        Report(e.what());
        return false;
    }
}

void TSettingsReports::ReportStore(const TConfigSaver& store) {
    if (const std::string& error = store.LoadError(); !error.empty() && !shown_.count(error)) {
        // Every later write fails with the bare text; the user hears of it here, once.
        shown_.insert(error);
        Report(error + "\n\nZandor runs with its default settings and leaves that file as it is.");
    }
    std::string text;
    for (const TConfigSaver::TypeError& e : store.TypeErrors()) {
        if (!shown_.insert(e.Message).second)
            continue;
        if (!text.empty())
            text += '\n';
        text += e.Message;
    }
    if (!text.empty())
        Report(text + "\n\nZandor uses the default values instead and stores them anew when it closes.");
}

} // namespace zandor
