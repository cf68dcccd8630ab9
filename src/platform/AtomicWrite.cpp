#include "platform/AtomicWrite.h"

#include "platform/PlatformErrors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zandor::platform {

namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw FileError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Removes the temporary file unless the rename has taken it over.
class TempFile {
public:
    explicit TempFile(std::string pattern) : name_(pattern.begin(), pattern.end()) {
        name_.push_back('\0');
        fd_ = ::mkstemp(name_.data());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_)
            ::unlink(name_.data());
    }
    int fd() const { return fd_; }
    const char* name() const { return name_.data(); }
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void commit() { committed_ = true; }

private:
    std::vector<char> name_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace

void WriteFileAtomically(const std::string& shownPath, std::string_view bytes, mode_t mode,
                         bool keepExistingMode) {
    // A settings file that is a symbolic link (kept in a synchronised folder, say) stays a link:
    // the file it points to is the one replaced.
    std::string path = shownPath;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* target = ::realpath(path.c_str(), nullptr)) {
            path = target;
            std::free(target);
        }
    }
    const std::string folder = folderOf(path);
    TempFile temp(folder + "/.zandor-XXXXXX");
    if (temp.fd() < 0)
        fail(shownPath, errno);

    if (keepExistingMode) {
        struct stat existing {};
        if (::stat(path.c_str(), &existing) == 0)
            mode = existing.st_mode & 07777;
    }
    if (::fchmod(temp.fd(), mode) != 0)
        fail(shownPath, errno);

    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(temp.fd(), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(shownPath, errno);
        }
        data += written;
        left -= size_t(written);
    }
    if (::fsync(temp.fd()) != 0)
        fail(shownPath, errno);
    if (temp.close() != 0)
        fail(shownPath, errno);
    if (::rename(temp.name(), path.c_str()) != 0)
        fail(shownPath, errno);
    temp.commit();

    // Make the rename itself durable; a failure here does not undo a complete, renamed file.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace zandor::platform
