#include "platform/ExternalOpener.h"

#include <QDesktopServices>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace zandor::platform {

namespace {

// How long a running opener is listened to. Some start the browser in the foreground and end only
// with it; how that program ends much later says nothing about the address.
constexpr int kListenMilliseconds = 30000;

// The desktop's opener, the one Qt would start first, started and followed here: Qt starts it
// detached, so an opener that finds no program for the address fails unseen, with a line on
// standard error only. Without it, Qt looks for a browser of its own.
bool OpenWithDesktop(const QUrl& address, const OpenFailed& failed) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(address);
    // Deleting the process object would end the opener, and perhaps the browser it runs; it goes
    // when the opener ends, and a program that ends first leaves it running.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({QString::fromLatin1(address.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const auto listening = std::make_shared<bool>(static_cast<bool>(failed));
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed, listening](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (*listening && (status != QProcess::NormalExit || code != 0))
                             failed();
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    QTimer::singleShot(kListenMilliseconds, process, [listening] { *listening = false; });
    return true;
}

ExternalOpener& Opener() {
    static ExternalOpener opener = OpenWithDesktop;
    return opener;
}

} // namespace

bool OpenExternal(const QUrl& address, QObject* context, OpenFailed failed) {
    if (address.isEmpty() || !address.isValid())
        return false;
    OpenFailed heard;
    if (context && failed)
        heard = [context = QPointer<QObject>(context), failed = std::move(failed)] {
            if (context)
                failed();
        };
    return Opener()(address, heard);
}

ExternalOpener SetExternalOpener(ExternalOpener opener) {
    ExternalOpener previous = std::move(Opener());
    Opener() = opener ? std::move(opener) : ExternalOpener(OpenWithDesktop);
    return previous;
}

} // namespace zandor::platform
