#include "platform/FontValue.h"

#include "platform/IntegerText.h"
#include "platform/PlatformErrors.h"

#include <cmath>
#include <cstdlib>

namespace zandor::platform {

namespace {

[[noreturn]] void invalidFont() {
    throw ConversionError("Invalid string to font conversion");
}

} // namespace

int PixelsToPoints(int pixels) {
    return int(std::lround(std::abs(double(pixels)) * 72.0 / ScreenPixelsPerInch));
}

int PointsToPixels(int points) {
    return int(std::lround(double(points) * ScreenPixelsPerInch / 72.0));
}

std::string FontToString(const FontValue& font) {
    std::string text = font.Name;
    text += ',';
    text += std::to_string(font.PointSize());
    text += ',';
    for (FontStyles style : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        text += font.HasStyle(style) ? '1' : '0';
    text += ',';
    text += ColorToString(font.Color);
    return text;
}

void StringToFont(std::string_view text, FontValue& font) {
    auto comma = text.find(',');
    if (comma == std::string_view::npos)
        invalidFont();
    font.Name = std::string(text.substr(0, comma));
    text.remove_prefix(comma + 1);

    comma = text.find(',');
    if (comma == std::string_view::npos)
        invalidFont();
    font.Size = StrToInt(text.substr(0, comma));
    font.Height = 0;
    text.remove_prefix(comma + 1);

    if (text.find(',') != 4)
        invalidFont();
    font.Style = 0;
    const FontStyles order[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    for (int i = 0; i < 4; ++i)
        if (text[size_t(i)] == '1')
            font.Style |= order[i];
    text.remove_prefix(5);

    font.Color = StringToColor(text);
}

} // namespace zandor::platform
