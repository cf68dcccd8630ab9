#include "platform/ReplacingFile.h"

#include "platform/PlatformErrors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::platform {

namespace {

constexpr size_t kBufferSize = 1u << 20;

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The path a chain of symbolic links ends at, whether or not a file stands there; the path itself
// when it is no link. Empty when the chain does not end (a loop).
std::string LinkTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::vector<char> target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0 || static_cast<size_t>(n) >= target.size() - 1)
            return path; // changed under us; the write goes to the name as given
        const std::string next(target.data(), static_cast<size_t>(n));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    return {};
}

} // namespace

const TFileCalls& TFileCalls::System() {
    static const TFileCalls calls{
        [](int fd, const void* data, size_t n) { return ::write(fd, data, n); },
        [](int fd) { return ::fsync(fd); },
        [](const char* from, const char* to) { return ::rename(from, to); },
    };
    return calls;
}

TReplacingFile::TReplacingFile(const std::string& path, const TOptions& options, const TFileCalls& calls)
    : shownPath_(path), calls_(calls) {
    target_ = LinkTarget(path);
    if (target_.empty())
        Fail(ELOOP);
    folder_ = FolderOf(target_);

    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A rename would put a plain file in place of a folder's entry, a device or a pipe.
        Fail(S_ISDIR(existing.st_mode) ? std::strerror(EISDIR) : std::string("Not a regular file"));
    }
    if (exists && options.RequireWritable && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
        Fail(errno);

    const std::string pattern = folder_ + "/.zandor-XXXXXX";
    tempName_.assign(pattern.begin(), pattern.end());
    tempName_.push_back('\0');
    fd_ = ::mkostemp(tempName_.data(), O_CLOEXEC);
    if (fd_ < 0)
        Fail(errno);

    mode_t mode = options.NewFileMode;
    if (exists && options.KeepExisting) {
        mode = existing.st_mode & 07777;
        // Another user's file stays theirs where the system lets us say so; otherwise it becomes
        // ours, with its permission bits.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())
            if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0)
                (void)::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid);
    }
    if (::fchmod(fd_, mode) != 0)
        Fail(errno);
    buffer_.resize(kBufferSize);
}

TReplacingFile::~TReplacingFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !tempName_.empty())
        ::unlink(tempName_.data());
}

void TReplacingFile::Fail(int error) const {
    Fail(std::string(std::strerror(error)));
}

void TReplacingFile::Fail(const std::string& reason) const {
    throw FileError("Cannot create file \"" + shownPath_ + "\". " + reason);
}

void TReplacingFile::Write(const void* data, size_t n) {
    const char* bytes = static_cast<const char*>(data);
    if (buffered_ + n > buffer_.size())
        FlushBuffer();
    if (n >= buffer_.size()) {
        // Large pieces go straight to the file.
        while (n > 0) {
            const ssize_t written = calls_.Write(fd_, bytes, n);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                Fail(errno);
            }
            if (written == 0)
                Fail(ENOSPC);
            bytes += written;
            n -= static_cast<size_t>(written);
        }
        return;
    }
    std::memcpy(buffer_.data() + buffered_, bytes, n);
    buffered_ += n;
}

void TReplacingFile::FlushBuffer() {
    size_t done = 0;
    while (done < buffered_) {
        const ssize_t written = calls_.Write(fd_, buffer_.data() + done, buffered_ - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        if (written == 0)
            Fail(ENOSPC);
        done += static_cast<size_t>(written);
    }
    buffered_ = 0;
}

void TReplacingFile::Commit() {
    FlushBuffer();
    if (calls_.Fsync(fd_) != 0)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    // A close can report a write the kernel deferred (a network file system, a full quota).
    if (::close(fd) != 0)
        Fail(errno);
    if (calls_.Rename(tempName_.data(), target_.c_str()) != 0)
        Fail(errno);
    committed_ = true;

    // Make the rename itself durable; a failure here does not undo a complete, renamed file.
    const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace zandor::platform
