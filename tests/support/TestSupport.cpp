#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <stdexcept>

namespace zandor::test {

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
