// Opening a file's text in slices: between them the window's event loop goes on, so that a large or
// slow file leaves the window painting and shows how far the reading has come.
#pragma once

#include "documents/TextDecoding.h"
#include "platform/DocumentFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zandor {

// A file's text as the editor takes it over.
struct TLoadedText {
    // The text (decoded where the file's bytes were, or new bytes), with room for one byte more.
    platform::TFileBytes Bytes;
    TDecodedText Decoded;
    // Why the file cannot be opened as text, as a sentence; empty when it can.
    std::string Problem;
};

// Called with the share of the file read so far (0 .. 100), and with -1 when the load is over.
using TLoadProgress = std::function<void(int percent)>;

// How long a load runs before its progress is shown, in milliseconds.
inline constexpr int kLoadProgressDelay = 500;

// Reads the regular file at path (at most maxBytes, see ReadDocumentFile) and decodes it (repair:
// the "Convert" option). After each slice read the calling thread's events are handled, all but
// user input, which waits for the load to end: windows repaint and timers run. Once the load has
// taken kLoadProgressDelay ms, progress is told each new percentage, and -1 at the end. read
// replaces the read call (tests slow it down).
TLoadedText LoadDocumentText(const std::string& path, int64_t maxBytes, bool repair,
                             const TLoadProgress& progress, const platform::TReadCall& read = {});

} // namespace zandor
