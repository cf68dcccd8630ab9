#include "platform/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zandor::platform {

namespace {

// FNV-1a over the file's bytes; nothing when they cannot all be read.
std::optional<uint64_t> HashOf(const std::string& path, int64_t size) {
    // Without blocking, and only a regular file: the path may have become a pipe since it was
    // looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    uint64_t hash = 0xcbf29ce484222325ull;
    char buffer[65536];
    int64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0 && total == size ? std::optional<uint64_t>(hash) : std::nullopt;
        }
        for (ssize_t i = 0; i < got; ++i)
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 0x100000001b3ull;
        total += got;
    }
}

} // namespace

TFileStamp StampOf(const std::string& path, bool withHash) {
    TFileStamp stamp;
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return stamp;
    stamp.Exists = true;
    stamp.Size = static_cast<int64_t>(info.st_size);
    stamp.WriteTimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    if (withHash && stamp.Size <= kHashedFileSize)
        stamp.Hash = HashOf(path, stamp.Size);
    return stamp;
}

bool SameFileState(const TFileStamp& a, const TFileStamp& b) {
    if (a.Exists != b.Exists)
        return false;
    if (!a.Exists)
        return true;
    if (a.Size != b.Size || a.WriteTimeNs != b.WriteTimeNs)
        return false;
    return !a.Hash || !b.Hash || *a.Hash == *b.Hash;
}

} // namespace zandor::platform
