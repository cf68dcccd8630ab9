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

std::string NotInEncoding(const TFileEncoding& encoding) {
    return "Its bytes are no " + EncodingName(encoding) +
           " text: some of them form no character in that encoding.";
}

} // namespace

TLoadedText DecodeFileBytes(platform::TFileBytes bytes, const TLoadOptions& options) {
    TLoadedText loaded;
    const TSauceSplit split = SplitSauce(bytes.View());
    if (split.Record) {
        loaded.Sauce = split.Record;
        loaded.SauceTail.assign(bytes.View().substr(split.TextSize));
        bytes.Size = split.TextSize;
    }
    const std::string_view view = bytes.View();
    const TFileEncoding encoding =
        options.Encoding ? EncodingReading(view, options.Encoding->Form) : DetectEncoding(view);
    // A chosen encoding must fit; the one found always does.
    if (options.Encoding && !EncodingFits(view, encoding)) {
        loaded.Problem = NotInEncoding(encoding);
        return loaded;
    }
    loaded.Content = GuessContent(view, encoding);
    const int charset = options.Charset ? options.Charset(encoding, loaded.Content) : platform::AnsiCodePage;
    loaded.Bytes = std::move(bytes);
    loaded.Decoded = DecodeBytes(loaded.Bytes, options.Repair, encoding, charset);
    loaded.Problem = loaded.Decoded.Problem;
    return loaded;
}

TLoadedText LoadDocumentText(const std::string& path, int64_t maxBytes, const TLoadOptions& options,
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
    platform::TReadDocument file = platform::ReadDocumentFile(path, maxBytes, slicedRead);
    TLoadedText loaded;
    if (file.Problem.empty())
        loaded = DecodeFileBytes(std::move(file.Bytes), options);
    else
        loaded.Problem = std::move(file.Problem);
    if (shown)
        progress(-1);
    return loaded;
}

} // namespace zandor
