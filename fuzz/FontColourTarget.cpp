// Font and colour strings as the settings hold them, from any text: what parses writes back to a
// text that parses to the same value; integers follow their rules exactly (checked against a
// plain reading of them); every colour, named or not, survives its text form; painting colours
// never reads outside the system-colour table.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "platform/Colors.h"
#include "platform/FontValue.h"
#include "platform/IntegerText.h"
#include "platform/PlatformErrors.h"

#include <QPalette>

#include <optional>
#include <string>

namespace zandor::fuzz {

namespace {

using namespace platform;

// Decimal with an optional sign, or up to 8 hexadecimal digits after "$" (after the sign) read as
// the 32-bit pattern and negated as such.
std::optional<int32_t> PlainInteger(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    const bool hex = !s.empty() && s[0] == '$';
    if (hex)
        s.remove_prefix(1);
    if (s.empty() || (hex && s.size() > 8))
        return std::nullopt;
    int64_t v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        v = v * (hex ? 16 : 10) + d;
        if (!hex && v > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (hex)
        return static_cast<int32_t>(negative ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v));
    if (negative)
        return static_cast<int32_t>(-v);
    if (v > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

void CheckColourText(TColor colour) {
    const std::string text = ColorToString(colour);
    TColor back = 0;
    try {
        back = StringToColor(text);
    } catch (const ConversionError&) {
        FuzzFail("the text of a colour does not parse: " + text);
    }
    FuzzCheck(back == colour, "a colour's text gives another colour");
    std::string ident;
    if (ColorToIdent(colour, ident)) {
        TColor named = 0;
        FuzzCheck(IdentToColor(ident, named) && named == colour, "a colour name gives another colour");
    }
    static const QPalette palette(QColor(0xEF, 0xEF, 0xEF), QColor(0xFF, 0xFF, 0xFF));
    const QColor painted = ColorToQColor(colour, palette);
    if (!IsSystemColor(colour) && colour != clNone && colour != clDefault)
        FuzzCheck(painted.isValid() && painted.red() == (colour & 0xFF), "a plain colour paints otherwise");
}

} // namespace

int FuzzFontColour(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t mode = in.Byte();
    const int32_t number = static_cast<int32_t>(in.Below(65536) << 16 | in.Below(65536));
    const std::string text = in.Rest();

    // Integers.
    const std::optional<int32_t> plain = PlainInteger(text);
    int32_t parsed = 0;
    const bool ok = TryStrToInt(text, parsed);
    FuzzCheck(ok == plain.has_value() && (!ok || parsed == *plain), "an integer text reads otherwise");

    // Colours: any value, and any text that parses.
    CheckColourText(number);
    try {
        CheckColourText(StringToColor(text));
    } catch (const ConversionError&) {
    }

    // Fonts: a text that parses writes back to a text giving the same font.
    FontValue font;
    font.Charset = mode;
    bool fontParsed = true;
    try {
        StringToFont(text, font);
    } catch (const ConversionError&) {
        fontParsed = false;
    }
    if (fontParsed) {
        const std::string written = FontToString(font);
        FontValue back;
        back.Charset = font.Charset;
        try {
            StringToFont(written, back);
        } catch (const ConversionError&) {
            FuzzFail("the text of a parsed font does not parse: " + written);
        }
        FuzzCheck(back == font, "a font's text gives another font");
    }
    // A font chosen by its pixel height keeps the point size it is written with.
    FontValue byHeight;
    byHeight.Name = "ZandorLarge";
    byHeight.Height = number % 4096;
    byHeight.Color = number;
    const std::string written = FontToString(byHeight);
    FontValue back;
    StringToFont(written, back);
    FuzzCheck(back.Size == byHeight.PointSize() && back.Height == 0 && back.Color == number,
              "a font set by its height is written with another size");
    return 0;
}

} // namespace zandor::fuzz
