#include "editor/engine/FormatCodes.h"

#include "editor/engine/ParagraphsList.h"

#include <array>
#include <vector>

namespace zandor {

namespace {

constexpr std::array<uint8_t, 256> MakeCodeBits() {
    std::array<uint8_t, 256> bits{};
    bits[static_cast<uint8_t>(fcBold)] = sfBold;
    bits[static_cast<uint8_t>(fcItalic)] = sfItalic;
    bits[static_cast<uint8_t>(fcUnderline)] = sfUnderline;
    bits[static_cast<uint8_t>(fcHighlight)] = sfHighlight;
    bits[static_cast<uint8_t>(fcAltFont)] = sfAltFont;
    return bits;
}

constexpr std::array<uint8_t, 256> kCodeBits = MakeCodeBits();

} // namespace

uint8_t FormatCodeBit(char c) {
    return kCodeBits[static_cast<uint8_t>(c)];
}

char FormatCodeOf(uint8_t styleBit) {
    switch (styleBit) {
    case sfBold:
        return fcBold;
    case sfItalic:
        return fcItalic;
    case sfUnderline:
        return fcUnderline;
    case sfHighlight:
        return fcHighlight;
    case sfAltFont:
        return fcAltFont;
    default:
        return 0;
    }
}

uint8_t ApplyFormatCodes(uint8_t style, std::string_view text) {
    for (char c : text)
        style ^= kCodeBits[static_cast<uint8_t>(c)];
    return style;
}

std::string CompensationCodes(uint8_t toggled) {
    std::string codes;
    for (uint8_t bit : {sfUnderline, sfItalic, sfBold, sfHighlight, sfAltFont})
        if (toggled & bit)
            codes += FormatCodeOf(bit);
    return codes;
}

std::string StripFormatCodes(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (!kCodeBits[static_cast<uint8_t>(c)])
            plain += c;
    return plain;
}

std::string RemoveCodePairs(std::string_view text, size_t* mark) {
    std::string out;
    out.reserve(text.size());
    std::vector<size_t> kept; // index in text of every character of out
    kept.reserve(text.size());
    // Where in out the unmatched code of each kind in the current run of codes stands; npos = none.
    std::array<size_t, 256> open;
    open.fill(std::string::npos);
    std::vector<bool> dropped;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const uint8_t u = static_cast<uint8_t>(c);
        if (!kCodeBits[u]) {
            // A character that is no code ends the run: codes on either side of it do not pair.
            for (uint8_t k : {fcBold, fcItalic, fcUnderline, fcHighlight, fcAltFont})
                open[k] = std::string::npos;
        } else if (open[u] != std::string::npos) {
            dropped[open[u]] = true;
            open[u] = std::string::npos;
            continue;
        } else {
            open[u] = out.size();
        }
        out += c;
        kept.push_back(i);
        dropped.push_back(false);
    }
    std::string result;
    result.reserve(out.size());
    size_t before = 0;
    for (size_t j = 0; j < out.size(); ++j) {
        if (dropped[j])
            continue;
        result += out[j];
        if (mark && kept[j] < *mark)
            ++before;
    }
    if (mark)
        *mark = before;
    return result;
}

} // namespace zandor
