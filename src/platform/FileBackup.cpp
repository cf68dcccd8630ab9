#include "platform/FileBackup.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::platform {

namespace {

constexpr size_t kCopySlice = 1u << 20;

// Writes all n bytes at the offset, through short writes and interruptions; false with errno set.
bool WriteAllAt(int fd, const char* data, size_t n, uint64_t offset) {
    while (n > 0) {
        const ssize_t written = ::pwrite(fd, data, n, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        data += written;
        n -= static_cast<size_t>(written);
        offset += static_cast<uint64_t>(written);
    }
    return true;
}

// Reads exactly n bytes at the offset; false with errno set (EIO when the file ended early).
bool ReadAllAt(int fd, char* data, size_t n, uint64_t offset) {
    while (n > 0) {
        const ssize_t got = ::pread(fd, data, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;
            return false;
        }
        data += got;
        n -= static_cast<size_t>(got);
        offset += static_cast<uint64_t>(got);
    }
    return true;
}

// Copies the first `size` bytes of one file over the start of another; false with errno set.
bool CopyBytes(int from, int to, uint64_t size) {
    std::vector<char> slice(static_cast<size_t>(std::min<uint64_t>(size, kCopySlice)));
    for (uint64_t at = 0; at < size;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(size - at, slice.size()));
        if (!ReadAllAt(from, slice.data(), n, at) || !WriteAllAt(to, slice.data(), n, at))
            return false;
        at += n;
    }
    return true;
}

// A new private file in the first folder that takes one; -1 with the last folder's error otherwise.
int CreateBackupFile(const std::vector<std::string>& folders, std::string& path, std::string& reason) {
    reason = "no folder to keep a backup in";
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        std::string pattern = folder;
        if (pattern.back() != '/')
            pattern += '/';
        pattern += "zandor-backup-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) {
            path = name.data();
            return fd;
        }
        reason = "\"" + folder + "\": " + std::strerror(errno);
    }
    return -1;
}

} // namespace

std::vector<std::string> TFileBackup::DefaultFolders() {
    std::vector<std::string> folders;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        folders.emplace_back(cache);
    else if (const char* home = std::getenv("HOME"); home && *home == '/')
        folders.push_back(std::string(home) + "/.cache");
    const char* tmp = std::getenv("TMPDIR");
    folders.emplace_back(tmp && *tmp == '/' ? tmp : "/tmp");
    return folders;
}

TFileBackup::TFileBackup(int fd, uint64_t size, size_t inMemoryLimit, const std::vector<std::string>& folders)
    : size_(size) {
    if (size <= inMemoryLimit) {
        memory_.resize(static_cast<size_t>(size));
        if (!ReadAllAt(fd, memory_.data(), memory_.size(), 0))
            throw std::runtime_error(std::string("its old contents could not be read: ") +
                                     std::strerror(errno));
        return;
    }
    std::string reason;
    backupFd_ = CreateBackupFile(folders, backupPath_, reason);
    if (backupFd_ < 0)
        throw std::runtime_error("no backup of its old contents could be made (" + reason + ")");
    if (!CopyBytes(fd, backupFd_, size)) {
        const std::string error = std::strerror(errno);
        throw std::runtime_error("no backup of its old contents could be made (\"" + backupPath_ +
                                 "\": " + error + ")");
    }
}

TFileBackup::~TFileBackup() {
    if (backupFd_ >= 0)
        ::close(backupFd_);
    if (!backupPath_.empty() && !keep_)
        ::unlink(backupPath_.c_str());
}

std::string TFileBackup::RestoreInto(int fd) {
    const bool written =
        backupFd_ >= 0 ? CopyBytes(backupFd_, fd, size_) : WriteAllAt(fd, memory_.data(), memory_.size(), 0);
    if (!written || ::ftruncate(fd, static_cast<off_t>(size_)) != 0 || ::fsync(fd) != 0)
        return std::strerror(errno);
    return {};
}

std::string TFileBackup::KeepAside() {
    if (backupFd_ < 0) {
        std::string reason;
        backupFd_ = CreateBackupFile(DefaultFolders(), backupPath_, reason);
        if (backupFd_ < 0)
            return {};
        if (!WriteAllAt(backupFd_, memory_.data(), memory_.size(), 0) || ::fsync(backupFd_) != 0)
            return {}; // the destructor removes what could not be written whole
    }
    keep_ = true;
    return backupPath_;
}

} // namespace zandor::platform
