// The engine's view of text measuring, and a measurer with fixed advances for tests and for a
// control that has no fonts yet.
#pragma once

#include "platform/TextMeasurer.h"

namespace zandor {

using platform::kFontStyleMask;
using platform::TextMeasurer;
using platform::TFontMetricsInfo;

// A measurer with fixed advances, so that layout and geometry can be checked with exact numbers:
// every byte is `Width` pixels wide, `BoldWidth` in a bold style, `AltWidth` in the alternate font
// (bold alternate text is AltWidth + BoldWidth - Width).
class TFixedTextMeasurer final : public TextMeasurer {
public:
    explicit TFixedTextMeasurer(int width = 8, int boldWidth = 9, int altWidth = 6, int height = 16)
        : Width(width), BoldWidth(boldWidth), AltWidth(altWidth), LineHeight(height) {}

    int CharAdvance(uint8_t style) const {
        int advance = (style & 0x20) ? AltWidth : Width;
        if (style & 0x01)
            advance += BoldWidth - Width;
        return advance;
    }

    int TextExtent(uint8_t style, const char*, int length) override {
        ++Calls;
        if (length > LongestPiece)
            LongestPiece = length;
        return length > 0 ? length * CharAdvance(style) : 0;
    }

    TFontMetricsInfo Metrics(uint8_t style) override {
        TFontMetricsInfo m;
        m.Height = LineHeight;
        m.Descent = LineHeight / 4;
        m.Ascent = LineHeight - m.Descent;
        m.InternalLeading = 2;
        m.MaxCharWidth = CharAdvance(style);
        return m;
    }

    int Width;
    int BoldWidth;
    int AltWidth;
    int LineHeight;
    // What the engine asked for, so tests can see that long text is measured in bounded pieces.
    long Calls = 0;
    int LongestPiece = 0;
};

} // namespace zandor
