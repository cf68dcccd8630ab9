// The byte-level part of opening a text file: a Unicode file read into the editor's character set
// (see FileEncoding.h) and the repair of doubled and Unix line breaks. An 8-bit file is shown byte
// for byte. Pure functions of the file's bytes; no file access, no editor.
#pragma once

#include "documents/FileEncoding.h"
#include "platform/CodePages.h"
#include "platform/DocumentFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zandor {

// The editor cannot hold a zero byte; it shows each as this character and saves it as this byte.
inline constexpr char kZeroByteReplacement = ' ';

// True when the bytes start with FF FE, the UTF-16 little-endian signature.
bool HasUtf16LeSignature(std::string_view bytes);

// The repair "Convert Unix files to Windows" makes, in its order: every CR CR CR LF becomes CR LF;
// then every CR CR LF becomes CR LF; then, only when the text now holds no CR LF at all, every LF
// becomes CR LF. Each replacement runs once from the left over the result of the one before.
void RepairLineBreaks(std::string& text);

// The editor's positions for a text: every character counts one, every line break two (CR, LF,
// CR LF and LF CR each being one break).
int64_t TextPositions(std::string_view text);

// A file's bytes as the text the editor receives.
struct TDecodedText {
    // How the file's characters were read.
    TFileEncoding Encoding;
    // Characters of a Unicode file that had no byte in the editor's character set (shown as "?").
    size_t Unmapped = 0;
    // A Unicode file drew its control bytes as code page 437's pictures (see DecodeUnicode).
    bool PictureControls = false;
    // Zero bytes in the text (the editor cannot hold them and shows each as a blank).
    size_t ZeroBytes = 0;
    // Set when the text differs from the file's bytes; otherwise the bytes are the text. A text
    // without any CR keeps its lone LFs even with the repair on: the editor breaks lines at them just
    // as at CR LF, so the copy would change nothing it shows or saves.
    std::optional<std::string> Changed;
    // Set by DecodeBytes when it changed or replaced the bytes.
    bool Rewritten = false;
    // Why the bytes cannot be opened as text (empty when they can).
    std::string Problem;

    std::string_view TextOf(std::string_view bytes) const {
        return Changed ? std::string_view(*Changed) : bytes;
    }
};

// The encoding of the program's first years: UTF-16 LE when the bytes start with its signature and
// are whole UTF-16 units, every other file 8-bit.
TFileEncoding ClassicEncoding(std::string_view bytes);

// Decodes a file's bytes written in `encoding` (they must fit it, see EncodingFits) into the
// character set `charset`; repair: the "Convert" option.
TDecodedText DecodeText(std::string_view bytes, bool repair, const TFileEncoding& encoding,
                        int charset = platform::AnsiCodePage);
// The classic encoding, in the ANSI code page.
TDecodedText DecodeText(std::string_view bytes, bool repair);

// The same decoding done on the bytes themselves, which become the text (Changed stays empty):
// a repair that only shortens breaks works where the bytes are; a Unicode file and a repair that
// lengthens them give new bytes. Like ReadDocumentFile's, the bytes have room for one byte more.
TDecodedText DecodeBytes(platform::TFileBytes& bytes, bool repair, const TFileEncoding& encoding,
                         int charset = platform::AnsiCodePage);
TDecodedText DecodeBytes(platform::TFileBytes& bytes, bool repair);

} // namespace zandor
