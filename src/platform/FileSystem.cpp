#include "platform/FileSystem.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace zandor::platform {

std::string ExecutableFolder() {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return "./";
    std::string path(buf.data(), static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return IncludeTrailingSlash(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        if (const passwd* pw = getpwuid(geteuid()))
            home = pw->pw_dir;
    }
    if (!home || !*home)
        return {};
    return IncludeTrailingSlash(std::string(home) + "/.config");
}

std::string IncludeTrailingSlash(const std::string& path) {
    if (!path.empty() && path.back() == '/')
        return path;
    return path + '/';
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ForceFolders(const std::string& path) {
    std::string dir = path;
    if (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    if (dir.size() <= 1 || FolderExists(dir))
        return;
    const auto slash = dir.rfind('/');
    if (slash != std::string::npos && slash > 0)
        ForceFolders(dir.substr(0, slash + 1));
    mkdir(dir.c_str(), 0777); // the umask decides; failures show up when the folder is used
}

namespace {

bool CopyFileOver(const std::string& source, const std::string& target) {
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st {};
    fstat(in, &st);
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        close(in);
        return false;
    }
    bool ok = true;
    char buf[65536];
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok)
            break;
    }
    close(in);
    if (close(out) != 0)
        ok = false;
    return ok;
}

} // namespace

bool MoveFileReplacing(const std::string& source, const std::string& target) {
    if (std::rename(source.c_str(), target.c_str()) == 0)
        return true;
    if (!CopyFileOver(source, target))
        return false;
    return unlink(source.c_str()) == 0;
}

bool HasWriteAccess(const std::string& folder) {
    // Creating a file needs write and search permission on the folder; ask the kernel for the
    // effective user, so root, ACLs and read-only mounts all answer as they would for a write.
    return !folder.empty() && FolderExists(folder) &&
           faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string CurrentFolder() {
    std::vector<char> buf(PATH_MAX + 1);
    if (!getcwd(buf.data(), buf.size()))
        return {};
    return buf.data();
}

std::string LongPathName(const std::string& argument, const std::string& workingFolder) {
    if (argument.empty())
        return {};
    std::string full = argument.front() == '/' ? argument : IncludeTrailingSlash(workingFolder) + argument;
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= full.size()) {
        const size_t j = full.find('/', i);
        const size_t end = j == std::string::npos ? full.size() : j;
        const std::string part = full.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    std::string result;
    for (const auto& part : parts)
        result += '/' + part;
    return result.empty() ? std::string("/") : result;
}

std::string FileFolder(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

FileContents ReadWholeFile(const std::string& path) {
    FileContents result;
    const auto unreadable = [&](int error) {
        result.State = FileContents::Unreadable;
        result.Bytes.clear();
        result.Error = "Cannot read file \"" + path + "\". " + std::strerror(error);
        return result;
    };
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        // Nothing there at all, or a link that points nowhere: a file may be created.
        if (error == ENOENT && lstat(path.c_str(), &st) != 0)
            return result;
        if (error == ENOENT && S_ISLNK(st.st_mode))
            return result;
        return unreadable(error);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        close(fd);
        return unreadable(error);
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            close(fd);
            return unreadable(error);
        }
        result.Bytes.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    result.State = FileContents::Read;
    return result;
}

} // namespace zandor::platform
