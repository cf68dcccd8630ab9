// Text measuring over Qt fonts: the control's font and its alternate font, each with the character
// set its bytes are meant for (OemCharset: code page 437, anything else: the ANSI code page).
#pragma once

#include "platform/Canvas.h"
#include "platform/TextMeasurer.h"

#include <QFont>

#include <array>
#include <memory>

namespace zandor::platform {

// Owns copies of both fonts and one canvas font per style that has been asked for. The faces are
// the very objects a canvas draws with, so layout and painting agree on every width.
class QtTextMeasurer final : public TextMeasurer {
public:
    // device: where the text will be drawn (a printer); null for the screen.
    QtTextMeasurer(const QFont& font, int charset, const QFont& altFont, int altCharset,
                   QPaintDevice* device = nullptr);
    ~QtTextMeasurer() override;
    QtTextMeasurer(const QtTextMeasurer&) = delete;
    QtTextMeasurer& operator=(const QtTextMeasurer&) = delete;

    int TextExtent(uint8_t style, const char* text, int length) override;
    TFontMetricsInfo Metrics(uint8_t style) override;

    // The font a style byte selects: the alternate font for bit 5, with bold, italic, underline and
    // strike-out taken from bits 0-3 (the font's own style is replaced, not combined).
    QFont FontForStyle(uint8_t style) const;
    // The bytes as the font shows them.
    QString ToUnicode(uint8_t style, const char* text, int length) const;
    // The face of a style, ready to be selected into a canvas; lives as long as the measurer.
    const TCanvasFont& FaceFor(uint8_t style);

private:
    QFont Font_;
    QFont AltFont_;
    int Charset_;
    int AltCharset_;
    QPaintDevice* Device_;
    // Indexed by the style bits 0-3 plus bit 5 folded into bit 4.
    std::array<std::unique_ptr<TCanvasFont>, 32> Faces_;
};

} // namespace zandor::platform
