// The encoding a file's bytes are written in, found from the bytes themselves, and the way between
// such a file and the editor's 8-bit text: a Unicode file is read into the bytes of the character
// set the editor's font shows (code page 437 or Windows-1252) and written back in its own form.
// What kind of text the bytes hold (text-mode art in code page 437, a media library's XML
// description) is guessed here too. Pure functions of bytes; no file access, no editor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zandor {

// How the characters of a file are stored.
enum class TEncodingForm {
    EightBit, // one byte per character, the bytes the editor holds
    Utf8,
    Utf16Le,
    Utf16Be,
    Utf32Le,
    Utf32Be,
};

struct TFileEncoding {
    TEncodingForm Form = TEncodingForm::EightBit;
    // The file starts with the form's signature (byte-order mark); never set for EightBit.
    bool Signature = false;

    bool Unicode() const { return Form != TEncodingForm::EightBit; }
    friend bool operator==(const TFileEncoding&, const TFileEncoding&) = default;
};

// The signature bytes of an encoding ("" for EightBit or without Signature).
std::string_view SignatureOf(const TFileEncoding& encoding);

// The form's name as the status panel and the menus show it: "8-bit", "UTF-8", "UTF-16 LE",
// "UTF-16 BE", "UTF-32 LE", "UTF-32 BE"; with Signature " BOM" is added ("UTF-8 BOM").
std::string EncodingName(const TFileEncoding& encoding);

// The encoding named on the command line (--encoding): "utf-8", "utf8", "utf-16le", "utf-16be",
// "utf-32le", "utf-32be", "8bit", "cp437", "ansi", "cp1252" in any letter case. A Unicode form so
// named reads a signature when the bytes begin with one. Nothing for a name it does not know.
std::optional<TFileEncoding> EncodingNamed(std::string_view name);

// The form as it reads these bytes: with Signature when they begin with the form's signature (how
// a form named on the command line reads a file). EightBit stays as it is.
TFileEncoding EncodingReading(std::string_view bytes, TEncodingForm form);

// Finds how the bytes are written: a signature (UTF-32 LE FF FE 00 00 is tried before UTF-16 LE
// FF FE) whose form the rest of the bytes fit (whole code units, no broken surrogate pairs, valid
// UTF-8); otherwise UTF-16 without a signature when the zero bytes stand in every other byte as
// they do in Latin text; otherwise UTF-8 when the bytes are valid UTF-8 and hold at least one
// character beyond ASCII; otherwise EightBit. A signature the bytes after it do not fit is no
// signature: such a file is EightBit (or whatever else its bytes show), never read in part. The
// exception is UTF-16 LE, which the program always read by its signature alone: FF FE before whole
// units fits UTF-16 LE even with a lone surrogate half in it, which reads as "?".
TFileEncoding DetectEncoding(std::string_view bytes);

// True when the bytes can be read in that encoding whole: a signature where it says one, whole code
// units, no lone surrogates (but see UTF-16 LE with its signature above), valid UTF-8. EightBit fits
// every byte string.
bool EncodingFits(std::string_view bytes, const TFileEncoding& encoding);

// A Unicode file's bytes as the editor's 8-bit text in the font's character set (charset as the
// fonts number it: platform::OemCharset for code page 437, anything else Windows-1252). Each
// character becomes the byte that shows it; CR, LF and tab stay; the other characters below 32 and
// DEL keep their codes, and so do the pictures code page 437 draws for those bytes (U+263A for 1
// and so on). A character the set cannot show becomes "?" and is counted.
struct TDecodedUnicode {
    std::string Text;
    // Characters that became "?".
    size_t Unmapped = 0;
    // The file drew the bytes below 32 and DEL as code page 437's pictures (U+263A...) rather than
    // as control characters: writing back gives the pictures again.
    bool PictureControls = false;
};
// The bytes must fit the encoding (EncodingFits); the signature, if any, is left out of the text.
// (Bytes that do not fit still read to their end, each broken piece one "?".) EightBit bytes are
// the text as they stand.
// UTF-16 LE with its signature, the one Unicode form the program always read, keeps its old line
// rules: CR LF and every other CR, LF, vertical tab, form feed, U+2028 and U+2029 break a line, the
// lines are joined with CR LF and a break that ends the text is dropped. The other forms keep their
// characters as they stand (CR and LF as bytes of their own, U+2028 a character the sets lack).
TDecodedUnicode DecodeUnicode(std::string_view bytes, const TFileEncoding& encoding, int charset);

// The editor's 8-bit text written in a Unicode encoding, with the signature when it has one: every
// byte as the character its set shows (the bytes below 32 and DEL as control characters, or as
// code page 437's pictures with pictureControls; CR, LF and tab always as themselves). Each byte
// has a character, so nothing is lost. The pictures the Windows-1252 set shows as characters of
// its own (bullet, pilcrow, section sign) are not used for control bytes in that set. EightBit
// gives the text as it stands.
std::string EncodeUnicode(std::string_view text, const TFileEncoding& encoding, int charset,
                          bool pictureControls);

// What the bytes of a file hold, for the font it opens in.
enum class TContentKind {
    Plain,      // text; the extension's font
    Art,        // text-mode art drawn in code page 437: the screen font of ".nfo"
    XmlLibrary, // a media library's XML description (".nfo" of a film, a show, an album)
};

// The guess from the bytes in their encoding: 8-bit bytes whose characters beyond ASCII are
// mostly code page 437's box-drawing, block and shade bytes (0xB0-0xDF), in runs as art draws
// them, and that are no valid UTF-8; or a Unicode text whose characters beyond ASCII are mostly
// those characters' Unicode forms (U+2500-U+259F, U+25A0); a text that starts (after a signature
// and blanks) with "<?xml" or with a media library's element (<movie>, <tvshow>,
// <episodedetails>, <musicvideo>, <album>, <artist>) is XmlLibrary; anything else Plain. Looks at
// the first 64 KB.
TContentKind GuessContent(std::string_view bytes, const TFileEncoding& encoding);

} // namespace zandor
