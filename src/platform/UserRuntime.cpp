#include "platform/UserRuntime.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::platform {

namespace {

// A folder is safe when it is a real folder (not a link) owned by us that nobody else may enter.
bool IsPrivateFolder(const std::string& path, bool repairMode) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    if ((st.st_mode & 077) != 0) {
        if (!repairMode || chmod(path.c_str(), 0700) != 0)
            return false;
    }
    return true;
}

std::string EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return IsPrivateFolder(path, true) ? path : std::string();
}

bool IsPrivateFile(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::string UserRuntimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/') {
        std::string base(xdg);
        while (base.size() > 1 && base.back() == '/')
            base.pop_back();
        if (IsPrivateFolder(base, false))
            return EnsurePrivateFolder(base + "/zandor");
    }
    return EnsurePrivateFolder("/tmp/zandor-" + std::to_string(geteuid()));
}

std::string RuntimeObjectPath(const std::string& name) {
    const std::string folder = UserRuntimeFolder();
    return folder.empty() || name.empty() ? std::string() : folder + "/" + name;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        close(fd_);
}

bool InstanceLock::Acquire(const std::string& name) {
    const std::string path = RuntimeObjectPath(name + ".lock");
    if (path.empty())
        return false;
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return false;
    if (!IsPrivateFile(fd_)) {
        close(fd_);
        fd_ = -1;
        return false;
    }
    // Every instance holds the lock shared; an exclusive try tells whether anyone else holds it.
    // The exclusive hold lasts only until the downgrade, so a concurrent starter that finds it
    // waits briefly for its shared turn instead of failing.
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        existed_ = false;
        return flock(fd_, LOCK_SH) == 0;
    }
    existed_ = true;
    while (flock(fd_, LOCK_SH) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

SharedHandle CreateSharedBlock(const std::string& name, size_t size) {
    SharedHandle result;
    const std::string path = RuntimeObjectPath(name);
    if (path.empty())
        return result;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        fd = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        result.Existed = fd >= 0;
    }
    if (fd < 0)
        return result;
    struct stat st {};
    if (!IsPrivateFile(fd) || fstat(fd, &st) != 0 ||
        (static_cast<size_t>(st.st_size) < size && ftruncate(fd, static_cast<off_t>(size)) != 0)) {
        close(fd);
        return SharedHandle{};
    }
    result.Fd = fd;
    return result;
}

int OpenSharedBlock(const std::string& name, size_t size) {
    const std::string path = RuntimeObjectPath(name);
    if (path.empty())
        return -1;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (!IsPrivateFile(fd) || fstat(fd, &st) != 0 || static_cast<size_t>(st.st_size) < size) {
        close(fd);
        return -1;
    }
    return fd;
}

void* MapSharedBlock(int fd, size_t size, bool writable) {
    if (fd < 0 || size == 0)
        return nullptr;
    void* view = mmap(nullptr, size, writable ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : view;
}

bool UnmapSharedBlock(void* view, size_t size) {
    return view && munmap(view, size) == 0;
}

bool CloseSharedHandle(int fd) {
    return fd >= 0 && close(fd) == 0;
}

} // namespace zandor::platform
