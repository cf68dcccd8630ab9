// The Help menu: the help pages shipped with the program, the web pages of the project, and the
// About window.
#pragma once

#include <string>

class QAction;

namespace zandor {

class TZandorHost;

// The first help page, relative to the folder of the program's files (TZandorHost::ProgramFolder).
inline constexpr const char* kHelpContents = "help/index.html";

// Refers to the window it serves (which owns it) and to the menu item whose caption it keeps.
class THelpCommands {
public:
    explicit THelpCommands(TZandorHost& host);
    THelpCommands(const THelpCommands&) = delete;
    THelpCommands& operator=(const THelpCommands&) = delete;

    // The Help menu opens: "Look for new version" shows the version it would compare with.
    void Help1Click();
    // The help pages in the desktop's browser; a missing page is reported.
    void Contents1Click();
    void DonatePaypal1Click();
    void DonatePaypalEUR1Click();
    void miDonateBTCClick();
    void Lookfornewversion1Click();
    void OtherVeltraneSoftware1Click();
    // The About window, modal.
    void About1Click();

    // The help pages' first page: the host's ProgramFolder + kHelpContents.
    const std::string& HelpFile() const { return helpFile_; }

    // The item whose caption carries the version; set by the window.
    QAction* Lookfornewversion1 = nullptr;

private:
    void OpenWebPage(const char* address);

    TZandorHost& host_;
    std::string helpFile_;
};

} // namespace zandor
