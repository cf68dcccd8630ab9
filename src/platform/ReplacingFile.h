// Writing a file so that the file on disk is, at every moment, either the old one or the complete new
// one: the bytes go to a temporary file in the same folder, are flushed to the disk, and only then is
// the temporary file renamed over the old one. Settings files and documents are saved this way.
#pragma once

#include <cstddef>
#include <functional>
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

// Owns the temporary file until Commit renames it over the target; when the object goes without a
// commit (a failure, an exception) the temporary file is removed and the target stays as it was.
// Every failure throws FileError "Cannot create file \"<path>\". <reason>".
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
    // the rename durable. After a failure the target is untouched.
    void Commit();

    // The file that is replaced (the end of the link chain).
    const std::string& Target() const { return target_; }

private:
    [[noreturn]] void Fail(int error) const;
    [[noreturn]] void Fail(const std::string& reason) const;
    void FlushBuffer();

    std::string shownPath_;
    std::string target_;
    std::string folder_;
    const TFileCalls& calls_;
    std::vector<char> tempName_;
    int fd_ = -1;
    bool committed_ = false;
    std::vector<char> buffer_;
    size_t buffered_ = 0;
};

} // namespace zandor::platform
