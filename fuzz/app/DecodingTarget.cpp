// Opening a file's bytes as the window does: the UTF-16 signature, the "Convert" repair of doubled
// and Unix line breaks, the count of zero bytes, the decoding in place that large files take, and
// the load into the paragraph store from the decoded buffer without a copy. Every input is judged
// by a plain model of the rules written here; the text then saves with CR LF breaks, and the saved
// file opens as the same text again. The same bytes go through the reading of every encoding: what
// decodes without a "?" is written back as the very same bytes, and a SAUCE record split off never
// takes more than the end-of-file byte and the block after the text.
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "StoreInvariants.h"

#include "documents/FileEncoding.h"
#include "documents/SauceRecord.h"
#include "documents/TextDecoding.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

struct ModelText {
    std::string Text;
    bool Utf16 = false;
    size_t Unmapped = 0;
    // The text before the last step of the repair, when that step turned lone LFs into CR LF in a
    // text without any CR, which the program may skip: the editor breaks lines at LF alike.
    std::optional<std::string> WithoutLastStep;
};

bool IsUtf16Break(char16_t c) {
    return c == 0x0D || c == 0x0A || c == 0x0B || c == 0x0C || c == 0x2028 || c == 0x2029;
}

// The pictures code page 437 draws for the control bytes, which stand for those bytes in a text the
// ANSI code page has no byte for them in; tab, LF and CR keep no picture, being the text's lines.
std::optional<uint8_t> ModelControlPicture(char16_t c) {
    static const char16_t kPictures[32] = {0,      0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                                           0x25D8, 0,      0,      0x2642, 0x2640, 0,      0x266B, 0x263C,
                                           0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                                           0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
    if (c == 0x2302)
        return uint8_t(0x7F);
    for (uint8_t b = 1; b < 32; ++b)
        if (kPictures[b] == c)
            return b;
    return std::nullopt;
}

ModelText ModelDecode(const std::string& bytes, bool repair) {
    ModelText m;
    // A signature followed by half a character is no UTF-16: such a file is 8-bit text.
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE &&
        bytes.size() % 2 == 0) {
        m.Utf16 = true;
        std::vector<char16_t> units;
        for (size_t i = 2; i < bytes.size(); i += 2)
            units.push_back(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
        // Lines first, then joined with CR LF between them.
        std::vector<std::string> lines(1);
        bool endsWithBreak = false;
        for (size_t i = 0; i < units.size(); ++i) {
            const char16_t c = units[i];
            endsWithBreak = IsUtf16Break(c);
            if (endsWithBreak) {
                if (c == 0x0D && i + 1 < units.size() && units[i + 1] == 0x0A)
                    ++i;
                lines.emplace_back();
                continue;
            }
            const bool high = c >= 0xD800 && c <= 0xDBFF;
            if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
                ++i; // one character beyond the code page
            std::optional<uint8_t> byte;
            if (c < 0xD800 || c > 0xDFFF)
                byte = ModelCp1252Byte(c);
            if (!byte && (c < 0xD800 || c > 0xDFFF))
                byte = ModelControlPicture(c);
            if (!byte)
                ++m.Unmapped;
            lines.back() += byte ? char(*byte) : '?';
        }
        if (endsWithBreak)
            lines.pop_back();
        for (size_t k = 0; k < lines.size(); ++k)
            m.Text += (k > 0 ? "\r\n" : "") + lines[k];
    } else {
        m.Text = bytes;
    }
    if (repair) {
        m.Text = ModelReplaceAll(m.Text, "\r\r\r\n", "\r\n");
        m.Text = ModelReplaceAll(m.Text, "\r\r\n", "\r\n");
        if (m.Text.find("\r\n") == std::string::npos) {
            const std::string before = m.Text;
            m.Text = ModelReplaceAll(m.Text, "\n", "\r\n");
            if (before.find('\r') == std::string::npos && before != m.Text)
                m.WithoutLastStep = before;
        }
    }
    return m;
}

// The paragraphs the editor makes of a text: CR, LF, CR LF and LF CR are one break each; a zero
// byte shows as a blank.
std::vector<std::string> ModelParagraphs(const std::string& text, bool discardTrailing) {
    std::vector<std::string> pars(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (i + 1 < text.size() && text[i + 1] == (c == '\r' ? '\n' : '\r'))
                ++i;
            pars.emplace_back();
            continue;
        }
        pars.back() += c == '\0' ? kZeroByteReplacement : c;
    }
    if (discardTrailing)
        for (std::string& par : pars)
            while (!par.empty() && (par.back() == ' ' || par.back() == '\t'))
                par.pop_back();
    return pars;
}

// A file's bytes as ReadDocumentFile leaves them: exactly one byte of room after the text.
platform::TFileBytes FileBytes(const std::string& bytes) {
    platform::TFileBytes file;
    file.Data = std::make_unique<char[]>(bytes.size() + 1);
    std::memcpy(file.Data.get(), bytes.data(), bytes.size());
    file.Size = bytes.size();
    return file;
}

std::vector<std::string> Paragraphs(const TParagraphsList& list) {
    std::vector<std::string> pars;
    for (int p = 0; p < list.Count(); ++p)
        pars.push_back(test::ParText(list.Par(p)));
    return pars;
}

void CheckStore(const TParagraphsList& list) {
    const ::testing::AssertionResult held = test::StoreInvariantsHold(list);
    if (!held)
        FuzzFail(std::string("store invariants: ") + held.message());
}

// Pieces that make signatures, doubled and mixed breaks, separators and zero bytes likely.
const char* const kPieces[] = {"\r", "\n", "\r\n",     "\r\r\n", "\r\r\r\n", "\n\r", "a",   "\xE4",
                               " ",  "\t", "\xFF\xFE", "\0",     "\x0B",     "\x0C", "\x81"};
// UTF-16 units: breaks of every kind, both halves of surrogates, characters in and beyond the code
// page, the signature again and a zero.
const char16_t kUnits[] = {0x000D, 0x000A, 0x000B, 0x000C, 0x2028, 0x2029, 0x0041, 0x00E4, 0x20AC, 0x0081,
                           0x2500, 0xD83D, 0xDE00, 0xDC00, 0xFEFF, 0x0000, 0x0020, 0x00FF, 0x00FE};

std::string MakeBytes(FuzzInput& in, uint8_t how) {
    std::string bytes;
    switch (how % 3) {
    case 0:
        return in.Rest();
    case 1:
        while (!in.Empty()) {
            const uint8_t pick = in.Byte();
            const char* piece = kPieces[pick % std::size(kPieces)];
            bytes.append(piece, std::max<size_t>(1, std::strlen(piece)));
        }
        return bytes;
    default:
        bytes = "\xFF\xFE";
        while (!in.Empty()) {
            const uint8_t pick = in.Byte();
            const char16_t unit =
                pick < 0xC0 ? kUnits[pick % std::size(kUnits)] : char16_t(pick << 8 | in.Byte());
            bytes += char(unit & 0xFF);
            bytes += char(unit >> 8);
        }
        if (how & 0x80)
            bytes += 'x'; // an odd length
        return bytes;
    }
}

// The bytes in the encoding they show, in both character sets, and their SAUCE split.
void CheckEncodings(const std::string& bytes) {
    const TFileEncoding found = DetectEncoding(bytes);
    FuzzCheck(EncodingFits(bytes, found), "the encoding found does not fit the bytes");
    if (found.Unicode()) {
        for (const int charset : {platform::AnsiCodePage, platform::OemCharset}) {
            const TDecodedUnicode text = DecodeUnicode(bytes, found, charset);
            // UTF-16 LE with its signature keeps the old line rules, which change breaks.
            const bool oldRules = found.Form == TEncodingForm::Utf16Le && found.Signature;
            if (text.Unmapped > 0 || oldRules)
                continue;
            const std::string written = EncodeUnicode(text.Text, found, charset, text.PictureControls);
            // A file that drew some control bytes as pictures and wrote others as controls gets
            // pictures for all of them; the text is the same.
            if (!text.PictureControls)
                FuzzCheck(written == bytes, "a Unicode text read without a \"?\" is written back otherwise");
            else
                FuzzCheck(DecodeUnicode(written, found, charset).Text == text.Text,
                          "a Unicode text written back reads as another text");
        }
    }
    const TSauceSplit split = SplitSauce(bytes);
    FuzzCheck(split.TextSize <= bytes.size(), "the SAUCE split lies past the end");
    if (split.Record) {
        const std::string_view tail = std::string_view(bytes).substr(split.TextSize);
        FuzzCheck(tail[0] == '\x1A' || tail.substr(0, 5) == "COMNT" || tail.substr(0, 5) == "SAUCE",
                  "the SAUCE tail begins with a byte of the text");
    } else {
        FuzzCheck(split.TextSize == bytes.size(), "a text without a record was shortened");
    }
}

} // namespace

int FuzzDecoding(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t options = in.Byte();
    const bool repair = options & 0x01;
    const bool discardTrailing = options & 0x02;
    const std::string bytes = MakeBytes(in, uint8_t(options >> 2 | (options & 0x80)));

    CheckEncodings(bytes);
    const ModelText model = ModelDecode(bytes, repair);
    const TDecodedText decoded = DecodeText(bytes, repair);
    FuzzCheck(decoded.Problem.empty(), "the bytes were refused");
    FuzzCheck(decoded.Encoding.Unicode() == model.Utf16, "the UTF-16 signature was not judged by the rule");
    const std::string text(decoded.TextOf(bytes));
    if (text != model.Text && !(model.WithoutLastStep && text == *model.WithoutLastStep))
        FuzzFail("the text is not the rules' text: " + Printable(text) + " instead of " +
                 Printable(model.Text));
    FuzzCheck(decoded.Changed.has_value() || text == bytes, "the bytes were changed without saying so");
    FuzzCheck(decoded.Unmapped == model.Unmapped, "the characters without a byte are miscounted");
    FuzzCheck(decoded.ZeroBytes == size_t(std::count(text.begin(), text.end(), '\0')),
              "the zero bytes are miscounted");

    // Large files are decoded where they were read: the same text, the same notes.
    platform::TFileBytes file = FileBytes(bytes);
    const TDecodedText inPlace = DecodeBytes(file, repair);
    FuzzCheck(!inPlace.Changed && inPlace.Problem.empty(), "decoding in place gave a copy or a problem");
    if (file.View() != text)
        FuzzFail("decoding in place gives another text: " + Printable(file.View()));
    FuzzCheck(inPlace.Encoding == decoded.Encoding && inPlace.Unmapped == decoded.Unmapped &&
                  inPlace.ZeroBytes == decoded.ZeroBytes && inPlace.Rewritten == decoded.Changed.has_value(),
              "decoding in place gives other notes");
    FuzzCheck(TextPositions(text) ==
                  int64_t(ModelParagraphs(text, false).size() - 1) * 2 + int64_t(text.size()) -
                      int64_t(std::count_if(text.begin(), text.end(),
                                            [](char c) { return c == '\r' || c == '\n'; })),
              "the text's positions are miscounted");

    // The editor takes the decoded buffer over as it is.
    TParagraphsList list;
    TArtLineBreak kind = pbCRLF;
    const size_t length = file.Size;
    LoadParagraphsInPlace(list, std::move(file.Data), length, 0, {}, kind, discardTrailing,
                          kZeroByteReplacement);
    CheckStore(list);
    const std::vector<std::string> pars = ModelParagraphs(text, discardTrailing);
    FuzzCheck(Paragraphs(list) == pars, "the editor's paragraphs are not those of the text");

    // Saved, the text opens as itself: breaks are CR LF and nothing needs a repair, unless it
    // begins with the bytes of the UTF-16 signature (a first paragraph "\xFF\xFE..."), which the
    // rule reads as UTF-16 whatever wrote them.
    TMemoryStream saved;
    SaveParagraphs(list, saved, 0, {}, pbCRLF, false);
    const std::string savedText = saved.Text();
    if (HasUtf16LeSignature(savedText))
        return 0;
    for (const bool again : {false, true}) {
        const TDecodedText reopened = DecodeText(savedText, again);
        FuzzCheck(reopened.Problem.empty() && !reopened.Changed && reopened.ZeroBytes == 0,
                  "a saved text does not open as itself");
    }
    TParagraphsList reloaded;
    TMemoryReadStream stream(savedText.data(), savedText.size());
    LoadParagraphs(reloaded, stream, 0, {}, kind, false, kZeroByteReplacement);
    FuzzCheck(Paragraphs(reloaded) == pars, "a saved text opens as other paragraphs");
    return 0;
}

} // namespace zandor::fuzz
