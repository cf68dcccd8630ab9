// The open document's file as other programs change it: the stamp of the file as the window last
// read or wrote it, and a watch on the file and its folder (an editor that saves by renaming a new
// file over the old one replaces the file the watch was on) that reports once for each state of
// the file that differs from the last one reported.
#pragma once

#include "platform/FileStamp.h"

#include <functional>
#include <memory>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace zandor {

class TDiskWatch {
public:
    // `changed` is called from the event loop, a moment after the file changed, with its stamp now;
    // it answers false when the change cannot be handled now, and it is looked at again a moment
    // later.
    explicit TDiskWatch(std::function<bool(const platform::TFileStamp& now)> changed);
    TDiskWatch(const TDiskWatch&) = delete;
    TDiskWatch& operator=(const TDiskWatch&) = delete;
    ~TDiskWatch();

    // The window holds the file's text as it was in `stamp` (taken before it was read, or after it
    // was written). The file is looked at once more a moment later: a change while it was read
    // shows then.
    void Watch(const std::string& path, const platform::TFileStamp& stamp);
    // No file: an untitled text.
    void Stop();

    const std::string& Path() const { return path_; }
    // The file as the window read or wrote it.
    const platform::TFileStamp& Known() const { return known_; }
    // The state the last report was made for: it is not reported again.
    void MarkSeen(const platform::TFileStamp& stamp) { seen_ = stamp; }
    // Looks at the file now and reports when it differs from what was seen.
    void Check();

private:
    void Rewatch();

    std::function<bool(const platform::TFileStamp&)> changed_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    std::unique_ptr<QTimer> settle_;
    std::string path_;
    platform::TFileStamp known_;
    platform::TFileStamp seen_;
};

} // namespace zandor
