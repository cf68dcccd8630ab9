// The hand-off's notification: a second instance tells the first that a file name waits in the
// shared block. The first instance listens on a per-user local socket in the runtime folder.
//
// A request is decided once, by the sender: it sends a request, the listener takes what the
// request hands over (reads the shared block) and acknowledges, and only then does the sender
// confirm. The listener acts on confirmed requests only. A sender that runs out of patience closes
// without confirming, which withdraws the request: a window that reads it later drops it. So a
// start is either taken by the running window or opens its own window, never both.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <optional>
#include <string>

class QFileSystemWatcher;
class QLocalServer;
class QLocalSocket;

namespace zandor::platform {

// How long a start waits for a running window that is busy (a long Replace All keeps its events
// waiting). A window that answers nothing for so long is taken for hung.
inline constexpr int kHandOffPatienceMs = 5 * 60 * 1000;

// True when a listener on the channel took the request and the request was confirmed; false when
// nobody listens, the listener went away, or it did not answer within the patience (the request
// is then withdrawn).
bool SendNewFileMessage(const std::string& channelName, int patienceMs = kHandOffPatienceMs);

// Owns its server socket. On the UI thread: calls `claim` when a request arrives, before it is
// acknowledged, and `onMessage` with what claim gave once the sender confirms it.
class NewFileListener : public QObject {
    Q_OBJECT
public:
    NewFileListener(std::function<std::string()> claim, std::function<void(const std::string&)> onMessage,
                    QObject* parent = nullptr);
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

    std::function<std::string()> claim_;
    std::function<void(const std::string&)> onMessage_;
    std::string channel_;
    QLocalServer* server_ = nullptr;        // child of this object
    QFileSystemWatcher* watcher_ = nullptr; // child of this object
    // What each connection's request handed over, from its acknowledgement to its confirmation.
    std::map<QLocalSocket*, std::optional<std::string>> claimed_;
};

} // namespace zandor::platform
