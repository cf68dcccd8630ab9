// A font as the settings and the editor describe it: face, size, style, colour and character set,
// with its text form "Face,Size,BIUS,Colour" (for example "ZandorLarge,9,1000,clWhite").
#pragma once

#include "platform/Colors.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zandor::platform {

using FontStyles = uint8_t;
constexpr FontStyles fsBold = 1;
constexpr FontStyles fsItalic = 2;
constexpr FontStyles fsUnderline = 4;
constexpr FontStyles fsStrikeOut = 8;

constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t OEM_CHARSET = 255;

// Sizes are points at 96 pixels per inch, the resolution the stored sizes were chosen for.
constexpr int ScreenPixelsPerInch = 96;
int PixelsToPoints(int pixels); // round(|pixels| * 72 / 96)
int PointsToPixels(int points); // round(points * 96 / 72)

struct FontValue {
    std::string Name = "MS Sans Serif";
    int Size = 8; // points
    // Pixel height when the font was chosen by height ("19 pixels high"); 0 when Size rules.
    // The text form always holds points, so a font set by height is stored as PointSize().
    int Height = 0;
    FontStyles Style = 0;
    TColor Color = clWindowText;
    uint8_t Charset = DEFAULT_CHARSET;

    int PointSize() const { return Height != 0 ? PixelsToPoints(Height) : Size; }
    bool HasStyle(FontStyles style) const { return (Style & style) != 0; }

    bool operator==(const FontValue&) const = default;
};

// "%s,%d,%d%d%d%d,%s": face, size in points, bold/italic/underline/strike-out digits, colour.
// The character set is not part of the text; the settings store keeps it beside it.
std::string FontToString(const FontValue& font);

// Parses the text form into the font, setting each property as soon as it is read, so a failure
// can leave the font partly changed. Throws ConversionError: "Invalid string to font conversion"
// when a separator is missing or the style field is not four characters, and the integer
// conversion message when the size or the colour is no valid value. Setting the size clears a
// pixel height.
void StringToFont(std::string_view text, FontValue& font);

} // namespace zandor::platform
