#include "platform/IniFile.h"

#include "platform/AsciiNames.h"
#include "platform/AtomicWrite.h"
#include "platform/FileSystem.h"
#include "platform/PlatformErrors.h"

namespace zandor::platform {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool isBlank(std::string_view line) {
    return trim(line).empty();
}

// "[name]" with optional blanks around; the name is what stands inside the brackets.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    return trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line; comments and other lines have none.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, eq));
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A name comes back from the file when nothing in it is trimmed or cut.
bool storableName(std::string_view name) {
    return !hasLineBreak(name) && trim(name).size() == name.size();
}

} // namespace

bool IniFile::CanStoreSection(std::string_view section) {
    return storableName(section) && section.find(']') == std::string_view::npos;
}

bool IniFile::CanStoreKey(std::string_view key) {
    return storableName(key) && key.find('=') == std::string_view::npos &&
           (key.empty() || (key.front() != ';' && key.front() != '['));
}

bool IniFile::CanStoreValue(std::string_view value) {
    return !hasLineBreak(value);
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    FileContents file = ReadWholeFile(path_);
    if (file.State == FileContents::Unreadable) {
        loadError_ = file.Error;
        return;
    }
    std::string_view text = file.Bytes;
    // An editor may have saved the file with a UTF-8 signature; it is not part of the first line
    // (or that section header would go unseen) but goes back into the file.
    constexpr std::string_view signature = "\xEF\xBB\xBF";
    if (text.substr(0, signature.size()) == signature) {
        signature_ = signature;
        text.remove_prefix(signature.size());
    }
    // Exactly one CR before each LF belongs to the line ending; any other CR is text, and Flush
    // writes every line with the ending it came with.
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            lines_.push_back({std::string(text), {}});
            break;
        }
        const bool cr = end > 0 && text[end - 1] == '\r';
        lines_.push_back({std::string(text.substr(0, cr ? end - 1 : end)), cr ? "\r\n" : "\n"});
        text.remove_prefix(end + 1);
    }
    if (!lines_.empty() && !lines_.front().Ending.empty())
        lineEnding_ = lines_.front().Ending;
}

long IniFile::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i].Text)) {
            inSection = SameAsciiName(*name, section);
        } else if (inSection) {
            const auto k = keyName(lines_[i].Text);
            if (k && SameAsciiName(*k, key))
                return long(i);
        }
    }
    return -1;
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
    const long i = FindKey(section, key);
    if (i < 0)
        return std::nullopt;
    const std::string& line = lines_[size_t(i)].Text;
    return line.substr(line.find('=') + 1);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindKey(section, key) >= 0;
}

bool IniFile::SectionExists(std::string_view section) const {
    for (const auto& line : lines_) {
        const auto name = sectionName(line.Text);
        if (name && SameAsciiName(*name, section))
            return true;
    }
    return false;
}

void IniFile::Insert(size_t at, std::string text) {
    // A line's own CR at its end stays text only when a CR LF follows it.
    const auto endingFor = [this](const std::string& line) {
        return !line.empty() && line.back() == '\r' ? std::string("\r\n") : lineEnding_;
    };
    if (at > 0 && lines_[at - 1].Ending.empty())
        lines_[at - 1].Ending = endingFor(lines_[at - 1].Text);
    std::string ending = endingFor(text);
    lines_.insert(lines_.begin() + long(at), Line{std::move(text), std::move(ending)});
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    if (!CanStoreSection(section) || !CanStoreKey(key))
        return false;
    if (!CanStoreValue(value)) {
        DeleteKey(section, key);
        return false;
    }
    if (const long i = FindKey(section, key); i >= 0) {
        // Keep the key exactly as the file spells it, blanks included.
        std::string& line = lines_[size_t(i)].Text;
        line.replace(line.find('=') + 1, std::string::npos, value);
        return true;
    }
    std::string newLine = std::string(key) + "=" + std::string(value);

    // The new key follows the last key line of the first section with that name; a section
    // without keys takes it right after its header.
    long header = -1;
    long lastKey = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i].Text)) {
            if (header >= 0)
                break;
            if (SameAsciiName(*name, section))
                header = lastKey = long(i);
        } else if (header >= 0 && keyName(lines_[i].Text)) {
            lastKey = long(i);
        }
    }
    if (header >= 0) {
        Insert(size_t(lastKey) + 1, std::move(newLine));
        return true;
    }
    if (!lines_.empty() && !isBlank(lines_.back().Text))
        Insert(lines_.size(), {});
    // Appended piece by piece: GCC 12 warns falsely about `"[" + std::string` at -O3.
    std::string headerLine;
    headerLine.reserve(section.size() + 2);
    headerLine.append(1, '[').append(section).append(1, ']');
    Insert(lines_.size(), std::move(headerLine));
    Insert(lines_.size(), std::move(newLine));
    return true;
}

void IniFile::EraseSection(std::string_view section) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool erasing = false;
    for (auto& line : lines_) {
        if (const auto name = sectionName(line.Text))
            erasing = SameAsciiName(*name, section);
        if (!erasing)
            kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    for (long i = FindKey(section, key); i >= 0; i = FindKey(section, key))
        lines_.erase(lines_.begin() + i);
}

void IniFile::Flush() {
    if (!loadError_.empty())
        throw FileError(loadError_);
    std::string text = signature_;
    for (const Line& line : lines_) {
        text += line.Text;
        text += line.Ending;
    }
    WriteFileAtomically(path_, text, 0644, true);
}

} // namespace zandor::platform
