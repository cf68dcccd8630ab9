#include "platform/AtomicWrite.h"

#include "platform/PlatformErrors.h"

#include <cerrno>
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
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return {};
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
    // the file it points to is the one replaced, or created when the link points to nothing yet.
    const std::string path = LinkTarget(shownPath);
    if (path.empty())
        fail(shownPath, ELOOP);
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
