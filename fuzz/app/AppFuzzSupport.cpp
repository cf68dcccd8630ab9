#include "AppFuzzSupport.h"
#include "FuzzInput.h"

#include <QApplication>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <locale.h>
#include <map>
#include <wctype.h>

namespace zandor::fuzz {

uint32_t ReadNumber(FuzzInput& in, int bytes) {
    uint32_t value = 0;
    for (int k = 0; k < bytes; ++k)
        value = value << 8 | in.Byte();
    return value;
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    // No display is needed: the targets paint into images and print into PDF files.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "zandor-fuzz";
    static char* argv[] = {name, nullptr};
    // Lives to the end of the process: widgets made by the targets may outlive any scope here.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

namespace {

// The second byte's range for a lead byte; the later bytes are always 80 .. BF.
struct SequenceRule {
    int Length = 0;
    uint8_t Low = 0x80, High = 0xBF;
};

SequenceRule RuleOf(uint8_t lead) {
    if (lead <= 0x7F)
        return {1};
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4};
    return {0};
}

// One character of a code page through iconv, or nothing when iconv has none.
std::optional<char32_t> ThroughIconv(const char* codePage, uint8_t byte) {
    iconv_t cd = iconv_open("UTF-32LE", codePage);
    if (cd == iconv_t(-1))
        return std::nullopt;
    char in[1] = {char(byte)};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == size_t(-1) || outLeft != sizeof out - 4)
        return std::nullopt;
    return char32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

struct CodePageModels {
    std::array<char32_t, 256> Cp1252{};
    std::map<char32_t, uint8_t> Cp1252Bytes;
    std::array<std::optional<char32_t>, 256> Cp437{};

    CodePageModels() {
        for (int b = 0; b < 256; ++b) {
            Cp1252[b] = ThroughIconv("WINDOWS-1252", uint8_t(b)).value_or(char32_t(b));
            Cp1252Bytes.emplace(Cp1252[b], uint8_t(b));
            if ((b >= 0x20 && b <= 0x7E) || b >= 0x80)
                Cp437[b] = ThroughIconv("IBM437", uint8_t(b));
        }
        if (Cp1252['A'] != U'A' || Cp1252[0x80] != U'\u20AC' || !Cp437[0xDB] || *Cp437[0xDB] != U'\u2588') {
            std::fprintf(stderr, "iconv does not know Windows-1252 and code page 437\n");
            std::abort();
        }
    }
};

const CodePageModels& Models() {
    static const CodePageModels models;
    return models;
}

} // namespace

ModelUtf8 ModelDecodeUtf8(std::string_view bytes) {
    ModelUtf8 out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = uint8_t(bytes[i]);
        const SequenceRule rule = RuleOf(lead);
        bool wellFormed = rule.Length > 0;
        size_t n = 1;
        char32_t c = rule.Length == 1 ? lead : lead & (0xFF >> (rule.Length + 1));
        for (; wellFormed && n < size_t(rule.Length) && i + n < bytes.size(); ++n) {
            const auto b = uint8_t(bytes[i + n]);
            const uint8_t low = n == 1 ? rule.Low : 0x80, high = n == 1 ? rule.High : 0xBF;
            wellFormed = b >= low && b <= high;
            c = c << 6 | (b & 0x3F);
        }
        if (!wellFormed || n < size_t(rule.Length)) {
            out.Ok = false;
            out.CutOff = wellFormed; // every byte there was right, but the text ended
            out.Offset = i;
            out.Text.clear();
            return out;
        }
        out.Text += c;
        i += n;
    }
    return out;
}

char32_t ModelCp1252(uint8_t byte) {
    return Models().Cp1252[byte];
}

std::optional<uint8_t> ModelCp1252Byte(char32_t c) {
    const auto& bytes = Models().Cp1252Bytes;
    const auto found = bytes.find(c);
    if (found == bytes.end())
        return std::nullopt;
    return found->second;
}

std::optional<char32_t> ModelCp437(uint8_t byte) {
    return Models().Cp437[byte];
}

namespace {

locale_t UnicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    return locale;
}

} // namespace

bool HasModelCase() {
    return UnicodeLocale() != locale_t(0);
}

uint8_t ModelAnsiCase(uint8_t byte, bool upper) {
    const auto c = wint_t(ModelCp1252(byte));
    const wint_t other = upper ? towupper_l(c, UnicodeLocale()) : towlower_l(c, UnicodeLocale());
    return ModelCp1252Byte(char32_t(other)).value_or(byte);
}

std::string Printable(std::string_view bytes, size_t maxLength) {
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < maxLength; ++i) {
        const auto c = uint8_t(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (bytes.size() > maxLength)
        out += "...";
    return out;
}

std::string ModelReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace zandor::fuzz
