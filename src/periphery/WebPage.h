// Opening a web page or a help page from a command, and telling the user when the desktop could not
// start anything for it.
#pragma once

#include <QUrl>

#include <string>

namespace zandor {

class TZandorHost;

// A web address of the program's address table as an address to open; an empty text gives an
// empty address.
QUrl WebAddress(const char* address);

// Opens the address through the platform's one opener. When nothing could be started for it, or
// the opener then found no program to show it, the user is told (text 121) which address it was.
// False when nothing could be started.
bool OpenPage(TZandorHost& host, const QUrl& address);

} // namespace zandor
