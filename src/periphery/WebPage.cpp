#include "periphery/WebPage.h"

#include "host/ZandorHost.h"
#include "platform/ExternalOpener.h"

namespace zandor {

QUrl WebAddress(const char* address) {
    return QUrl(QString::fromUtf8(address), QUrl::StrictMode);
}

bool OpenPage(TZandorHost& host, const QUrl& address) {
    if (platform::OpenExternal(address))
        return true;
    const QString shown = address.isLocalFile() ? address.toLocalFile() : address.toString();
    host.ShowPlainMessage("No program could be started to open \"" + shown.toStdString() + "\".");
    return false;
}

} // namespace zandor
