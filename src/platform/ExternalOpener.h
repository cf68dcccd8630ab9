// Handing an address or a local file to the desktop: web pages and help pages open in the user's
// browser, other files in the program the desktop chooses for them. Every such hand-over of the
// program goes through OpenExternal, so there is one place that starts other programs, and the
// address travels as an argument of its own, never through a shell.
#pragma once

#include <QUrl>

#include <functional>

class QObject;

namespace zandor::platform {

// Called from the event loop when the desktop's opener was started but then gave up on the address
// (it found no program for it, or the program failed at once).
using OpenFailed = std::function<void()>;

// Opens the address (a file:// address for a local file). False when nothing could be started
// for it, or when the address is empty or not valid. A later failure of the opener reaches
// `failed` while `context` lives; without a context it goes unheard.
bool OpenExternal(const QUrl& address, QObject* context = nullptr, OpenFailed failed = {});

// What OpenExternal calls (with `failed` already bound to its context); tests put their own in
// place to see what would have been opened.
using ExternalOpener = std::function<bool(const QUrl& address, const OpenFailed& failed)>;
// Installs an opener (an empty one restores the desktop's) and returns the one it replaces.
ExternalOpener SetExternalOpener(ExternalOpener opener);

} // namespace zandor::platform
