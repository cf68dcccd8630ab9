#include "editor/engine/FormatCodes.h"

#include "editor/engine/ParagraphsList.h"

#include <array>

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

} // namespace zandor
