// A file's encoding: random texts of both character sets written in every Unicode form by a small
// encoder of the test's own, then found, read and written back; bytes that only look like a form;
// and the real art files, found and guessed as they are and written back byte for byte.
#include "documents/FileEncoding.h"
#include "platform/CodePages.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

namespace zandor::test {
namespace {

using namespace std::string_literals;
using F = TEncodingForm;

constexpr int kAnsiCharset = 0;
constexpr F kUnicodeForms[] = {F::Utf8, F::Utf16Le, F::Utf16Be, F::Utf32Le, F::Utf32Be};

bool IsControl(unsigned char b) {
    return b < 0x20 || b == 0x7F;
}

// How a byte of the text is meant to stand in the file: its set's character; the control bytes as
// themselves, or with pictures as code page 437 draws them, except tab, LF and CR, and except a
// picture Windows-1252 has as a character of its own.
char32_t CharOf(unsigned char b, int charset, bool pictures) {
    const char16_t* ansi = platform::CharsetTable(kAnsiCharset);
    if (!IsControl(b))
        return platform::CharsetTable(charset)[b];
    const char16_t picture = platform::Cp437ToUnicode(b);
    const bool ownAnsiChar = std::find(ansi, ansi + 256, picture) != ansi + 256;
    if (!pictures || b == '\t' || b == '\n' || b == '\r' || (charset != platform::OemCharset && ownAnsiChar))
        return b;
    return picture;
}

// The reference encoder: code points (all in the basic plane) as the form writes them.
std::string Encoded(const std::u32string& chars, F form, bool signature) {
    std::string out;
    const auto put = [&out](char32_t c, int shift) { out += static_cast<char>((c >> shift) & 0xFF); };
    for (const char32_t c : signature ? U"\uFEFF" + chars : chars) {
        if (form == F::Utf8 && c < 0x80) {
            put(c, 0);
        } else if (form == F::Utf8 && c < 0x800) {
            put(0xC0 | (c >> 6), 0);
            put(0x80 | (c & 0x3F), 0);
        } else if (form == F::Utf8) {
            put(0xE0 | (c >> 12), 0);
            put(0x80 | ((c >> 6) & 0x3F), 0);
            put(0x80 | (c & 0x3F), 0);
        } else {
            const int width = form == F::Utf16Le || form == F::Utf16Be ? 2 : 4;
            const bool big = form == F::Utf16Be || form == F::Utf32Be;
            for (int n = 0; n < width; ++n)
                put(c, 8 * (big ? width - 1 - n : n));
        }
    }
    return out;
}

// Prose is printable ASCII and CR LF with one other byte in fifty at most, as Latin text is;
// otherwise any bytes, high and control bytes often.
std::string RandomText(std::mt19937& rng, bool prose) {
    const size_t length = rng() % 4 == 0 ? rng() % 4 : rng() % 400;
    std::string text;
    while (text.size() < length) {
        const unsigned kind = rng() % 8;
        if (kind == 0)
            text += "\r\n";
        else if (kind == 1 && !prose)
            text += static_cast<char>(rng() % 3 == 0 ? 0x7F : rng() % 32);
        else if (kind < 5 && !prose)
            text += static_cast<char>(0x80 + rng() % 128);
        else
            text += static_cast<char>(0x20 + rng() % 95);
    }
    for (size_t n = 0; prose && n < text.size() / 50; ++n)
        text[rng() % text.size()] = static_cast<char>(rng() % 256);
    return text;
}

// The texts UTF-16 LE with signature reads back as they are: breaks only CR LF, none at the end.
std::string WithOldLineRules(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0)
            ++i;
        else if (text[i] == '\r' || text[i] == '\n' || text[i] == '\v' || text[i] == '\f')
            text[i] = ' ';
    }
    while (text.ends_with("\r\n"))
        text.resize(text.size() - 2);
    return text;
}

TEST(FileEncoding, RandomTextsAreFoundReadAndWrittenBackInEveryForm) {
    std::mt19937 rng(437);
    for (int round = 0; round < 400; ++round) {
        const int charset = round % 2 ? platform::OemCharset : kAnsiCharset;
        const bool prose = round % 3 == 0;
        const bool pictures = rng() % 2 == 0;
        const std::string original = RandomText(rng, prose);
        for (const F form : kUnicodeForms) {
            for (const bool signature : {false, true}) {
                const TFileEncoding encoding{form, signature};
                const bool oldRules = form == F::Utf16Le && signature;
                const std::string text = oldRules ? WithOldLineRules(original) : original;
                std::u32string chars;
                bool anyPicture = false;
                for (const char c : text) {
                    chars += CharOf(static_cast<unsigned char>(c), charset, pictures);
                    anyPicture = anyPicture ||
                                 (IsControl(static_cast<unsigned char>(c)) && chars.back() != char32_t(c));
                }
                const std::string bytes = Encoded(chars, form, signature);
                SCOPED_TRACE(EncodingName(encoding) + " charset " + std::to_string(charset) +
                             (pictures ? " pictures " : " ") + testing::PrintToString(text));
                ASSERT_EQ(bytes, EncodeUnicode(text, encoding, charset, pictures));
                ASSERT_TRUE(EncodingFits(bytes, encoding));
                const TDecodedUnicode decoded = DecodeUnicode(bytes, encoding, charset);
                ASSERT_EQ(text, decoded.Text);
                ASSERT_EQ(0u, decoded.Unmapped);
                ASSERT_EQ(anyPicture, decoded.PictureControls);
                ASSERT_EQ(bytes, EncodeUnicode(decoded.Text, encoding, charset, decoded.PictureControls));
                // Without a signature only UTF-8 beyond ASCII and Latin UTF-16 show their form;
                // UTF-16 LE of a text that starts with a zero byte begins as UTF-32 LE's signature.
                const bool beyondAscii =
                    std::any_of(chars.begin(), chars.end(), [](char32_t c) { return c >= 0x80; });
                std::optional<TFileEncoding> shown;
                if (signature && !(oldRules && text.starts_with('\0')))
                    shown = encoding;
                else if (form == F::Utf8 && !signature)
                    shown = beyondAscii ? encoding : TFileEncoding{};
                else if ((form == F::Utf16Le || form == F::Utf16Be) && prose && text.size() >= 2)
                    shown = encoding;
                if (shown) {
                    ASSERT_EQ(*shown, DetectEncoding(bytes));
                }
            }
        }
    }
}

TEST(FileEncoding, AnyBytesAreFoundAsAnEncodingTheyFitAndReadInAnyWithoutHarm) {
    std::mt19937 rng(1252);
    const std::string pieces[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xFF\xFE\0\0"s, "\0\0\xFE\xFF"s,
                                  "\0"s,          "A",        "\xC3\xA9", "\xE2\x95",      "\xD8",
                                  "\xDC",         "\x80",     "\xF4\x90", "\r\n"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        for (unsigned n = rng() % 40; n > 0; --n)
            bytes += rng() % 2 ? std::string(1, static_cast<char>(rng() % 256))
                               : pieces[rng() % std::size(pieces)];
        SCOPED_TRACE(testing::PrintToString(bytes));
        const TFileEncoding found = DetectEncoding(bytes);
        ASSERT_TRUE(EncodingFits(bytes, found));
        if (!found.Unicode()) {
            EXPECT_EQ(bytes, DecodeUnicode(bytes, found, platform::OemCharset).Text);
            EXPECT_EQ(bytes, EncodeUnicode(bytes, found, platform::OemCharset, true));
        }
        for (const F form : kUnicodeForms) {
            for (const bool signature : {false, true}) {
                const TDecodedUnicode decoded = DecodeUnicode(bytes, {form, signature}, round % 2 ? 255 : 0);
                ASSERT_LE(decoded.Unmapped, decoded.Text.size());
                GuessContent(bytes, {form, signature});
            }
        }
    }
}

struct Row {
    std::string Name;
    std::string Bytes;
    TFileEncoding Encoding; // found (DetectEncoding) or given (GuessContent)
    TContentKind Kind = TContentKind::Plain;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.Name;
}

std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.Name;
}

class Detection : public ::testing::TestWithParam<Row> {};

TEST_P(Detection, FindsTheFormTheWholeFileFits) {
    EXPECT_EQ(GetParam().Encoding, DetectEncoding(GetParam().Bytes));
}

std::string Repeated(std::string_view piece, size_t times) {
    std::string text;
    while (times-- > 0)
        text += piece;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Rows, Detection,
                         ::testing::ValuesIn(std::vector<Row>{
                             {"Utf16SignatureOddLength", "\xFF\xFE"s + "A\0B"s, {}},
                             {"Utf8SignatureThenInvalid", "\xEF\xBB\xBF"s + "caf\xE9", {}},
                             {"Utf16SignatureLoneSurrogate", "\xFF\xFE"s + "A\0\x00\xD8"s, {F::Utf16Le, true}},
                             {"Utf32BeSignaturePastLastCodePoint", "\0\0\xFE\xFF\0\x11\0\0"s, {}},
                             {"Utf32LeSignatureThatIsUtf16", "\xFF\xFE\0\0A\0"s, {F::Utf16Le, true}},
                             {"SignatureAloneUtf32LeFirst", "\xFF\xFE\0\0"s, {F::Utf32Le, true}},
                             {"Utf16OddLength", "H\0\xE9\0l"s, {}},
                             {"Utf16LoneSurrogatePastTheSample", Repeated("A\0"s, 40000) + "\x00\xD8"s, {}},
                             {"Utf32WithoutSignatureIsNoUtf16", "A\0\0\0B\0\0\0"s, {}},
                             {"Utf16WithoutLatin", "\x2D\x4E\x87\x65", {}},
                             {"Utf16Le", "H\0i\0"s, {F::Utf16Le, false}},
                             {"Utf16Be", "\0H\0i\0!"s, {F::Utf16Be, false}},
                             {"Utf8", "caf\xC3\xA9", {F::Utf8, false}},
                             {"Utf8InvalidAfterValidStart", "Gr\xC3\xBC\xC3\x9F"s + "e \xFC", {}},
                             {"HalfUtf8HalfCp437", "\xE2\x95\x90\xE2\x95\x90\xCD\xCD", {}},
                             {"Utf8CutOffAtTheEnd", "abc\xE2\x95", {}},
                             {"Utf8Overlong", "a\xC0\xAF", {}},
                             {"Utf8Surrogate", "a\xED\xA0\x80", {}},
                             {"Utf8PastLastCodePoint", "a\xF4\x90\x80\x80", {}},
                             {"Ascii", "plain", {}},
                             {"Empty", "", {}},
                         }),
                         RowName);

class Guess : public ::testing::TestWithParam<Row> {};

TEST_P(Guess, TellsArtAndLibraryXmlFromText) {
    EXPECT_EQ(GetParam().Kind, GuessContent(GetParam().Bytes, GetParam().Encoding));
}

// Degree, plus-minus, half and middle dot are box bytes in code page 437 but stand alone in text;
// German in UTF-8 read as 8-bit has lead bytes and others in the box range together.
INSTANTIATE_TEST_SUITE_P(
    Rows, Guess,
    ::testing::ValuesIn(std::vector<Row>{
        {"XmlDeclaration", "<?xml version=\"1.0\"?><movie/>", {}, TContentKind::XmlLibrary},
        {"ElementAfterSignatureAndBlanks",
         "\xEF\xBB\xBF \r\n\t<TvShow>",
         {F::Utf8, true},
         TContentKind::XmlLibrary},
        {"ElementInUtf16", "\xFF\xFE<\0a\0l\0b\0u\0m\0/\0"s, {F::Utf16Le, true}, TContentKind::XmlLibrary},
        {"OtherElement", "<movies>", {}},
        {"ElementAfterText", "text <movie>", {}},
        {"SignsOfText", Repeated("At 25\xB0"s + "C, \xB1 2\xB0; \xBD a pint, \xA3 3 \xB7 \xA7 4. ", 2), {}},
        {"Utf8ReadAs8Bit",
         "Gr\xC3\xBC\xC3\x9F"s + "e aus K\xC3\xB6ln, sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F"s + "e",
         {}},
        {"Frame",
         "\xC9\xCD\xCD\xCD\xBB\r\n\xBA\xB0\xB1\xB2\xBA\r\n\xC8\xCD\xCD\xCD\xBC",
         {},
         TContentKind::Art},
    }),
    RowName);

TEST(FileEncoding, ReadsWhatTheSetCannotShowAsQuestionMarks) {
    // Tab's, LF's and CR's pictures and a character beyond the basic plane in UTF-8, a pair in UTF-16.
    for (const int charset : {kAnsiCharset, platform::OemCharset}) {
        const TDecodedUnicode decoded =
            DecodeUnicode("\u25CB\u25D9\u266A\xF0\x9F\x91\xBB", {F::Utf8, false}, charset);
        EXPECT_EQ("????", decoded.Text);
        EXPECT_EQ(4u, decoded.Unmapped);
        EXPECT_FALSE(decoded.PictureControls);
        EXPECT_EQ("?", DecodeUnicode("\x3D\xD8\x00\xDE"s, {F::Utf16Le, false}, charset).Text);
    }
    // Windows-1252 borrows the pictures it lacks; its own bullet stays its own byte.
    const TDecodedUnicode ansi = DecodeUnicode("\u263A\u2022", {F::Utf8, false}, kAnsiCharset);
    EXPECT_EQ("\x01\x95", ansi.Text);
    EXPECT_TRUE(ansi.PictureControls);
}

TEST(FileEncoding, Utf16LeWithSignatureKeepsItsOldLineRules) {
    const std::string utf16 = Encoded(U"a\rb\nc\vd\fe\u2028f\u2029g\r\r\nh\r\n", F::Utf16Le, false);
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n\r\nh",
              DecodeUnicode("\xFF\xFE" + utf16, {F::Utf16Le, true}, kAnsiCharset).Text);
    EXPECT_EQ("a\rb\nc\vd\fe?f?g\r\r\nh\r\n", DecodeUnicode(utf16, {F::Utf16Le, false}, kAnsiCharset).Text);
}

TEST(FileEncodingCorpus, FindsAndGuessesTheFilesAndWritesTheUnicodeOnesBack) {
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus";
    using K = TContentKind;
    const std::map<std::string, std::pair<TFileEncoding, K>> named = {
        {"sceners-FCINFO12.TXT", {{}, K::Art}},
        {"retrotxt-ZII-RTXT.asc", {{}, K::Art}},
        {"retrotxt-utf8-nfo_file.nfo", {{F::Utf8, false}, K::Art}},
        {"retrotxt-cp-1252.txt", {{}, K::Plain}},
        {"vault-modern-nfo-ascii.txt", {{}, K::Plain}},
        {"vault-modern-nfo-utf8.txt", {{F::Utf8, false}, K::Plain}},
        {"retrotxt-linkify.txt", {{F::Utf8, false}, K::Plain}},
        {"retrotxt-utf-8_bom.txt", {{F::Utf8, true}, K::Plain}},
        {"retrotxt-utf-16_le.txt", {{F::Utf16Le, true}, K::Plain}},
        {"retrotxt-utf-16_be.txt", {{F::Utf16Be, true}, K::Plain}},
    };
    // The .nfo, .diz and .ans files beyond ASCII are box art, all but these: two Windows accents,
    // one middle dot, a Macintosh file header, and art of dots and superscripts.
    const std::vector<std::string> notBoxArt = {"dc-iph-mame2.nfo", "dc-sa-bass.nfo", "dc-pns-1ufc.nfo",
                                                "sceners-rzrdemo.nfo"};
    int writtenBack = 0;
    const QDir folder(QString::fromStdString(corpus));
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        const std::string bytes = readFile(folder.filePath(name).toStdString()).toStdString();
        const std::string file = name.toStdString();
        SCOPED_TRACE(file);
        const TFileEncoding found = DetectEncoding(bytes);
        const TContentKind kind = GuessContent(bytes, found);
        if (const auto it = named.find(file); it != named.end()) {
            EXPECT_EQ(it->second.first, found);
            EXPECT_EQ(it->second.second, kind);
        } else if (name.contains(QRegularExpression(QStringLiteral("\\.(nfo|diz|ans)$"),
                                                    QRegularExpression::CaseInsensitiveOption)) &&
                   std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; }) &&
                   std::find(notBoxArt.begin(), notBoxArt.end(), file) == notBoxArt.end()) {
            EXPECT_EQ(K::Art, kind);
        }
        for (const int charset : {kAnsiCharset, platform::OemCharset}) {
            const TDecodedUnicode decoded = DecodeUnicode(bytes, found, charset);
            if (!found.Unicode() || decoded.Unmapped > 0)
                continue;
            EXPECT_EQ(bytes, EncodeUnicode(decoded.Text, found, charset, decoded.PictureControls));
            ++writtenBack;
        }
    }
    EXPECT_GE(writtenBack, 2);
}

} // namespace
} // namespace zandor::test
