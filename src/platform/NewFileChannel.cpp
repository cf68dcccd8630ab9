#include "platform/NewFileChannel.h"

#include "platform/UserRuntime.h"

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
    : QObject(parent), onMessage_(std::move(onMessage)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &NewFileListener::AcceptConnections);
}

NewFileListener::~NewFileListener() = default;

bool NewFileListener::Listen(const std::string& channelName) {
    const std::string path = RuntimeObjectPath(channelName);
    if (path.empty())
        return false;
    const QString name = QString::fromStdString(path);
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(200)) {
            probe.disconnectFromServer();
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
