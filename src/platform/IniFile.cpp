#include "platform/IniFile.h"

#include "platform/AsciiNames.h"
#include "platform/AtomicWrite.h"

#include <fstream>
#include <iterator>

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

std::string_view firstLine(std::string_view value) {
    const auto end = value.find_first_of("\r\n");
    return end == std::string_view::npos ? value : value.substr(0, end);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        return;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail())
        return;
    // An editor may have saved the file with a UTF-8 signature; it is not part of the first line
    // (or that section header would go unseen) but goes back into the file.
    constexpr std::string_view signature = "\xEF\xBB\xBF";
    if (std::string_view(text).substr(0, signature.size()) == signature) {
        signature_ = signature;
        text.erase(0, signature.size());
    }
    if (text.empty())
        return;

    const auto firstBreak = text.find('\n');
    if (firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
        lineEnding_ = "\r\n";

    size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            lines_.emplace_back(text.substr(start));
            finalLineEnding_ = false;
            break;
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

long IniFile::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            inSection = SameAsciiName(*name, section);
        } else if (inSection) {
            const auto k = keyName(lines_[i]);
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
    const std::string& line = lines_[size_t(i)];
    return line.substr(line.find('=') + 1);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindKey(section, key) >= 0;
}

bool IniFile::SectionExists(std::string_view section) const {
    for (const auto& line : lines_) {
        const auto name = sectionName(line);
        if (name && SameAsciiName(*name, section))
            return true;
    }
    return false;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view k = trim(key);
    value = firstLine(value);
    if (const long i = FindKey(section, k); i >= 0) {
        // Keep the key exactly as the file spells it, blanks included.
        std::string& line = lines_[size_t(i)];
        line.replace(line.find('=') + 1, std::string::npos, value);
        return;
    }
    const std::string newLine = std::string(k) + "=" + std::string(value);

    // The new key follows the last key line of the first section with that name; a section
    // without keys takes it right after its header.
    long header = -1;
    long lastKey = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            if (header >= 0)
                break;
            if (SameAsciiName(*name, section))
                header = lastKey = long(i);
        } else if (header >= 0 && keyName(lines_[i])) {
            lastKey = long(i);
        }
    }
    if (header >= 0) {
        if (size_t(lastKey) + 1 == lines_.size())
            finalLineEnding_ = true;
        lines_.insert(lines_.begin() + lastKey + 1, newLine);
        return;
    }
    if (!lines_.empty() && !isBlank(lines_.back()))
        lines_.emplace_back();
    std::string sectionLine;
    const std::string_view name = trim(section);
    sectionLine.reserve(name.size() + 2);
    sectionLine.push_back('[');
    sectionLine.append(name);
    sectionLine.push_back(']');
    lines_.push_back(std::move(sectionLine));
    lines_.push_back(newLine);
    finalLineEnding_ = true;
}

void IniFile::EraseSection(std::string_view section) {
    std::vector<std::string> kept;
    kept.reserve(lines_.size());
    bool erasing = false;
    for (auto& line : lines_) {
        if (const auto name = sectionName(line))
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
    std::string text = signature_;
    for (size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || finalLineEnding_)
            text += lineEnding_;
    }
    WriteFileAtomically(path_, text, 0644, true);
}

} // namespace zandor::platform
