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
// only by Flush; every line keeps the line ending it was read with, so an untouched file is written
// back byte for byte.
class IniFile {
public:
    explicit IniFile(std::string path);

    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // Replaces the value in place when the key exists; otherwise adds the key at the end of its
    // section, creating the section at the end of the file when needed. Returns false and stores
    // nothing when the names or the value would not read back as they are (see CanStore...); an old
    // value of the key is then removed, so that no stale value stands in for the one not stored.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    bool ValueExists(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // Writes the memory copy to the file atomically; throws FileError when it cannot. A file that
    // existed but could not be read is never written over: Flush then throws LoadError().
    void Flush();

    // Empty when the file was read or did not exist; otherwise why the existing file could not be
    // read ("Cannot read file ..."). The memory copy then starts empty.
    const std::string& LoadError() const { return loadError_; }
    const std::string& FileName() const { return path_; }

    // Names and values that come back from the file exactly as written: no line breaks or other
    // control characters in any of them; names without blanks at either end; no ']' in a section
    // name; no '=' in a key and no key that starts as a comment or a section header would.
    static bool CanStoreSection(std::string_view section);
    static bool CanStoreKey(std::string_view key);
    static bool CanStoreValue(std::string_view value);

private:
    struct Line {
        std::string Text;   // without its line ending
        std::string Ending; // "\r\n", "\n", or empty for a last line without one
    };

    // Index of the line holding the key (the first one when it appears more than once), or -1.
    long FindKey(std::string_view section, std::string_view key) const;
    void Insert(size_t at, std::string text);

    std::string path_;
    std::vector<Line> lines_;
    std::string signature_;         // a UTF-8 signature the file started with
    std::string lineEnding_ = "\n"; // for new lines: the ending of the file's first line
    std::string loadError_;
};

} // namespace zandor::platform
