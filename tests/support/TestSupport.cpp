#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <ftw.h>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::test {

namespace {

constexpr uid_t kNobody = 65534;

} // namespace

ScratchDir::ScratchDir() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

std::string ScratchDir::path() const {
    return dir_.path().toStdString();
}

std::string ScratchDir::file(const std::string& name) const {
    return path() + "/" + name;
}

std::string ScratchDir::write(const std::string& name, const QByteArray& bytes) const {
    const std::string full = file(name);
    QDir().mkpath(QFileInfo(QString::fromStdString(full)).absolutePath());
    QFile f(QString::fromStdString(full));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + full);
    return full;
}

EnvGuard::EnvGuard(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

EnvGuard::~EnvGuard() {
    if (old_)
        setenv(name_.c_str(), old_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

AsOrdinaryUser::AsOrdinaryUser(const ScratchDir& dir) {
    if (geteuid() != 0)
        return;
    // The scratch folder's parents are open to everyone; the folder and all in it become the user's.
    const auto handOver = [](const char* path, const struct stat*, int, FTW*) {
        return lchown(path, kNobody, kNobody);
    };
    if (nftw(dir.path().c_str(), handOver, 16, FTW_PHYS) != 0 || chmod(dir.path().c_str(), 0755) != 0)
        throw std::runtime_error("cannot hand " + dir.path() + " to an ordinary user");
    if (setegid(kNobody) != 0 || seteuid(kNobody) != 0)
        throw std::runtime_error("cannot become an ordinary user");
    switched_ = true;
}

AsOrdinaryUser::~AsOrdinaryUser() {
    if (!switched_)
        return;
    if (seteuid(0) != 0 || setegid(0) != 0)
        std::abort(); // the rest of the run would test something else
}

ReplacementCounter::ReplacementCounter(const std::string& folder, std::string name)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), name_(std::move(name)) {
    // Renames away from the temporary names come too: they keep the kernel from merging the
    // replacements, which look alike, into one event.
    if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), IN_MOVED_FROM | IN_MOVED_TO) < 0)
        throw std::runtime_error("cannot watch " + folder);
}

ReplacementCounter::~ReplacementCounter() {
    close(fd_);
}

int ReplacementCounter::Count() {
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if ((event->mask & IN_MOVED_TO) && event->len > 0 && name_ == event->name)
                ++count_;
            p += sizeof(inotify_event) + event->len;
        }
    }
    return count_;
}

QByteArray readFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

std::string corpusDir() {
    const QString dir = QStringLiteral(ZANDOR_CORPUS_DIR);
    return QFileInfo(dir).isDir() ? QDir(dir).absolutePath().toStdString() : std::string();
}

} // namespace zandor::test
