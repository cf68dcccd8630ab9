#include "platform/RegistryStore.h"

#include "platform/AsciiNames.h"
#include "platform/AtomicWrite.h"
#include "platform/FileSystem.h"
#include "platform/PlatformErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::platform {

namespace {

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

[[noreturn]] void wrongType(std::string_view name) {
    throw RegistryError("Invalid data type for '" + std::string(name) + "'");
}

// Reads the file's text; the parser below walks it once.
class Reader {
public:
    explicit Reader(std::string_view text) : t_(text) {}

    bool atEnd() const { return p_ >= t_.size(); }
    char peek() const { return t_[p_]; }

    void skipSpace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n'))
            ++p_;
    }
    void skipBlanks() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t'))
            ++p_;
    }
    bool take(char c) {
        if (atEnd() || peek() != c)
            return false;
        ++p_;
        return true;
    }

    // The rest of the current line without its line ending; moves past the line ending.
    std::string_view restOfLine() {
        const size_t start = p_;
        while (!atEnd() && peek() != '\n')
            ++p_;
        std::string_view line = t_.substr(start, p_ - start);
        take('\n');
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

    // A "..." text at the current position with \\ and \" undone. Line breaks inside belong to
    // the text. Empty when the closing quote is missing.
    std::optional<std::string> quotedText() {
        if (!take('"'))
            return std::nullopt;
        std::string out;
        while (!atEnd()) {
            const char c = t_[p_++];
            if (c == '"')
                return out;
            if (c == '\\' && !atEnd() && (peek() == '\\' || peek() == '"'))
                out += t_[p_++];
            else
                out += c;
        }
        return std::nullopt;
    }

private:
    std::string_view t_;
    size_t p_ = 0;
};

std::optional<int32_t> dword(std::string_view text) {
    constexpr std::string_view prefix = "dword:";
    if (text.size() <= prefix.size() || text.size() > prefix.size() + 8 ||
        !SameAsciiName(text.substr(0, prefix.size()), prefix))
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text.substr(prefix.size())) {
        const char l = AsciiLower(c);
        if (l >= '0' && l <= '9')
            value = value * 16 + uint32_t(l - '0');
        else if (l >= 'a' && l <= 'f')
            value = value * 16 + uint32_t(l - 'a' + 10);
        else
            return std::nullopt;
    }
    return int32_t(value);
}

// Serialises the read-change-write of instances sharing the file. The lock is on the folder
// because each write replaces the file itself; without a folder the write fails anyway.
class FolderLock {
public:
    explicit FolderLock(const std::string& filePath) {
        const auto slash = filePath.rfind('/');
        const std::string folder =
            slash == std::string::npos ? "." : (slash == 0 ? "/" : filePath.substr(0, slash));
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_); // releases the lock
    }

private:
    int fd_ = -1;
};

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The lines of an other-typed value as they go into the file. A line whose own text ends in a CR
// gets a CR LF, or the reader would take that CR for its line ending and see a different line.
void appendLines(std::string& out, std::string_view text) {
    for (;;) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        out += line;
        out += !line.empty() && line.back() == '\r' ? "\r\n" : "\n";
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

} // namespace

RegistryStore::RegistryStore(std::string filePath) : path_(std::move(filePath)) {
    Refresh();
}

RegistryStore::Stamp RegistryStore::CurrentStamp() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0)
        return {};
    return {true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
            int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void RegistryStore::Refresh() const {
    // During an update the memory copy holds changes the file lacks; the commit reloads.
    if (updateCount_ > 0)
        return;
    const Stamp now = CurrentStamp();
    if (now == stamp_)
        return;
    values_.clear();
    loadError_.clear();
    stamp_ = now;
    const FileContents file = ReadWholeFile(path_);
    if (file.State == FileContents::Unreadable)
        loadError_ = file.Error;
    else
        Load(file.Bytes);
}

void RegistryStore::Load(std::string_view text) const {
    Reader r(text);
    for (r.skipSpace(); !r.atEnd(); r.skipSpace()) {
        if (r.peek() != '"') {
            r.restOfLine(); // the format line, the key line, comments
            continue;
        }
        auto name = r.quotedText();
        if (!name)
            break;
        r.skipBlanks();
        if (!r.take('=')) {
            r.restOfLine();
            continue;
        }
        r.skipBlanks();
        if (!r.atEnd() && r.peek() == '"') {
            auto text = r.quotedText();
            if (!text)
                break;
            r.restOfLine();
            Value& v = FindOrAdd(*name);
            v.kind = Kind::String;
            v.text = std::move(*text);
            continue;
        }
        std::string_view line = trimRight(r.restOfLine());
        Value& v = FindOrAdd(*name);
        if (const auto number = dword(line)) {
            v.kind = Kind::Dword;
            v.number = *number;
            continue;
        }
        // Binary and other typed values continue over lines ending in a backslash. One at the end
        // of the file continues nothing: it goes, or a value written after it would be taken in.
        v.kind = Kind::Other;
        v.text = std::string(line);
        while (!v.text.empty() && v.text.back() == '\\' && !r.atEnd()) {
            v.text += '\n';
            v.text += trimRight(r.restOfLine());
        }
        while (!v.text.empty() && v.text.back() == '\\')
            v.text.pop_back();
    }
}

const RegistryStore::Value* RegistryStore::Find(std::string_view name) const {
    for (const auto& v : values_)
        if (SameAsciiName(v.name, name))
            return &v;
    return nullptr;
}

RegistryStore::Value& RegistryStore::FindOrAdd(std::string_view name) const {
    for (auto& v : values_)
        if (SameAsciiName(v.name, name))
            return v;
    values_.push_back(Value{std::string(name), Kind::String, {}, 0});
    return values_.back();
}

std::optional<std::string> RegistryStore::ReadString(std::string_view name) const {
    Refresh();
    const Value* v = Find(name);
    if (!v)
        return std::nullopt;
    if (v->kind != Kind::String)
        wrongType(name);
    return v->text;
}

std::optional<int32_t> RegistryStore::ReadInteger(std::string_view name) const {
    Refresh();
    const Value* v = Find(name);
    if (!v)
        return std::nullopt;
    if (v->kind != Kind::Dword)
        wrongType(name);
    return v->number;
}

void RegistryStore::WriteString(std::string_view name, std::string_view value) {
    Put(name, Value{std::string(name), Kind::String, std::string(value), 0});
}

void RegistryStore::WriteInteger(std::string_view name, int32_t value) {
    Put(name, Value{std::string(name), Kind::Dword, {}, value});
}

bool RegistryStore::ValueExists(std::string_view name) const {
    Refresh();
    return Find(name) != nullptr;
}

void RegistryStore::DeleteValue(std::string_view name) {
    Put(name, std::nullopt);
}

void RegistryStore::Apply(const PendingChange& change) const {
    if (!change.value) {
        std::erase_if(values_, [&](const Value& v) { return SameAsciiName(v.name, change.name); });
        return;
    }
    Value& v = FindOrAdd(change.name);
    v.kind = change.value->kind;
    v.text = change.value->text;
    v.number = change.value->number;
}

void RegistryStore::Put(std::string_view name, std::optional<Value> value) {
    PendingChange change{std::string(name), std::move(value)};
    if (updateCount_ > 0) {
        if (!change.value && !Find(name))
            return;
        Apply(change);
        pending_.push_back(std::move(change));
        return;
    }
    const FolderLock lock(path_);
    Refresh();
    if (!loadError_.empty())
        throw FileError(loadError_);
    const bool existed = Find(name) != nullptr;
    Apply(change);
    if (change.value || existed)
        Save();
}

void RegistryStore::BeginUpdate() {
    ++updateCount_;
}

void RegistryStore::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    std::vector<PendingChange> changes = std::move(pending_);
    pending_.clear();
    if (changes.empty())
        return;
    const FolderLock lock(path_);
    if (CurrentStamp() != stamp_) {
        Refresh();
        for (const PendingChange& change : changes)
            Apply(change);
    }
    if (!loadError_.empty()) {
        CancelUpdate();
        throw FileError(loadError_);
    }
    Save();
}

void RegistryStore::CancelUpdate() {
    updateCount_ = 0;
    pending_.clear();
    // The memory copy holds changes the file never got; the next access reloads the file.
    stamp_ = Stamp{true, ~uint64_t(0), 0, 0, 0};
}

void RegistryStore::Save() {
    std::string text = "Windows Registry Editor Version 5.00\n\n[";
    text += KeyPath;
    text += "]\n";
    for (const auto& v : values_) {
        text += quoted(v.name);
        text += '=';
        switch (v.kind) {
        case Kind::String:
            text += quoted(v.text);
            break;
        case Kind::Dword: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(uint32_t(v.number)));
            text += buffer;
            break;
        }
        case Kind::Other:
            appendLines(text, v.text);
            continue;
        }
        text += '\n';
    }
    text += '\n';
    try {
        WriteFileAtomically(path_, text, 0600, false);
    } catch (...) {
        // The memory copy holds a value the file lacks; the next access reloads the file.
        stamp_ = Stamp{true, ~uint64_t(0), 0, 0, 0};
        throw;
    }
    stamp_ = CurrentStamp();
}

} // namespace zandor::platform
