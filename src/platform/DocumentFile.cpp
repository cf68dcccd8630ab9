#include "platform/DocumentFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::platform {

namespace {

// Closes the file when the read is over, whichever way it ends.
struct TFd {
    int Fd;
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
};

} // namespace

TReadDocument ReadDocumentFile(const std::string& path, int64_t maxBytes, const TReadCall& readCall) {
    TReadDocument result;
    const auto fail = [&](std::string problem) {
        result.Bytes = {};
        result.Problem = std::move(problem);
        return std::move(result);
    };
    // Without O_NONBLOCK, opening a named pipe would wait for a writer that may never come.
    TFd file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.Fd < 0)
        return fail(std::strerror(errno) + std::string("."));
    struct stat st {};
    if (::fstat(file.Fd, &st) != 0)
        return fail(std::strerror(errno) + std::string("."));
    if (S_ISDIR(st.st_mode))
        return fail("It is a folder, not a file.");
    if (!S_ISREG(st.st_mode))
        return fail("It is no regular file but a device, a pipe or a socket.");
    ::fcntl(file.Fd, F_SETFL, ::fcntl(file.Fd, F_GETFL) & ~O_NONBLOCK);
    const auto tooLarge = [&](int64_t size) {
        return fail("The file is too large: it has " + std::to_string(size) +
                    " bytes, and the editor holds at most " + std::to_string(maxBytes) + " characters.");
    };
    if (st.st_size > maxBytes)
        return tooLarge(st.st_size);

    const auto read = [&](void* buffer, size_t n) {
        return readCall ? readCall(file.Fd, buffer, n) : ::read(file.Fd, buffer, n);
    };
    // One byte more than the size, so that a file that grew is noticed and read on to its end.
    size_t capacity = static_cast<size_t>(st.st_size) + 1;
    std::unique_ptr<char[]> data(new char[capacity]);
    size_t filled = 0;
    for (;;) {
        if (filled == capacity) {
            if (static_cast<int64_t>(capacity) > maxBytes)
                return tooLarge(static_cast<int64_t>(capacity));
            const size_t larger = capacity * 2;
            std::unique_ptr<char[]> grown(new char[larger]);
            std::memcpy(grown.get(), data.get(), filled);
            data = std::move(grown);
            capacity = larger;
        }
        const ssize_t n = read(data.get() + filled, capacity - filled);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(std::strerror(errno) + std::string("."));
        }
        filled += static_cast<size_t>(n);
    }
    if (static_cast<int64_t>(filled) > maxBytes)
        return tooLarge(static_cast<int64_t>(filled));
    if (filled < static_cast<size_t>(st.st_size))
        return fail("The file became shorter while it was read (" + std::to_string(filled) + " of " +
                    std::to_string(st.st_size) + " bytes); another program may be writing it.");
    result.Bytes.Data = std::move(data);
    result.Bytes.Size = filled;
    return result;
}

} // namespace zandor::platform
