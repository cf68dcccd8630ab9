#include "periphery/WebPage.h"

#include "host/ZandorHost.h"
#include "localisation/Localisation.h"
#include "platform/ExternalOpener.h"

#include <QWidget>

namespace zandor {

QUrl WebAddress(const char* address) {
    return QUrl(QString::fromUtf8(address), QUrl::StrictMode);
}

bool OpenPage(TZandorHost& host, const QUrl& address) {
    const QString shown = address.isLocalFile() ? address.toLocalFile() : address.toString();
    const auto tell = [&host, shown] {
        host.ShowPlainMessage(host.Texts().GetText(121, "No program could be started to show this page.") +
                              "\n" + shown.toStdString());
    };
    // The opener may give up only after it started; that is told while the host's window lives.
    if (platform::OpenExternal(address, host.DialogParent(), tell))
        return true;
    tell();
    return false;
}

} // namespace zandor
