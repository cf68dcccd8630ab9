#include "documents/DiskWatch.h"

#include "platform/FileSystem.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace zandor {

namespace {

// A program writing a file does it in several calls: the file is looked at once they have settled.
constexpr int kSettleMs = 250;

} // namespace

TDiskWatch::TDiskWatch(std::function<bool(const platform::TFileStamp&)> changed)
    : changed_(std::move(changed)), watcher_(std::make_unique<QFileSystemWatcher>()),
      settle_(std::make_unique<QTimer>()) {
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    QObject::connect(settle_.get(), &QTimer::timeout, [this] { Check(); });
    const auto soon = [this] { settle_->start(); };
    QObject::connect(watcher_.get(), &QFileSystemWatcher::fileChanged, soon);
    // Another file of the folder changed: ours is looked at only when it was replaced, moved or
    // deleted, or its size or time changed; a change in place tells of itself.
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, [this, soon] {
        const platform::TFileStamp now = platform::StampOf(path_, false);
        const bool watched = watcher_->files().contains(QString::fromStdString(path_));
        if (!watched || now.Exists != seen_.Exists || now.Size != seen_.Size ||
            now.WriteTimeNs != seen_.WriteTimeNs)
            soon();
    });
}

TDiskWatch::~TDiskWatch() = default;

void TDiskWatch::Watch(const std::string& path, const platform::TFileStamp& stamp) {
    if (path != path_) {
        Stop();
        path_ = path;
    }
    known_ = stamp;
    seen_ = stamp;
    Rewatch();
    settle_->start();
}

void TDiskWatch::Stop() {
    settle_->stop();
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    path_.clear();
    known_ = {};
    seen_ = {};
}

void TDiskWatch::Rewatch() {
    if (path_.empty())
        return;
    const QString file = QString::fromStdString(path_);
    const QString folder = QString::fromStdString(platform::FileFolder(path_));
    // A file renamed over the old one is a new file the watch must be put on again.
    if (platform::FileExists(path_) && !watcher_->files().contains(file))
        watcher_->addPath(file);
    if (!folder.isEmpty() && !watcher_->directories().contains(folder))
        watcher_->addPath(folder);
}

void TDiskWatch::Check() {
    if (path_.empty())
        return;
    Rewatch();
    const platform::TFileStamp now = platform::StampOf(path_);
    if (platform::SameFileState(now, seen_))
        return;
    const platform::TFileStamp before = seen_;
    seen_ = now;
    if (!changed_(now)) {
        seen_ = before;
        settle_->start();
    }
}

} // namespace zandor
