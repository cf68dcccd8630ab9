// Reading a document file whole into memory, with a reason the user can read for every file that
// cannot be opened as text: a folder, a device or pipe, no permission, too large for the editor, or a
// file that became shorter while it was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace zandor::platform {

// Bytes read from a file. The buffer is not cleared before the read fills it, which matters for
// files of hundreds of megabytes, and it has room for one byte after Size (where a text loaded in
// place ends with its terminator).
struct TFileBytes {
    std::unique_ptr<char[]> Data;
    size_t Size = 0;

    std::string_view View() const { return {Data.get(), Size}; }
};

struct TReadDocument {
    TFileBytes Bytes;
    // Empty when the file was read whole; otherwise why it was not, as a sentence.
    std::string Problem;
};

// The read call, replaceable by tests that change the file while it is being read.
using TReadCall = std::function<ssize_t(int fd, void* buffer, size_t n)>;

// Reads the regular file at path (symbolic links followed) in one piece. A file larger than
// maxBytes is refused before anything is read.
TReadDocument ReadDocumentFile(const std::string& path, int64_t maxBytes, const TReadCall& read = {});

} // namespace zandor::platform
