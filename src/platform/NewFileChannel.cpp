#include "platform/NewFileChannel.h"

#include "platform/Trace.h"
#include "platform/UserRuntime.h"

#include <QDeadlineTimer>
#include <QFileSystemWatcher>
#include <QLocalServer>
#include <QLocalSocket>

#include <algorithm>

namespace zandor::platform {

namespace {

// The three bytes of the exchange.
constexpr char kRequest = 'N';
constexpr char kAcknowledged = 'A';
constexpr char kConfirmed = 'C';
// A live listener's connection is made by the kernel at once, however busy its program is.
constexpr int kConnectMs = 3000;
// After this long without an answer the start says, in the trace, that it waits for a busy window.
constexpr int kQuietMs = 3000;

} // namespace

bool SendNewFileMessage(const std::string& channelName, int patienceMs) {
    const std::string path = RuntimeObjectPath(channelName);
    if (path.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(kConnectMs))
        return false;
    socket.write(&kRequest, 1);
    if (!socket.flush() && !socket.waitForBytesWritten(kConnectMs))
        return false;
    const QDeadlineTimer deadline(patienceMs);
    bool waitTold = false;
    while (socket.bytesAvailable() == 0) {
        // A listener that went away took nothing.
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        if (deadline.hasExpired()) {
            Trace("hand-off withdrawn");
            socket.abort();
            return false;
        }
        const int slice = int(std::min<qint64>(deadline.remainingTime(), kQuietMs));
        if (!socket.waitForReadyRead(slice) && !waitTold && socket.state() == QLocalSocket::ConnectedState) {
            Trace("hand-off waits for a busy window");
            waitTold = true;
        }
    }
    char reply = 0;
    if (socket.read(&reply, 1) != 1 || reply != kAcknowledged)
        return false;
    // The confirmation decides: once it is in the listener's socket it will be acted on. A byte that
    // did not leave is thrown away with the socket, so nothing is confirmed behind a false.
    socket.write(&kConfirmed, 1);
    if (!socket.flush() && !socket.waitForBytesWritten(kConnectMs)) {
        socket.abort();
        return false;
    }
    socket.disconnectFromServer();
    return true;
}

NewFileListener::NewFileListener(std::function<std::string()> claim,
                                 std::function<void(const std::string&)> onMessage, QObject* parent)
    : QObject(parent), claim_(std::move(claim)), onMessage_(std::move(onMessage)),
      server_(new QLocalServer(this)), watcher_(new QFileSystemWatcher(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &NewFileListener::AcceptConnections);
    // The listening instance removes its socket when it closes; the one that waits takes over.
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        if (!IsListening())
            TryListen();
    });
}

NewFileListener::~NewFileListener() {
    // Connections that close as the server goes must not reach a window that is going too.
    claim_ = nullptr;
    onMessage_ = nullptr;
    delete server_;
}

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
        claimed_[socket];
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        // A sender that closes without its confirmation has withdrawn the request: what was claimed
        // for it is dropped. A confirmation that came just before the close is still read first.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            Answer(socket);
            claimed_.erase(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            Answer(socket);
    }
}

void NewFileListener::Answer(QLocalSocket* socket) {
    const auto request = claimed_.find(socket);
    if (request == claimed_.end())
        return;
    for (const char byte : socket->readAll()) {
        if (byte == kRequest && !request->second) {
            request->second = claim_ ? claim_() : std::string();
            socket->write(&kAcknowledged, 1);
            socket->flush();
        } else if (byte == kConfirmed && request->second) {
            // One request per connection.
            const std::string handed = std::move(*request->second);
            claimed_.erase(request);
            if (onMessage_)
                onMessage_(handed);
            return;
        }
    }
}

} // namespace zandor::platform
