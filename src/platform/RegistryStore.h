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

    // Loads the file; a missing one gives an empty key, and nothing is created before the first
    // write. An existing file that cannot be read gives an empty key too, but is never written
    // over: every write then throws FileError with LoadError().
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

    // Between BeginUpdate and the matching EndUpdate (pairs nest), writes and deletions change the
    // memory copy only; reads see them. The outermost EndUpdate rewrites the file once, after
    // reloading it under the lock so that values other instances wrote meanwhile are kept, and
    // throws FileError as a single write would. CancelUpdate drops what was collected.
    void BeginUpdate();
    void EndUpdate();
    void CancelUpdate();

    // Empty when the file was read or did not exist; otherwise why it could not be read.
    const std::string& LoadError() const { return loadError_; }
    const std::string& FileName() const { return path_; }

private:
    enum class Kind { String, Dword, Other };
    struct Value {
        std::string name;
        Kind kind = Kind::String;
        std::string text; // the string, or for Other the text after '=' as found in the file
        int32_t number = 0;
    };
    // A change collected during an update: the new value, or a deletion.
    struct PendingChange {
        std::string name;
        std::optional<Value> value;
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
    // Writes (or, without a value, deletes) in the file, or during an update in the memory copy.
    void Put(std::string_view name, std::optional<Value> value);
    void Apply(const PendingChange& change) const;
    void Save();

    std::string path_;
    // The file's values as of stamp_; reads refresh them, hence mutable.
    mutable std::vector<Value> values_;
    mutable Stamp stamp_;
    mutable std::string loadError_;
    int updateCount_ = 0;
    std::vector<PendingChange> pending_;
};

} // namespace zandor::platform
