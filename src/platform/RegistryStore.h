// The per-user settings key, kept as one text file in the registry editor's export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Veltrane\Zandor]
//   "Options_WordWrap"=dword:00000001
//   "Find_Text"="abc"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::platform {

// Owns the values of the key, loaded from the file at construction. Every write rewrites the whole
// file atomically (private to the user, mode 0600), so another instance reading it sees either the
// old or the new set. Several instances may run at once and each writes at once, as with the
// registry itself: a read first picks up a file another instance has rewritten, and a write reloads
// the file under a lock on its folder before changing its one value, so no instance wipes out the
// values another has written. Value names compare without regard to ASCII letter case and keep the case of
// their first write; values are written in the order they were first created. Strings are 8-bit
// bytes; only '\' and '"' are escaped, as the export format does. Values of other types found in
// the file (binary, multi-string, ...) are kept as they stand but cannot be read.
class RegistryStore {
public:
    static constexpr std::string_view KeyPath = "HKEY_CURRENT_USER\\Software\\Veltrane\\Zandor";

    // Loads the file; a missing or unreadable one gives an empty key. Nothing is created before the
    // first write.
    explicit RegistryStore(std::string filePath);

    // Empty when the value does not exist; throws RegistryError "Invalid data type for '<name>'"
    // when it exists with another type.
    std::optional<std::string> ReadString(std::string_view name) const;
    std::optional<int32_t> ReadInteger(std::string_view name) const;

    // Throw FileError when the file cannot be written; the value is then not stored.
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, int32_t value);

    bool ValueExists(std::string_view name) const;
    void DeleteValue(std::string_view name);

    const std::string& FileName() const { return path_; }

private:
    enum class Kind { String, Dword, Other };
    struct Value {
        std::string name;
        Kind kind = Kind::String;
        std::string text; // the string, or for Other the text after '=' as found in the file
        int32_t number = 0;
    };

    // Identifies one version of the file; a rename over it changes at least the inode.
    struct Stamp {
        bool exists = false;
        uint64_t device = 0, inode = 0, size = 0;
        int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    const Value* Find(std::string_view name) const;
    Value& FindOrAdd(std::string_view name) const;
    Stamp CurrentStamp() const;
    // Reloads the values when the file is not the version last read or written.
    void Refresh() const;
    void Load(std::string_view text) const;
    void Save();

    std::string path_;
    // The file's values as of stamp_; reads refresh them, hence mutable.
    mutable std::vector<Value> values_;
    mutable Stamp stamp_;
};

} // namespace zandor::platform
