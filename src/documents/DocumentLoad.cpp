#include "documents/DocumentLoad.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <exception>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zandor {

namespace {

// Reads are split into slices of this size, so that progress moves on a slow file system too.
constexpr size_t kReadSlice = size_t(4) << 20;
// How often the progress is looked at once it shows.
constexpr int kProgressTick = 100;

TLoadedText ReadAndDecode(const std::string& path, int64_t maxBytes, bool repair,
                          const platform::TReadCall& read) {
    TLoadedText loaded;
    platform::TReadDocument file = platform::ReadDocumentFile(path, maxBytes, read);
    loaded.Problem = std::move(file.Problem);
    if (!loaded.Problem.empty())
        return loaded;
    loaded.Bytes = std::move(file.Bytes);
    loaded.Decoded = DecodeBytes(loaded.Bytes, repair);
    loaded.Problem = loaded.Decoded.Problem;
    return loaded;
}

} // namespace

TLoadedText LoadDocumentText(const std::string& path, int64_t maxBytes, bool repair,
                             const TLoadProgress& progress, const platform::TReadCall& read) {
    struct stat st {};
    const int64_t expected = ::stat(path.c_str(), &st) == 0 ? std::max<int64_t>(st.st_size, 1) : 1;
    std::atomic<int64_t> done{0};
    std::atomic<bool> finished{false};
    const platform::TReadCall slicedRead = [&](int fd, void* buffer, size_t n) {
        n = std::min(n, kReadSlice);
        const ssize_t got = read ? read(fd, buffer, n) : ::read(fd, buffer, n);
        if (got > 0)
            done += got;
        return got;
    };

    TLoadedText loaded;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            loaded = ReadAndDecode(path, maxBytes, repair, slicedRead);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    bool shown = false;
    int lastPercent = -1;
    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (!progress || clock.elapsed() < kLoadProgressDelay)
            return;
        const int percent = int(std::min<int64_t>(done * 100 / expected, 100));
        if (percent != lastPercent)
            progress(percent);
        shown = true;
        lastPercent = percent;
    });
    if (QCoreApplication::instance() && !finished) {
        ticker.start(kProgressTick);
        // Paint events and timers go on; keys and clicks wait until the new text is there.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        ticker.stop();
    }
    worker.join();
    if (shown)
        progress(-1);
    if (failure)
        std::rethrow_exception(failure);
    return loaded;
}

} // namespace zandor
