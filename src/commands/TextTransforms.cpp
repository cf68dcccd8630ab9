#include "commands/TextTransforms.h"

#include "platform/CodePages.h"
#include "platform/Utf8Reading.h"

namespace zandor {

namespace {

std::string ThroughTable(std::string_view text, const unsigned char* table) {
    std::string result(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        result[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    return result;
}

std::string ReplacedAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
        result.append(text.substr(from, at - from));
        result.append(with);
        from = at + what.size();
    }
    result.append(text.substr(from));
    return result;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // The ANSI code page holds no character beyond the basic plane.
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string LowercasedText(std::string_view text) {
    return ThroughTable(text, platform::AnsiLowerTable());
}

std::string UppercasedText(std::string_view text) {
    return ThroughTable(text, platform::AnsiUpperTable());
}

std::string CapitalizedText(std::string_view text) {
    std::string result(text);
    if (!result.empty())
        result[0] = static_cast<char>(platform::AnsiUpperTable()[static_cast<unsigned char>(result[0])]);
    return result;
}

std::string JoinedLines(std::string_view text) {
    std::string joined = ReplacedAll(text, "\r\n", " ");
    joined = ReplacedAll(joined, "   ", " ");
    return ReplacedAll(joined, "  ", " ");
}

std::string TrimmedText(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string CharsetToUtf8(std::string_view text, int charset) {
    std::string result;
    result.reserve(text.size() + text.size() / 4);
    const char16_t* table = platform::CharsetTable(charset);
    for (const char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        // Code page 437 draws pictures for the control bytes; as text they stay what they are.
        AppendUtf8(result, b < 0x20 || b == 0x7F ? char16_t(b) : table[b]);
    }
    return result;
}

TUtf8Decoding Utf8ToCharset(std::string_view text, int charset) {
    const bool oem = charset == platform::OemCharset;
    TUtf8Decoding decoding;
    std::string& out = decoding.Text;
    out.reserve(text.size());
    size_t i = 0;
    const auto fail = [&](TUtf8Decoding::TStatus status) {
        decoding.Status = status;
        decoding.ErrorOffset = i;
        decoding.Text.clear();
        return decoding;
    };
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const platform::TUtf8Step step = platform::ReadUtf8Char(text, i);
        if (step.Status == platform::TUtf8Step::TStatus::Invalid)
            return fail(TUtf8Decoding::TStatus::Invalid);
        if (step.Status == platform::TUtf8Step::TStatus::CutOff)
            return fail(TUtf8Decoding::TStatus::CutOff);
        const char32_t c = step.Char;
        const size_t length = step.Length;
        const auto unit = static_cast<char16_t>(c);
        const int byte = c > 0xFFFF ? -1
                         : oem      ? platform::UnicodeToCp437(unit)
                                    : platform::UnicodeToCp1252(unit);
        out += byte > 0 ? static_cast<char>(byte) : '?';
        i += length;
    }
    return decoding;
}

} // namespace zandor
