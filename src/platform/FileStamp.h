// What a file on disk was like at one moment: whether it was there, its size and the time it was
// last written, and for a small file a hash of its bytes, which tells a change that kept the size
// and fell into the same tick of the clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zandor::platform {

// Files up to this size are read for their hash.
inline constexpr int64_t kHashedFileSize = 4 * 1024 * 1024;

struct TFileStamp {
    bool Exists = false;
    int64_t Size = 0;
    int64_t WriteTimeNs = 0;
    std::optional<uint64_t> Hash; // small files only, when their bytes could be read
};

// The stamp of the file at path now (a file that cannot be examined counts as not there); without
// `withHash` its bytes are not read.
TFileStamp StampOf(const std::string& path, bool withHash = true);

// True when the two stamps may be the same file's bytes: equal presence, size and write time, and
// equal hashes where both have one.
bool SameFileState(const TFileStamp& a, const TFileStamp& b);

} // namespace zandor::platform
