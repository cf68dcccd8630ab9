// Helpers shared by the test executables: scratch folders, environment guards and the art corpus.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <string>

namespace zandor::test {

// A scratch folder removed with its contents when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Absolute path of the folder, without a trailing slash.
    std::string path() const;
    // Absolute path of a name inside the folder.
    std::string file(const std::string& name) const;
    // Writes bytes to a file inside the folder (creating parent folders) and returns its path.
    std::string write(const std::string& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};

// Sets an environment variable for the life of the object and restores the previous value.
class EnvGuard {
public:
    EnvGuard(const char* name, const std::optional<std::string>& value);
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;
    ~EnvGuard();

private:
    std::string name_;
    std::optional<std::string> old_;
};

// File permissions stop nothing the superuser does, and the tests run as root in CI. For the rest
// of a scope this object makes the process an ordinary user ("nobody", 65534) as far as files are
// concerned, and hands the folder over to that user so that it owns what it works with, as a real
// user owns their settings folder; the destructor makes the process root again. For an ordinary
// user it changes nothing.
class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const ScratchDir& dir);
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    ~AsOrdinaryUser();

private:
    bool switched_ = false;
};

// Counts the renames onto one file name in a folder, as the kernel reports them: how often a file
// written atomically was replaced.
class ReplacementCounter {
public:
    ReplacementCounter(const std::string& folder, std::string name);
    ReplacementCounter(const ReplacementCounter&) = delete;
    ReplacementCounter& operator=(const ReplacementCounter&) = delete;
    ~ReplacementCounter();
    int Count();

private:
    int fd_;
    std::string name_;
    int count_ = 0;
};

QByteArray readFile(const std::string& path);

// The folder of real .nfo and .diz files, or an empty string when it is not there; tests that need
// it call GTEST_SKIP() then.
std::string corpusDir();

} // namespace zandor::test
