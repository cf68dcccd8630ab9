// The bytes a file held before it is written over in place, kept aside until the new bytes are safely
// on the disk, so that a write that fails midway can put them back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zandor::platform {

// Owns the copy of the old bytes: in memory up to a limit, beyond it in a backup file of its own
// (mode 0600) in the first of the given folders that takes one. The backup file is removed when
// the object goes, unless the bytes could not be written back and it is all that is left of them.
class TFileBackup {
public:
    // Copies the `size` bytes of the open file `fd` (read from its start; its offset is not used).
    // Throws std::runtime_error with the reason when no copy could be made.
    TFileBackup(int fd, uint64_t size, size_t inMemoryLimit, const std::vector<std::string>& folders);
    TFileBackup(const TFileBackup&) = delete;
    TFileBackup& operator=(const TFileBackup&) = delete;
    ~TFileBackup();

    // Writes the old bytes back over the file, cuts it to its old length and flushes it to the disk.
    // Empty on success, otherwise the reason it failed.
    std::string RestoreInto(int fd);

    // After a failed restore: a file that holds the old bytes and stays where it is (the backup file,
    // or one written now from the copy in memory); empty when there is none.
    std::string KeepAside();

    // Where a copy too large for memory goes: the user's cache folder, then the temporary folder.
    static std::vector<std::string> DefaultFolders();

private:
    uint64_t size_ = 0;
    std::vector<char> memory_;
    int backupFd_ = -1;
    std::string backupPath_;
    bool keep_ = false;
};

} // namespace zandor::platform
