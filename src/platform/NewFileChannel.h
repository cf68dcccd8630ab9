// The hand-off's notification: a second instance tells the first that a file name waits in the
// shared block. The first instance listens on a per-user local socket in the runtime folder;
// "sending" connects, writes one byte and waits for the one-byte reply, so the sender knows the
// receiver took the message (its work happens later, on a timer).
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QFileSystemWatcher;
class QLocalServer;
class QLocalSocket;

namespace zandor::platform {

// True when a listener on the channel answered within the time-out.
bool SendNewFileMessage(const std::string& channelName, int timeoutMs = 3000);

// Owns its server socket; calls the handler on the UI thread once per message received.
class NewFileListener : public QObject {
    Q_OBJECT
public:
    NewFileListener(std::function<void()> onMessage, QObject* parent = nullptr);
    ~NewFileListener() override;

    // Starts listening unless another live instance already does; that one stays the receiver, and
    // this listener takes the channel over when that one's socket goes away (its window closed), so
    // a later start always finds a running instance to hand its file to. A socket left behind by
    // an instance that died is replaced. True when this listener listens now.
    bool Listen(const std::string& channelName);
    bool IsListening() const;

private:
    bool TryListen();
    void AcceptConnections();
    void Answer(QLocalSocket* socket);

    std::function<void()> onMessage_;
    std::string channel_;
    QLocalServer* server_ = nullptr;        // child of this object
    QFileSystemWatcher* watcher_ = nullptr; // child of this object
};

} // namespace zandor::platform
