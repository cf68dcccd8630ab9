#include "documents/DocumentLoad.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor {

namespace {

// Reads are split into slices of this size, so that progress moves on a slow file system too.
constexpr size_t kReadSlice = size_t(4) << 20;

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
    int64_t done = 0;
    bool shown = false;
    int lastPercent = -1;
    QElapsedTimer clock;
    clock.start();
    const bool events = QCoreApplication::instance() != nullptr;
    // The file is read in slices; between them the window paints and its timers run, while keys
    // and clicks wait until the new text is there.
    const platform::TReadCall slicedRead = [&](int fd, void* buffer, size_t n) {
        n = std::min(n, kReadSlice);
        const ssize_t got = read ? read(fd, buffer, n) : ::read(fd, buffer, n);
        if (got > 0)
            done += got;
        if (events)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (progress && clock.elapsed() >= kLoadProgressDelay) {
            const int percent = int(std::min<int64_t>(done * 100 / expected, 100));
            if (percent != lastPercent)
                progress(percent);
            shown = true;
            lastPercent = percent;
        }
        return got;
    };
    TLoadedText loaded = ReadAndDecode(path, maxBytes, repair, slicedRead);
    if (shown)
        progress(-1);
    return loaded;
}

} // namespace zandor
