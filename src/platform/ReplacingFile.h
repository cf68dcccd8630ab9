// Writing a file so that the file on disk is, at every moment, either the old one or the complete new
// one: the bytes go to a temporary file in the same folder, are flushed to the disk, and only then is
// the temporary file renamed over the old one. Settings files and documents are saved this way.
// Where that cannot be done (a folder that takes no new file, a file with other hard links that a
// rename would cut off), a document may be written over in place instead, its old bytes kept aside
// until the new ones are on the disk and put back when the write fails.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zandor::platform {

// The system calls that move the bytes to the disk. Tests put calls that fail midway in their place,
// as a full disk or a failing device would; everyone else uses System().
struct TFileCalls {
    std::function<ssize_t(int fd, const void* data, size_t n)> Write;
    std::function<int(int fd)> Fsync;
    std::function<int(const char* from, const char* to)> Rename;

    static const TFileCalls& System();
};

class TFileBackup;

// Owns the temporary file until Commit renames it over the target; when the object goes without a
// commit (a failure, an exception) the temporary file is removed and the target stays as it was.
// Every failure throws FileError "Cannot create file \"<path>\". <reason>"; written in place, a
// failure puts the old bytes back and throws "Cannot write file \"<path>\". <reason>. <outcome>".
class TReplacingFile {
public:
    struct TOptions {
        // Permission bits of a file that does not exist yet (the umask does not apply).
        mode_t NewFileMode = 0644;
        // An existing target keeps its permission bits and, where the user may set it, its owner.
        bool KeepExisting = true;
        // An existing target the user may not write is not replaced (a read-only document stays
        // read-only), though the folder would allow the rename.
        bool RequireWritable = false;
        // An existing target is written over in place where a replacement cannot be made or would
        // cut the file's other hard links off: when its folder takes no temporary file, or the file
        // has more than one name. Its inode, mode, owner and links stay.
        bool InPlaceWhereNeeded = false;
        // Written in place, old contents up to this size are kept in memory; larger ones in a backup
        // file in the first of BackupFolders that takes one (empty: TFileBackup::DefaultFolders).
        size_t InMemoryBackupLimit = size_t(64) << 20;
        std::vector<std::string> BackupFolders = {};
    };

    // `path` may be a symbolic link: the file its chain of links ends at is the one replaced (or
    // created, when the link points to nothing yet), and the link stays a link.
    TReplacingFile(const std::string& path, const TOptions& options,
                   const TFileCalls& calls = TFileCalls::System());
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;
    ~TReplacingFile();

    // Buffered; a failing write throws at once or at a later Write or Commit.
    void Write(const void* data, size_t n);
    // Writes what is buffered, flushes the file to the disk, renames it over the target and makes
    // the rename durable (in place: cuts the file to its new length and flushes it). After a failure
    // the target has its old bytes.
    void Commit();

    // The file that is replaced (the end of the link chain).
    const std::string& Target() const { return target_; }
    // True when the target is written over in place rather than replaced.
    bool InPlace() const { return inPlace_; }

private:
    void OpenInPlace(const TOptions& options, const std::string& folderRefusal);
    // Closes the file and removes a temporary file that was not committed.
    void Release();
    [[noreturn]] void Fail(int error);
    [[noreturn]] void Fail(const std::string& reason);
    void FlushBuffer();
    ssize_t WriteSome(const char* data, size_t n);
    // Puts the old bytes back after a failed write in place; says how that went, as a sentence.
    std::string RestoreOldBytes();

    std::string shownPath_;
    std::string target_;
    std::string folder_;
    const TFileCalls& calls_;
    std::vector<char> tempName_;
    int fd_ = -1;
    bool committed_ = false;
    bool constructing_ = true;
    bool inPlace_ = false;
    // Written in place: the first new byte has gone to the file, so the old ones must come back.
    bool touched_ = false;
    bool restored_ = false;
    std::unique_ptr<TFileBackup> backup_;
    std::vector<char> buffer_;
    size_t buffered_ = 0;
};

} // namespace zandor::platform
