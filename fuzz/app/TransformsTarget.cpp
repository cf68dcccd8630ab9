// The Edit menu's rewrites of the selection as pure functions on bytes: letter case, Capitalize,
// Join Lines, trimming, and the ANSI code page to UTF-8 and back, fed with valid, overlong,
// surrogate, cut-off and stray UTF-8 as well as any bytes. Each is judged by a model written here
// (UTF-8 by the standard's table of well-formed sequences, the code page through iconv).
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "commands/TextTransforms.h"

#include <string>

namespace zandor::fuzz {

namespace {

// Sequences of every kind: well-formed at each length, overlong forms, surrogates, beyond the last
// code point, stray continuation bytes and leads that start nothing.
const char* const kPieces[] = {"a",
                               "A",
                               " ",
                               "  ",
                               "   ",
                               "\r\n",
                               "\r",
                               "\n",
                               "\t",
                               "\xC3\xA4",         // a-umlaut
                               "\xE2\x82\xAC",     // euro sign, in the code page
                               "\xE2\x94\x80",     // box drawing, beyond it
                               "\xF0\x9F\x98\x80", // beyond the basic plane
                               "\xC2\x81",         // a C1 control the code page keeps
                               "\xC0\xAF",         // overlong
                               "\xE0\x80\xAF",     // overlong
                               "\xF0\x80\x80\xAF", // overlong
                               "\xED\xA0\x80",     // a surrogate half
                               "\xF4\x90\x80\x80", // beyond U+10FFFF
                               "\xF5\x80\x80\x80", // a lead that starts nothing
                               "\x80",             // a stray continuation
                               "\xC3",             // a lead alone
                               "\xE2\x82",         // cut short
                               "\xF0\x9F\x98",     // cut short
                               "\xE0\x80",         // cut short, and overlong already
                               "\xED\xBF",         // cut short, a surrogate already
                               "\xFF",
                               "\xE4",
                               "\xC4"};

std::string MakeText(FuzzInput& in, bool raw) {
    if (raw)
        return in.Rest();
    std::string text;
    while (!in.Empty())
        text += kPieces[in.Byte() % std::size(kPieces)];
    return text;
}

void CheckCase(const std::string& text) {
    const std::string upper = UppercasedText(text);
    const std::string lower = LowercasedText(text);
    FuzzCheck(upper.size() == text.size() && lower.size() == text.size(), "a case change changed the length");
    if (HasModelCase())
        for (size_t i = 0; i < text.size(); ++i)
            if (uint8_t(upper[i]) != ModelAnsiCase(uint8_t(text[i]), true) ||
                uint8_t(lower[i]) != ModelAnsiCase(uint8_t(text[i]), false))
                FuzzFail("the case of " + Printable(text.substr(i, 1)) + " is not its letter's");
    const std::string capitalized = CapitalizedText(text);
    FuzzCheck(capitalized.size() == text.size() &&
                  (text.empty() ||
                   (capitalized[0] == upper[0] && capitalized.compare(1, std::string::npos, text, 1) == 0)),
              "Capitalize changed more than the first byte");
}

void CheckJoinAndTrim(const std::string& text) {
    std::string joined = ModelReplaceAll(text, "\r\n", " ");
    joined = ModelReplaceAll(joined, "   ", " ");
    joined = ModelReplaceAll(joined, "  ", " ");
    if (JoinedLines(text) != joined)
        FuzzFail("Join Lines gives " + Printable(JoinedLines(text)) + " instead of " + Printable(joined));
    size_t first = 0, last = text.size();
    while (first < last && uint8_t(text[first]) <= 32)
        ++first;
    while (last > first && uint8_t(text[last - 1]) <= 32)
        --last;
    FuzzCheck(TrimmedText(text) == text.substr(first, last - first),
              "trimming is not to the first and last letter");
}

// The code page's bytes as UTF-8 read back by the standard's rules: well-formed, and each
// character the one iconv gives for its byte.
void CheckToUtf8(const std::string& text) {
    const std::string utf8 = CharsetToUtf8(text);
    const ModelUtf8 read = ModelDecodeUtf8(utf8);
    FuzzCheck(read.Ok, "Charset to UTF-8 wrote bytes that are no UTF-8");
    FuzzCheck(read.Text.size() == text.size(), "Charset to UTF-8 wrote another number of characters");
    for (size_t i = 0; i < text.size(); ++i)
        FuzzCheck(read.Text[i] == ModelCp1252(uint8_t(text[i])), "Charset to UTF-8 wrote another character");
    const TUtf8Decoding back = Utf8ToCharset(utf8);
    FuzzCheck(back.Ok() && back.Text == text, "UTF-8 to Charset does not give the code page's text back");
}

void CheckFromUtf8(const std::string& text) {
    const TUtf8Decoding decoded = Utf8ToCharset(text);
    const ModelUtf8 model = ModelDecodeUtf8(text);
    if (!model.Ok) {
        FuzzCheck(!decoded.Ok(), "text that is no UTF-8 was converted");
        FuzzCheck(decoded.Text.empty(), "a refused conversion gave text");
        FuzzCheck(decoded.ErrorOffset == model.Offset, "the refusal names another place than the fault's");
        const bool cutOff = decoded.Status == TUtf8Decoding::TStatus::CutOff;
        if (cutOff != model.CutOff)
            FuzzFail(std::string(cutOff ? "a sequence that is no character's start was called cut off: "
                                        : "a character cut off by the end was called invalid: ") +
                     Printable(text.substr(model.Offset)));
        return;
    }
    FuzzCheck(decoded.Ok(), "UTF-8 was refused");
    std::string expected;
    for (const char32_t c : model.Text) {
        const auto byte = ModelCp1252Byte(c);
        expected += byte ? char(*byte) : '?';
    }
    if (decoded.Text != expected)
        FuzzFail("UTF-8 to Charset gives " + Printable(decoded.Text) + " instead of " + Printable(expected));
}

} // namespace

int FuzzTransforms(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t options = in.Byte();
    const std::string text = MakeText(in, options & 1);
    CheckCase(text);
    CheckJoinAndTrim(text);
    CheckToUtf8(text);
    CheckFromUtf8(text);
    return 0;
}

} // namespace zandor::fuzz
