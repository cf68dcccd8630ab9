#include "platform/QtTextMeasurer.h"

namespace zandor::platform {

QtTextMeasurer::QtTextMeasurer(const QFont& font, int charset, const QFont& altFont, int altCharset,
                               QPaintDevice* device)
    : Font_(font), AltFont_(altFont), Charset_(charset), AltCharset_(altCharset), Device_(device) {}

QtTextMeasurer::~QtTextMeasurer() = default;

QFont QtTextMeasurer::FontForStyle(uint8_t style) const {
    QFont font = (style & 0x20) ? AltFont_ : Font_;
    font.setBold(style & 0x01);
    font.setItalic(style & 0x02);
    font.setUnderline(style & 0x04);
    font.setStrikeOut(style & 0x08);
    return font;
}

const TCanvasFont& QtTextMeasurer::FaceFor(uint8_t style) {
    int slot = (style & 0x0F) | ((style & 0x20) >> 1);
    auto& face = Faces_[slot];
    if (!face)
        face = std::make_unique<TCanvasFont>(FontForStyle(style), (style & 0x20) ? AltCharset_ : Charset_,
                                             Device_);
    return *face;
}

QString QtTextMeasurer::ToUnicode(uint8_t style, const char* text, int length) const {
    return BytesToText(text, length, (style & 0x20) ? AltCharset_ : Charset_);
}

int QtTextMeasurer::TextExtent(uint8_t style, const char* text, int length) {
    return FaceFor(style).Extent(text, length);
}

TFontMetricsInfo QtTextMeasurer::Metrics(uint8_t style) {
    return FaceFor(style).MetricsInfo();
}

} // namespace zandor::platform
