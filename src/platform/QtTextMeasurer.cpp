#include "platform/QtTextMeasurer.h"

#include "platform/CodePages.h"

#include <QFontInfo>

#include <algorithm>

namespace zandor::platform {

QtTextMeasurer::QtTextMeasurer(const QFont& font, int charset, const QFont& altFont, int altCharset)
    : Font_(font), AltFont_(altFont), Charset_(charset), AltCharset_(altCharset) {}

QtTextMeasurer::~QtTextMeasurer() = default;

QFont QtTextMeasurer::FontForStyle(uint8_t style) const {
    QFont font = (style & 0x20) ? AltFont_ : Font_;
    font.setBold(style & 0x01);
    font.setItalic(style & 0x02);
    font.setUnderline(style & 0x04);
    font.setStrikeOut(style & 0x08);
    return font;
}

QtTextMeasurer::Face& QtTextMeasurer::FaceFor(uint8_t style) {
    int slot = (style & 0x0F) | ((style & 0x20) >> 1);
    auto& face = Faces_[slot];
    if (!face) {
        QFont font = FontForStyle(style);
        face = std::make_unique<Face>(Face{font, QFontMetrics(font)});
    }
    return *face;
}

QString QtTextMeasurer::ToUnicode(uint8_t style, const char* text, int length) const {
    const char16_t* table = CharsetTable((style & 0x20) ? AltCharset_ : Charset_);
    QString s(std::max(length, 0), Qt::Uninitialized);
    QChar* out = s.data();
    for (int i = 0; i < length; ++i)
        out[i] = QChar(table[static_cast<unsigned char>(text[i])]);
    return s;
}

int QtTextMeasurer::TextExtent(uint8_t style, const char* text, int length) {
    if (length <= 0)
        return 0;
    return FaceFor(style).Metrics.horizontalAdvance(ToUnicode(style, text, length));
}

TFontMetricsInfo QtTextMeasurer::Metrics(uint8_t style) {
    Face& face = FaceFor(style);
    TFontMetricsInfo m;
    m.Ascent = face.Metrics.ascent();
    m.Descent = face.Metrics.descent();
    m.Height = face.Metrics.height();
    // Qt has no internal leading of its own; the part of the height above the em box is the same idea.
    m.InternalLeading = std::max(0, m.Height - QFontInfo(face.Font).pixelSize());
    m.MaxCharWidth = std::max(0, face.Metrics.maxWidth());
    return m;
}

} // namespace zandor::platform
