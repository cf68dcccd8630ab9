#include "platform/NewFileChannel.h"

#include "platform/UserRuntime.h"

#include <QFileSystemWatcher>
#include <QLocalServer>
#include <QLocalSocket>

namespace zandor::platform {

bool SendNewFileMessage(const std::string& channelName, int timeoutMs) {
    const std::string path = RuntimeObjectPath(channelName);
    if (path.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write("N", 1);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    const bool answered = socket.bytesAvailable() > 0 || socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return answered;
}

NewFileListener::NewFileListener(std::function<void()> onMessage, QObject* parent)
    : QObject(parent), onMessage_(std::move(onMessage)), server_(new QLocalServer(this)),
      watcher_(new QFileSystemWatcher(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &NewFileListener::AcceptConnections);
    // The listening instance removes its socket when it closes; the one that waits takes over.
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        if (!IsListening())
            TryListen();
    });
}

NewFileListener::~NewFileListener() = default;

bool NewFileListener::Listen(const std::string& channelName) {
    channel_ = channelName;
    return TryListen();
}

bool NewFileListener::TryListen() {
    const std::string path = RuntimeObjectPath(channel_);
    if (path.empty())
        return false;
    const QString name = QString::fromStdString(path);
    // Two waiting instances must not both find the socket gone and each replace the other's.
    const RuntimeTurn turn(channel_);
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(200)) {
            probe.disconnectFromServer();
            if (!watcher_->files().contains(name))
                watcher_->addPath(name);
            return false;
        }
    }
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

bool NewFileListener::IsListening() const {
    return server_->isListening();
}

void NewFileListener::AcceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        if (socket->bytesAvailable() > 0)
            Answer(socket);
    }
}

void NewFileListener::Answer(QLocalSocket* socket) {
    const QByteArray bytes = socket->readAll();
    if (bytes.isEmpty())
        return;
    socket->write("A", 1);
    socket->flush();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (onMessage_)
            onMessage_();
    }
}

} // namespace zandor::platform
