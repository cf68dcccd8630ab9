// What a click on an address opens. The address text becomes a URL that the desktop opens as one
// argument of its opener, never through a shell; a local program, script or desktop launcher is
// not started by a click: the user is shown what would be opened and asked first.
#pragma once

#include <QUrl>

#include <functional>
#include <string>

namespace zandor {

enum class TLaunchKind {
    Refuse,   // nothing sensible to open
    Open,     // a web, mail or news address, a document or a folder
    AskFirst, // a local program or launcher, or an address of a kind that starts programs
};

struct TLaunchPlan {
    TLaunchKind Kind = TLaunchKind::Refuse;
    QUrl Url;
    // What the user is shown when asked.
    QString Shown;
};

// Holds only its question; the desktop is reached through platform::OpenExternal.
class TURLLauncher {
public:
    // The address bytes are ANSI text. An address that begins with "www.", "ftp." or "gopher." is
    // an address of that kind whatever follows the host (a port too). An address without a scheme
    // that names no existing local file is a web address, as a browser would take it.
    static TLaunchPlan Plan(const std::string& address);

    // Opens the address after asking where the plan says so; false when nothing was opened.
    bool Launch(const std::string& address) const;

    // Asked before a local program or an unusual address is opened; empty: such an address is
    // never opened.
    std::function<bool(const QString& shown)> Confirm;

    // The launcher of the program: it asks in a message box over the active window.
    static TURLLauncher& Default();
};

} // namespace zandor
