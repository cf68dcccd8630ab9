// Text of a fixed-pitch face drawn glyph by glyph: each byte's glyph looked up once, the pieces
// set at the fixed advance, so drawing skips the text layout (itemizing, shaping) that laid-out
// text goes through for every piece. Only a face whose layout could not change a thing takes this
// way: no shaping tables (ligatures, kerning, contextual forms), every character its own glyph in
// the face itself (no fallback font), no decoration lines; and only pieces of left-to-right
// characters without combining marks.
#pragma once

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <memory>

class QPainter;

namespace zandor::platform {

// Immutable once made; shared by the copies of a canvas font.
class TByteGlyphs {
public:
    // Null when text in `font` must go through the layout.
    static std::shared_ptr<const TByteGlyphs> Make(const QFont& font, int charset, int advance);

    // Whether every byte of the piece has a glyph that goes out as it is.
    bool Plain(const char* text, int length) const;
    // Draws a plain piece with its first glyph's origin at the baseline point (x, y), in the
    // painter's pen colour.
    void Draw(QPainter& painter, int x, int y, const char* text, int length) const;

private:
    TByteGlyphs() = default;

    QRawFont FFont;
    int FAdvance = 0;
    std::array<uint32_t, 256> FGlyph{};
    std::array<bool, 256> FPlain{};
};

} // namespace zandor::platform
