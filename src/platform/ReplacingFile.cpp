#include "platform/ReplacingFile.h"

#include "platform/FileBackup.h"
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
        throw FileError("Cannot write file \"" + shownPath_ + "\". " + std::strerror(errno));

    // A rename would leave the other names of the file with the old bytes.
    if (exists && options.InPlaceWhereNeeded && existing.st_nlink > 1) {
        OpenInPlace(options, {});
        return;
    }

    const std::string pattern = folder_ + "/.zandor-XXXXXX";
    tempName_.assign(pattern.begin(), pattern.end());
    tempName_.push_back('\0');
    fd_ = ::mkostemp(tempName_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        const std::string refusal = "folder \"" + folder_ + "\" " +
                                    (error == ENOENT || error == ENOTDIR
                                         ? std::string("does not exist")
                                         : std::string("does not let a ") + (exists ? "temporary" : "new") +
                                               " file be made in it (" + std::strerror(error) + ")");
        tempName_.clear();
        // A shared or read-only folder may still let the user write the file itself.
        if (exists && options.InPlaceWhereNeeded) {
            OpenInPlace(options, "its " + refusal);
            return;
        }
        Fail("Its " + refusal);
    }

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
    constructing_ = false;
}

void TReplacingFile::OpenInPlace(const TOptions& options, const std::string& folderRefusal) {
    inPlace_ = true;
    // The user's own right to write the file decides, as it would for any program writing it.
    fd_ = ::open(target_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        std::string reason = std::strerror(errno);
        if (!folderRefusal.empty())
            reason += ", and " + folderRefusal;
        Fail(reason);
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        Fail(errno);
    if (!S_ISREG(st.st_mode))
        Fail("Not a regular file");
    try {
        backup_ = std::make_unique<TFileBackup>(
            fd_, static_cast<uint64_t>(st.st_size), options.InMemoryBackupLimit,
            options.BackupFolders.empty() ? TFileBackup::DefaultFolders() : options.BackupFolders);
    } catch (const std::runtime_error& e) {
        Fail(std::string("It was left as it was: ") + e.what());
    }
    buffer_.resize(kBufferSize);
    constructing_ = false;
}

TReplacingFile::~TReplacingFile() {
    // Gone without a commit (the editor's stream threw, say): the old bytes come back.
    if (inPlace_ && touched_ && !committed_ && !restored_)
        RestoreOldBytes();
    Release();
}

void TReplacingFile::Release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!committed_ && !tempName_.empty())
        ::unlink(tempName_.data());
    tempName_.clear();
}

void TReplacingFile::Fail(int error) {
    Fail(std::string(std::strerror(error)));
}

void TReplacingFile::Fail(const std::string& reason) {
    std::string message =
        (inPlace_ ? "Cannot write file \"" : "Cannot create file \"") + shownPath_ + "\". " + reason;
    if (inPlace_ && touched_ && !restored_)
        message += ". " + RestoreOldBytes();
    // No destructor runs for an object whose constructor throws.
    if (constructing_)
        Release();
    throw FileError(message);
}

std::string TReplacingFile::RestoreOldBytes() {
    restored_ = true;
    if (fd_ < 0 || !backup_)
        return {}; // nothing was written over yet
    const std::string problem = backup_->RestoreInto(fd_);
    if (problem.empty())
        return "The file keeps its old contents.";
    const std::string kept = backup_->KeepAside();
    return "Its old contents could not be written back (" + problem + ")" +
           (kept.empty() ? std::string(".") : "; they are kept in \"" + kept + "\".");
}

ssize_t TReplacingFile::WriteSome(const char* data, size_t n) {
    touched_ = true;
    return calls_.Write(fd_, data, n);
}

void TReplacingFile::Write(const void* data, size_t n) {
    if (n == 0)
        return;
    const char* bytes = static_cast<const char*>(data);
    if (buffered_ + n > buffer_.size())
        FlushBuffer();
    if (n >= buffer_.size()) {
        // Large pieces go straight to the file.
        while (n > 0) {
            const ssize_t written = WriteSome(bytes, n);
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
        const ssize_t written = WriteSome(buffer_.data() + done, buffered_ - done);
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
    if (inPlace_) {
        const off_t end = ::lseek(fd_, 0, SEEK_CUR);
        touched_ = true; // the length changes even when no byte was written
        if (end < 0 || ::ftruncate(fd_, end) != 0 || calls_.Fsync(fd_) != 0)
            Fail(errno);
        committed_ = true;
        backup_.reset();
        // The bytes are on the disk; a close cannot take them back.
        ::close(fd_);
        fd_ = -1;
        return;
    }
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
