// Opening a file's text in slices: between them the window's event loop goes on, so that a large or
// slow file leaves the window painting and shows how far the reading has come.
#pragma once

#include "documents/FileEncoding.h"
#include "documents/SauceRecord.h"
#include "documents/TextDecoding.h"
#include "platform/DocumentFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zandor {

// A file's text as the editor takes it over.
struct TLoadedText {
    // The text (decoded where the file's bytes were, or new bytes), with room for one byte more.
    platform::TFileBytes Bytes;
    TDecodedText Decoded;
    // What the text's bytes hold, which chooses the font.
    TContentKind Content = TContentKind::Plain;
    // A SAUCE record after the text, and the file's bytes from the end of the text on (the 0x1A,
    // the comments and the record), written back after the text as they were.
    std::optional<TSauceRecord> Sauce;
    std::string SauceTail;
    // Why the file cannot be opened as text, as a sentence; empty when it can.
    std::string Problem;
};

// How a file is to be read.
struct TLoadOptions {
    bool Repair = true; // the "Convert" option
    // The encoding the user chose; nothing: the one the bytes show (DetectEncoding). A Unicode
    // form reads its signature when the bytes begin with one.
    std::optional<TFileEncoding> Encoding;
    // The character set the text is read into, from the encoding and what the bytes hold (the
    // font it will be shown in); called once, before the text is decoded. Unset: the ANSI code page.
    std::function<int(const TFileEncoding&, TContentKind)> Charset;
};

// The file's bytes (its text and SAUCE tail split) read as options say: the encoding, the content,
// the decoded text. What a file read by ReadDocumentFile goes through, the window's and the export's.
TLoadedText DecodeFileBytes(platform::TFileBytes bytes, const TLoadOptions& options);

// Called with the share of the file read so far (0 .. 100), and with -1 when the load is over.
using TLoadProgress = std::function<void(int percent)>;

// How long a load runs before its progress is shown, in milliseconds.
inline constexpr int kLoadProgressDelay = 500;

// Reads the regular file at path (at most maxBytes, see ReadDocumentFile) and decodes it as
// DecodeFileBytes does. After each slice read the calling thread's events are handled, all but
// user input, which waits for the load to end: windows repaint and timers run. Once the load has
// taken kLoadProgressDelay ms, progress is told each new percentage, and -1 at the end. read
// replaces the read call (tests slow it down).
TLoadedText LoadDocumentText(const std::string& path, int64_t maxBytes, const TLoadOptions& options,
                             const TLoadProgress& progress, const platform::TReadCall& read = {});

} // namespace zandor
