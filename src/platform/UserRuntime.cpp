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

// Opens (creating it) a lock file of the runtime folder that only this user could have made.
int OpenPrivateLockFile(const std::string& path) {
    if (path.empty())
        return -1;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 && !IsPrivateFile(fd)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool Lock(int fd, int operation) {
    while (flock(fd, operation) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
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

RuntimeTurn::RuntimeTurn(const std::string& name)
    : fd_(OpenPrivateLockFile(RuntimeObjectPath(name + ".turn"))) {
    if (fd_ >= 0 && !Lock(fd_, LOCK_EX)) {
        close(fd_);
        fd_ = -1;
    }
}

RuntimeTurn::~RuntimeTurn() {
    if (fd_ >= 0)
        close(fd_); // releases the lock
}

bool InstanceLock::Acquire(const std::string& name) {
    fd_ = OpenPrivateLockFile(RuntimeObjectPath(name + ".lock"));
    if (fd_ < 0)
        return false;
    // Every instance holds the lock shared; an exclusive try tells whether anyone else holds it.
    // Turning the exclusive hold into a shared one is two steps for the kernel, so a second start
    // could slip its own exclusive try in between and also believe it came first. Starts therefore
    // take turns at this decision, under a second lock held only while deciding.
    const RuntimeTurn turn(name);
    if (!turn.Held()) {
        close(fd_);
        fd_ = -1;
        return false;
    }
    existed_ = flock(fd_, LOCK_EX | LOCK_NB) != 0;
    return Lock(fd_, LOCK_SH);
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
