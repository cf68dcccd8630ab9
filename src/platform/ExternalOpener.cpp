#include "platform/ExternalOpener.h"

#include <QDesktopServices>

namespace zandor::platform {

namespace {

// Qt starts the desktop's opener (xdg-open, or a browser it finds) with the address as one
// argument of the process, without a shell in between.
bool OpenWithDesktop(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

ExternalOpener& Opener() {
    static ExternalOpener opener = OpenWithDesktop;
    return opener;
}

} // namespace

bool OpenExternal(const QUrl& address) {
    if (address.isEmpty() || !address.isValid())
        return false;
    return Opener()(address);
}

ExternalOpener SetExternalOpener(ExternalOpener opener) {
    ExternalOpener previous = std::move(Opener());
    Opener() = opener ? std::move(opener) : ExternalOpener(OpenWithDesktop);
    return previous;
}

} // namespace zandor::platform
