// How text gets its size: an interface over the fonts of one control, so that the editor engine
// never sees a font object. A font is named by a style byte; the implementation maps it to a face.
#pragma once

#include <cstdint>

namespace zandor::platform {

// Style byte bits that choose a font: bits 0-3 are bold, italic, underline, strike-out, bit 5 asks
// for the alternate font. The other bits (highlight, context marks) never change the font.
inline constexpr uint8_t kFontStyleMask = 0x2F;

struct TFontMetricsInfo {
    int Height = 0; // ascent + descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0; // room for accents inside Height
    int MaxCharWidth = 0;    // 0 when the font does not say
};

// A measurer answers for one pair of fonts (the control's font and its alternate font); the control
// replaces it when a font changes.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    // Width in pixels of `length` bytes at `text` drawn in the font of `style` (only the bits of
    // kFontStyleMask count). Bytes are single characters of the font's own character set.
    virtual int TextExtent(uint8_t style, const char* text, int length) = 0;

    virtual TFontMetricsInfo Metrics(uint8_t style) = 0;
};

} // namespace zandor::platform
