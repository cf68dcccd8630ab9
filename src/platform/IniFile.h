// The INI file of portable mode, held in memory with its exact line layout so that comments, blank
// lines and hand-made formatting survive when the program writes its settings back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::platform {

// Owns the memory copy of one INI file. Section and key names compare without regard to ASCII
// letter case; nothing is escaped: a value is everything after the first '=' of its line (key names
// are trimmed of blanks, values are not). The file is read once at construction and written back
// only by Flush, with the line ending it was read with.
class IniFile {
public:
    explicit IniFile(std::string path);

    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // Replaces the value in place when the key exists; otherwise adds the key at the end of its
    // section, creating the section at the end of the file when needed. A value is one line: it
    // is cut at its first line break, which could not be read back otherwise.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    bool ValueExists(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // Writes the memory copy to the file atomically; throws FileError when it cannot.
    void Flush();

    const std::string& FileName() const { return path_; }

private:
    // Index of the line holding the key (the first one when it appears more than once), or -1.
    long FindKey(std::string_view section, std::string_view key) const;

    std::string path_;
    std::vector<std::string> lines_; // without their line endings
    std::string signature_;          // a UTF-8 signature the file started with
    std::string lineEnding_ = "\n";
    bool finalLineEnding_ = true; // whether the last line was terminated
};

} // namespace zandor::platform
