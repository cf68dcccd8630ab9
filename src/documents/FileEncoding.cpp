#include "documents/FileEncoding.h"

#include "platform/CodePages.h"
#include "platform/Utf8Reading.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace zandor {

namespace {

using namespace std::string_view_literals;

// Read where the bytes hold no whole character.
constexpr char32_t kNoCharacter = 0xFFFFFFFF;
// How much of a file the guesses look at.
constexpr size_t kSampleSize = 64 * 1024;

constexpr char32_t kLineSeparator = 0x2028;
constexpr char32_t kParagraphSeparator = 0x2029;

unsigned ByteAt(std::string_view bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

struct TRead {
    char32_t Char;
    size_t Length;
};

// The character at `at`. A broken piece reads as kNoCharacter and is passed over as a whole (a
// lead byte with the continuation bytes that fit it, a lone unit, a cut-off tail), so the next
// read starts where a new character could.
TRead ReadUtf8(std::string_view bytes, size_t at) {
    const platform::TUtf8Step step = platform::ReadUtf8Char(bytes, at);
    return {step.Status == platform::TUtf8Step::TStatus::Ok ? step.Char : kNoCharacter, step.Length};
}

char32_t Unit16(std::string_view bytes, size_t at, bool bigEndian) {
    const unsigned first = ByteAt(bytes, at), second = ByteAt(bytes, at + 1);
    return bigEndian ? (first << 8) | second : (second << 8) | first;
}

TRead ReadUtf16(std::string_view bytes, size_t at, bool bigEndian) {
    const size_t left = bytes.size() - at;
    if (left < 2)
        return {kNoCharacter, left};
    const char32_t unit = Unit16(bytes, at, bigEndian);
    if (unit < 0xD800 || unit > 0xDFFF)
        return {unit, 2};
    if (unit <= 0xDBFF && left >= 4) {
        const char32_t next = Unit16(bytes, at + 2, bigEndian);
        if (next >= 0xDC00 && next <= 0xDFFF)
            return {0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), 4};
    }
    return {kNoCharacter, 2};
}

TRead ReadUtf32(std::string_view bytes, size_t at, bool bigEndian) {
    const size_t left = bytes.size() - at;
    if (left < 4)
        return {kNoCharacter, left};
    char32_t c = 0;
    for (size_t n = 0; n < 4; ++n)
        c |= char32_t(ByteAt(bytes, at + n)) << (bigEndian ? 24 - 8 * n : 8 * n);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {kNoCharacter, 4};
    return {c, 4};
}

// EightBit reads each byte as the character of its own number.
TRead ReadChar(std::string_view bytes, size_t at, TEncodingForm form) {
    switch (form) {
    case TEncodingForm::Utf8:
        return ReadUtf8(bytes, at);
    case TEncodingForm::Utf16Le:
    case TEncodingForm::Utf16Be:
        return ReadUtf16(bytes, at, form == TEncodingForm::Utf16Be);
    case TEncodingForm::Utf32Le:
    case TEncodingForm::Utf32Be:
        return ReadUtf32(bytes, at, form == TEncodingForm::Utf32Be);
    case TEncodingForm::EightBit:
        break;
    }
    return {ByteAt(bytes, at), 1};
}

size_t UnitSize(TEncodingForm form) {
    switch (form) {
    case TEncodingForm::Utf16Le:
    case TEncodingForm::Utf16Be:
        return 2;
    case TEncodingForm::Utf32Le:
    case TEncodingForm::Utf32Be:
        return 4;
    default:
        return 1;
    }
}

struct TUtf8Survey {
    bool Valid = true;
    bool BeyondAscii = false;
};

// Where the ASCII bytes from `at` on end. Plain ASCII, most of any text, goes eight bytes at a time.
size_t AsciiRunEnd(std::string_view bytes, size_t at) {
    for (; bytes.size() - at >= 8; at += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if ((word & 0x8080808080808080ull) != 0)
            break;
    }
    while (at < bytes.size() && ByteAt(bytes, at) < 0x80)
        ++at;
    return at;
}

TUtf8Survey SurveyUtf8(std::string_view bytes) {
    TUtf8Survey survey;
    size_t at = 0;
    while ((at = AsciiRunEnd(bytes, at)) < bytes.size()) {
        const TRead read = ReadUtf8(bytes, at);
        if (read.Char == kNoCharacter)
            return {false, survey.BeyondAscii};
        survey.BeyondAscii = survey.BeyondAscii || read.Char >= 0x80;
        at += read.Length;
    }
    return survey;
}

bool FormFits(std::string_view bytes, TEncodingForm form) {
    if (form == TEncodingForm::EightBit)
        return true;
    if (form == TEncodingForm::Utf8)
        return SurveyUtf8(bytes).Valid;
    if (bytes.size() % UnitSize(form) != 0)
        return false;
    for (size_t at = 0; at < bytes.size();) {
        const TRead read = ReadChar(bytes, at, form);
        if (read.Char == kNoCharacter)
            return false;
        at += read.Length;
    }
    return true;
}

// Latin text in UTF-16 has a zero in nearly every unit, always on the same side: at least nine in
// ten of the sampled units have their one zero byte there, and hardly any (one in fifty) on the
// other side. Units that are zero on both sides count for neither, so UTF-32 text, half of whose
// units are zero, is not taken for UTF-16.
std::optional<TEncodingForm> Utf16ByItsZeroBytes(std::string_view bytes) {
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return std::nullopt;
    const std::string_view sample = bytes.substr(0, kSampleSize);
    size_t zeroSecond = 0, zeroFirst = 0;
    for (size_t at = 0; at + 1 < sample.size(); at += 2) {
        const bool first = sample[at] == 0, second = sample[at + 1] == 0;
        if (second && !first)
            ++zeroSecond;
        else if (first && !second)
            ++zeroFirst;
    }
    const size_t units = sample.size() / 2;
    const auto mostly = [units](size_t there, size_t elsewhere) {
        return there * 10 >= units * 9 && elsewhere * 50 <= units;
    };
    std::optional<TEncodingForm> form;
    if (mostly(zeroSecond, zeroFirst))
        form = TEncodingForm::Utf16Le;
    else if (mostly(zeroFirst, zeroSecond))
        form = TEncodingForm::Utf16Be;
    if (form && !FormFits(bytes, *form))
        form.reset();
    return form;
}

bool IsControlByte(int byte) {
    return byte < 0x20 || byte == 0x7F;
}

bool IsStructure(int byte) {
    return byte == '\t' || byte == '\n' || byte == '\r';
}

// The byte of the set that shows the character, or -1. Code page 437's pictures of the control
// bytes are that set's own characters and borrowed by Windows-1252, where they would otherwise
// be lost; those of tab, LF and CR would change the text's structure and stand for no byte.
int ByteShowing(char32_t c, bool oem, bool& picture) {
    if (c < 0x80) // ASCII, the controls and DEL alike in both sets
        return static_cast<int>(c);
    if (c > 0xFFFF)
        return -1;
    const auto ch = static_cast<char16_t>(c);
    const int own = oem ? platform::UnicodeToCp437(ch) : platform::UnicodeToCp1252(ch);
    if (own >= 0 && !IsControlByte(own))
        return own;
    const int control = oem ? own : platform::UnicodeToCp437(ch);
    if (control < 0 || !IsControlByte(control) || IsStructure(control))
        return -1;
    picture = true;
    return control;
}

// The character that shows the byte as written back: the inverse of ByteShowing.
char16_t CharShowing(unsigned char byte, int charset, bool pictures) {
    if (!IsControlByte(byte))
        return platform::CharsetTable(charset)[byte];
    if (!pictures || IsStructure(byte))
        return byte;
    const char16_t picture = platform::Cp437ToUnicode(byte);
    // A picture the other set has a byte of its own for would read back as that byte.
    if (charset != platform::OemCharset && platform::UnicodeToCp1252(picture) >= 0)
        return byte;
    return picture;
}

// A character as a form writes it: the bytes in the order they go, and how many there are. Every
// character of the two sets is in the basic plane.
struct TPiece {
    std::array<char, 4> Bytes{};
    size_t Length = 0;
};

TPiece PieceOf(char16_t c, TEncodingForm form) {
    TPiece piece;
    const auto put = [&piece](unsigned byte) {
        piece.Bytes[piece.Length++] = static_cast<char>(byte & 0xFF);
    };
    const bool big = form == TEncodingForm::Utf16Be || form == TEncodingForm::Utf32Be;
    if (form == TEncodingForm::EightBit || (form == TEncodingForm::Utf8 && c < 0x80)) {
        put(c);
    } else if (form == TEncodingForm::Utf8 && c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (form == TEncodingForm::Utf8) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        const size_t width = UnitSize(form);
        for (size_t n = 0; n < width; ++n)
            put(unsigned(c) >> (8 * (big ? width - 1 - n : n)));
    }
    return piece;
}

bool IsOldLineBreak(char32_t c) {
    return c == '\r' || c == '\n' || c == 0x0B || c == 0x0C || c == kLineSeparator ||
           c == kParagraphSeparator;
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text starts with an XML declaration or with the root element of a media library's
// description, each followed by what may end its name.
bool StartsAsLibraryXml(std::string_view text, TEncodingForm form) {
    size_t at = 0;
    TRead read{};
    while (at < text.size() && IsBlank((read = ReadChar(text, at, form)).Char))
        at += read.Length;
    std::string start; // lower-cased, as far as any name could go
    while (at < text.size() && start.size() < 18) {
        read = ReadChar(text, at, form);
        if (read.Char >= 0x80)
            break;
        start += static_cast<char>(read.Char >= 'A' && read.Char <= 'Z' ? read.Char + 32 : read.Char);
        at += read.Length;
    }
    const auto followedBy = [&start](std::string_view name, std::string_view enders) {
        return start.starts_with(name) && start.size() > name.size() &&
               enders.find(start[name.size()]) != std::string_view::npos;
    };
    if (followedBy("<?xml", " \t\r\n?"))
        return true;
    for (const std::string_view element :
         {"<movie"sv, "<tvshow"sv, "<episodedetails"sv, "<musicvideo"sv, "<album"sv, "<artist"sv})
        if (followedBy(element, " \t\r\n>/"))
            return true;
    return false;
}

// The sample without the character its end may have cut in two.
std::string_view WithoutCutEnd(std::string_view sample) {
    size_t end = sample.size();
    for (int back = 0; back < 3 && end > 0 && (ByteAt(sample, end - 1) & 0xC0) == 0x80; ++back)
        --end;
    if (end > 0 && ByteAt(sample, end - 1) >= 0xC0)
        --end;
    return sample.substr(0, end);
}

// Art when its characters beyond ASCII are at least eight of box-drawing, block and shade
// characters, these are at least half of them, and at least half of these stand within two
// characters of another: lines, frames and fills rather than the odd accented letter or degree
// sign of a text.
bool LooksLikeArt(std::string_view sample, TEncodingForm form, bool cut) {
    const bool eightBit = form == TEncodingForm::EightBit;
    size_t beyondAscii = 0, drawing = 0, together = 0;
    size_t lastDrawing = 0;
    bool lastTogether = false, anyDrawing = false;
    size_t index = 0;
    for (size_t at = 0; at < sample.size(); ++index) {
        const TRead read = ReadChar(sample, at, form);
        at += read.Length;
        const char32_t c = read.Char;
        if (c < 0x80)
            continue;
        ++beyondAscii;
        if (eightBit ? c < 0xB0 || c > 0xDF : (c < 0x2500 || c > 0x259F) && c != 0x25A0)
            continue;
        ++drawing;
        const bool near = anyDrawing && index - lastDrawing <= 2;
        if (near)
            together += lastTogether ? 1 : 2;
        lastTogether = near;
        lastDrawing = index;
        anyDrawing = true;
    }
    if (drawing < 8 || drawing * 2 < beyondAscii || together * 2 < drawing)
        return false;
    // Bytes that read as UTF-8 are letters and signs written in it, whatever they show as bytes.
    return !eightBit || !SurveyUtf8(cut ? WithoutCutEnd(sample) : sample).Valid;
}

// By form, in the order the forms are declared.
constexpr std::string_view kSignatures[] = {""sv,         "\xEF\xBB\xBF"sv, "\xFF\xFE"sv,
                                            "\xFE\xFF"sv, "\xFF\xFE\0\0"sv, "\0\0\xFE\xFF"sv};
constexpr std::string_view kFormNames[] = {"8-bit",     "UTF-8",     "UTF-16 LE",
                                           "UTF-16 BE", "UTF-32 LE", "UTF-32 BE"};

} // namespace

std::string_view SignatureOf(const TFileEncoding& encoding) {
    return encoding.Signature ? kSignatures[static_cast<size_t>(encoding.Form)] : std::string_view();
}

std::string EncodingName(const TFileEncoding& encoding) {
    const std::string name(kFormNames[static_cast<size_t>(encoding.Form)]);
    return encoding.Signature && encoding.Unicode() ? name + " BOM" : name;
}

std::optional<TFileEncoding> EncodingNamed(std::string_view name) {
    struct TNamed {
        std::string_view Name;
        TEncodingForm Form;
    };
    static constexpr TNamed kNames[] = {
        {"utf-8", TEncodingForm::Utf8},       {"utf8", TEncodingForm::Utf8},
        {"utf-16le", TEncodingForm::Utf16Le}, {"utf-16be", TEncodingForm::Utf16Be},
        {"utf-32le", TEncodingForm::Utf32Le}, {"utf-32be", TEncodingForm::Utf32Be},
        {"8bit", TEncodingForm::EightBit},    {"cp437", TEncodingForm::EightBit},
        {"ansi", TEncodingForm::EightBit},    {"cp1252", TEncodingForm::EightBit},
    };
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    for (const TNamed& named : kNames)
        if (named.Name == lower)
            return TFileEncoding{named.Form, false};
    return std::nullopt;
}

TFileEncoding EncodingReading(std::string_view bytes, TEncodingForm form) {
    if (form == TEncodingForm::EightBit)
        return {};
    return {form, bytes.starts_with(SignatureOf({form, true}))};
}

bool EncodingFits(std::string_view bytes, const TFileEncoding& encoding) {
    if (!bytes.starts_with(SignatureOf(encoding)))
        return false;
    // The one Unicode form the program always read: its signature and whole units are enough, a
    // lone surrogate half is a "?" in the text, as it always was.
    if (encoding == TFileEncoding{TEncodingForm::Utf16Le, true})
        return bytes.size() % 2 == 0;
    return FormFits(bytes.substr(SignatureOf(encoding).size()), encoding.Form);
}

TFileEncoding DetectEncoding(std::string_view bytes) {
    // UTF-32 LE's signature begins with UTF-16 LE's, so it is tried first.
    for (const TEncodingForm form : {TEncodingForm::Utf8, TEncodingForm::Utf32Le, TEncodingForm::Utf32Be,
                                     TEncodingForm::Utf16Le, TEncodingForm::Utf16Be}) {
        const TFileEncoding encoding{form, true};
        if (EncodingFits(bytes, encoding))
            return encoding;
    }
    if (const std::optional<TEncodingForm> utf16 = Utf16ByItsZeroBytes(bytes))
        return {*utf16, false};
    const TUtf8Survey utf8 = SurveyUtf8(bytes);
    if (utf8.Valid && utf8.BeyondAscii)
        return {TEncodingForm::Utf8, false};
    return {};
}

TDecodedUnicode DecodeUnicode(std::string_view bytes, const TFileEncoding& encoding, int charset) {
    TDecodedUnicode decoded;
    if (!encoding.Unicode()) {
        decoded.Text = bytes;
        return decoded;
    }
    if (bytes.starts_with(SignatureOf(encoding)))
        bytes.remove_prefix(SignatureOf(encoding).size());
    const TEncodingForm form = encoding.Form;
    const bool oldLineRules = form == TEncodingForm::Utf16Le && encoding.Signature;
    const bool oem = charset == platform::OemCharset;
    std::string& text = decoded.Text;
    text.reserve(bytes.size() / UnitSize(form));
    bool afterBreak = false;
    for (size_t at = 0; at < bytes.size();) {
        if (form == TEncodingForm::Utf8) {
            // Runs of ASCII are the same bytes in both sets.
            const size_t end = AsciiRunEnd(bytes, at);
            text.append(bytes.substr(at, end - at));
            if ((at = end) == bytes.size())
                break;
        }
        const TRead read = ReadChar(bytes, at, form);
        at += read.Length;
        if (oldLineRules && IsOldLineBreak(read.Char)) {
            if (read.Char == '\r' && at < bytes.size() && ReadChar(bytes, at, form).Char == '\n')
                at += 2;
            text += "\r\n";
            afterBreak = true;
            continue;
        }
        afterBreak = false;
        const int byte = ByteShowing(read.Char, oem, decoded.PictureControls);
        if (byte < 0) {
            text += '?';
            ++decoded.Unmapped;
        } else {
            text += static_cast<char>(byte);
        }
    }
    // The old rules join lines with breaks between them: a break that ends the text ends no line.
    if (afterBreak)
        text.resize(text.size() - 2);
    return decoded;
}

std::string EncodeUnicode(std::string_view text, const TFileEncoding& encoding, int charset,
                          bool pictureControls) {
    if (!encoding.Unicode())
        return std::string(text);
    // What each byte is written as, worked out once; then the length, so the bytes are written
    // into their place in one go, each piece as four bytes (the room after the end is cut off).
    std::array<TPiece, 256> pieces;
    for (size_t byte = 0; byte < pieces.size(); ++byte)
        pieces[byte] =
            PieceOf(CharShowing(static_cast<unsigned char>(byte), charset, pictureControls), encoding.Form);
    const std::string_view signature = SignatureOf(encoding);
    size_t size = signature.size();
    for (const char byte : text)
        size += pieces[static_cast<unsigned char>(byte)].Length;
    std::string bytes(size + 4, '\0');
    char* out = bytes.data();
    out = std::copy(signature.begin(), signature.end(), out);
    for (const char byte : text) {
        const TPiece& piece = pieces[static_cast<unsigned char>(byte)];
        std::memcpy(out, piece.Bytes.data(), 4);
        out += piece.Length;
    }
    bytes.resize(size);
    return bytes;
}

TContentKind GuessContent(std::string_view bytes, const TFileEncoding& encoding) {
    std::string_view sample = bytes.substr(0, kSampleSize);
    if (sample.starts_with(SignatureOf(encoding)))
        sample.remove_prefix(SignatureOf(encoding).size());
    if (StartsAsLibraryXml(sample, encoding.Form))
        return TContentKind::XmlLibrary;
    return LooksLikeArt(sample, encoding.Form, bytes.size() > kSampleSize) ? TContentKind::Art
                                                                           : TContentKind::Plain;
}

} // namespace zandor
