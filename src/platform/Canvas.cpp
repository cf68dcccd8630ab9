#include "platform/Canvas.h"

#include "platform/ByteGlyphs.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"

#include <QFontInfo>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace zandor::platform {

QString BytesToText(const char* text, int length, int charset) {
    const char16_t* table = CharsetTable(charset);
    QString s(std::max(length, 0), Qt::Uninitialized);
    QChar* out = s.data();
    for (int i = 0; i < length; ++i)
        out[i] = QChar(table[static_cast<unsigned char>(text[i])]);
    return s;
}

QFont ToQFont(const FontValue& value, int scale, TScreenCells cells) {
    scale = std::max(1, scale);
    const int requested = value.Height != 0 ? std::abs(value.Height) : PointsToPixels(value.Size);
    int pixels = std::max(1, ScreenFontPixels(value.Name, requested)) * scale;
    std::string family = value.Name;
    if (IsScreenFontFace(value.Name)) {
        const int stretched = cells.DosAspect && scale >= 2 ? DosAspectPixels(value.Name, pixels) : 0;
        family = ScreenFontFamily(value.Name, cells.NineDots, stretched > 0);
        if (stretched > 0)
            pixels = stretched;
    }
    QFont font(QString::fromStdString(family));
    font.setPixelSize(pixels);
    font.setBold(value.HasStyle(fsBold));
    font.setItalic(value.HasStyle(fsItalic));
    font.setUnderline(value.HasStyle(fsUnderline));
    font.setStrikeOut(value.HasStyle(fsStrikeOut));
    return font;
}

TCanvasFont::TCanvasFont(const QFont& font, int charset, QPaintDevice* device)
    : FFont(font), FCharset(charset), FMetrics(device ? QFontMetrics(font, device) : QFontMetrics(font)) {
    // A face whose 256 characters all advance by the same whole number of pixels, also when
    // strung together (no kerning, no fractions that add up), measures by multiplication.
    if (!QFontInfo(font).fixedPitch())
        return;
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[size_t(i)] = char(i);
    const int advance = FMetrics.horizontalAdvance(ToUnicode(all.data(), 1));
    if (advance <= 0 || FMetrics.horizontalAdvance(ToUnicode(all.data(), 256)) != 256 * advance)
        return;
    for (int i = 1; i < 256; ++i)
        if (FMetrics.horizontalAdvance(ToUnicode(all.data() + i, 1)) != advance)
            return;
    FFixedAdvance = advance;
}

const TByteGlyphs* TCanvasFont::Glyphs() const {
    if (!FGlyphsLooked) {
        FGlyphs = TByteGlyphs::Make(FFont, FCharset, FFixedAdvance);
        FGlyphsLooked = true;
    }
    return FGlyphs.get();
}

TFontMetricsInfo TCanvasFont::MetricsInfo() const {
    TFontMetricsInfo m;
    m.Ascent = FMetrics.ascent();
    m.Descent = FMetrics.descent();
    m.Height = FMetrics.height();
    // Qt keeps no internal leading; the part of the height above the em box is the same idea.
    m.InternalLeading = std::max(0, m.Height - QFontInfo(FFont).pixelSize());
    m.MaxCharWidth = std::max(0, FMetrics.maxWidth());
    return m;
}

int TCanvasFont::Extent(const char* text, int length) const {
    if (length <= 0)
        return 0;
    if (FFixedAdvance > 0)
        return length * FFixedAdvance;
    return FMetrics.horizontalAdvance(ToUnicode(text, length));
}

int DashPeriod(TPenStyle style) {
    switch (style) {
    case psDash:
    case psDashDot:
    case psDashDotDot:
        return 24;
    case psDot:
        return 6;
    default:
        return 1;
    }
}

TCanvas::TCanvas(QPainter& painter) : FPainter(painter) {
    FPainter.setRenderHint(QPainter::Antialiasing, false);
}

int TCanvas::TextExtent(const char* text, int length) const {
    return FFont ? FFont->Extent(text, length) : 0;
}

void TCanvas::SetTextJustification(int extra, int breaks) {
    if (breaks <= 0 || extra == 0) {
        FBreaks = 0;
        return;
    }
    FBreaks = breaks;
    FShare = extra / breaks;
    FRest = extra % breaks;
    FAcc = FRest / 2;
}

int TCanvas::NextBreakExtra() {
    if (FBreaks <= 0)
        return 0;
    FAcc += FRest;
    int extra = FShare;
    if (FAcc >= FBreaks) {
        ++extra;
        FAcc -= FBreaks;
    }
    return extra;
}

int TCanvas::TextOut(const char* text, int length) {
    return Advance(text, length, true);
}

int TCanvas::SkipText(const char* text, int length) {
    return Advance(text, length, false);
}

int TCanvas::Advance(const char* text, int length, bool draw) {
    if (!FFont || length <= 0)
        return 0;
    const int start = FPenX;
    const QFontMetrics& metrics = FFont->Metrics();
    const TByteGlyphs* glyphs = nullptr;
    if (draw) {
        FPainter.setFont(FFont->Font());
        FPainter.setPen(FTextColor);
        // Only into pixels: a printer or PDF keeps the characters with the text it is given.
        const QPaintEngine* engine = FPainter.paintEngine();
        if (FByGlyphs && engine && engine->type() == QPaintEngine::Raster)
            glyphs = FFont->Glyphs();
    }
    // Without justification the text goes out in one piece; with it, each blank closes a piece
    // and the pen jumps by the blank's share of the slack.
    int from = 0;
    while (from < length) {
        int to = length;
        if (Justifying()) {
            const void* blank = std::memchr(text + from, ' ', size_t(length - from));
            if (blank)
                to = int(static_cast<const char*>(blank) - text) + 1;
        }
        int width = FFont->Extent(text + from, to - from);
        const bool stretched = Justifying() && text[to - 1] == ' ';
        const int extra = stretched ? NextBreakExtra() : 0;
        if (draw) {
            if (FBackColor.isValid())
                FPainter.fillRect(QRect(FPenX, FPenY - metrics.ascent(), width + extra, metrics.height()),
                                  FBackColor);
            if (glyphs && glyphs->Plain(text + from, to - from))
                glyphs->Draw(FPainter, FPenX, FPenY, text + from, to - from);
            else
                FPainter.drawText(QPoint(FPenX, FPenY), FFont->ToUnicode(text + from, to - from));
        }
        FPenX += width + extra;
        from = to;
    }
    return FPenX - start;
}

void TCanvas::CharOut(char c, int advance) {
    if (FFont) {
        const QFontMetrics& metrics = FFont->Metrics();
        if (FBackColor.isValid())
            FPainter.fillRect(QRect(FPenX, FPenY - metrics.ascent(), advance, metrics.height()), FBackColor);
        FPainter.setFont(FFont->Font());
        FPainter.setPen(FTextColor);
        FPainter.drawText(QPoint(FPenX, FPenY), FFont->ToUnicode(&c, 1));
    }
    FPenX += advance;
}

void TCanvas::FillRect(const QRect& rect, const QColor& color) {
    if (rect.isValid() && color.isValid())
        FPainter.fillRect(rect, color);
}

void TCanvas::InvertRect(const QRect& rect) {
    if (!rect.isValid())
        return;
    QPaintEngine* engine = FPainter.paintEngine();
    QPainter::CompositionMode mode;
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes))
        mode = QPainter::RasterOp_SourceXorDestination;
    else if (engine && engine->hasFeature(QPaintEngine::BlendModes))
        mode = QPainter::CompositionMode_Difference;
    else
        return; // a device that cannot combine pixels (some printers) shows no inversion
    const QPainter::CompositionMode old = FPainter.compositionMode();
    FPainter.setCompositionMode(mode);
    FPainter.fillRect(rect, Qt::white);
    FPainter.setCompositionMode(old);
}

void TCanvas::TileImage(const QRect& rect, const QImage& picture, QPoint source) {
    if (!rect.isValid() || picture.isNull())
        return;
    const int pw = picture.width();
    const int ph = picture.height();
    const int sx0 = ((source.x() % pw) + pw) % pw;
    const int sy0 = ((source.y() % ph) + ph) % ph;
    for (int y = rect.top(), sy = sy0; y <= rect.bottom(); sy = 0) {
        const int h = std::min(ph - sy, rect.bottom() + 1 - y);
        for (int x = rect.left(), sx = sx0; x <= rect.right(); sx = 0) {
            const int w = std::min(pw - sx, rect.right() + 1 - x);
            FPainter.drawImage(QPoint(x, y), picture, QRect(sx, sy, w, h));
            x += w;
        }
        y += h;
    }
}

namespace {

QPen ToQPen(const TPenValue& pen) {
    QPen q(ColorToQColor(pen.Color));
    q.setWidth(std::max(1, pen.Width));
    q.setCapStyle(Qt::FlatCap);
    return q;
}

// Lengths of the ink and gap stretches of a one-pixel dashed pen, starting with ink.
std::vector<int> DashPattern(TPenStyle style) {
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

bool Invisible(const TPenValue& pen) {
    return pen.Style == psClear || pen.Color == kNoColor || pen.Color == clNone ||
           !ColorToQColor(pen.Color).isValid();
}

} // namespace

void TCanvas::Line(QPoint a, QPoint b, const TPenValue& pen) {
    if (Invisible(pen) || a == b)
        return;
    const std::vector<int> pattern = pen.Width <= 1 ? DashPattern(pen.Style) : std::vector<int>{};
    FPainter.setPen(ToQPen(pen));
    if (pattern.empty()) {
        FPainter.drawLine(a, b);
        return;
    }
    // The pattern is laid out along the line from a, pixel by pixel of its longer axis, so that
    // it stays where the caller put it however much of the line the device clips away.
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    auto at = [&](int t) { return QPoint(a.x() + dx * t / steps, a.y() + dy * t / steps); };
    size_t k = 0;
    for (int t = 0; t < steps; k = (k + 1) % pattern.size()) {
        const int end = std::min(steps, t + pattern[k]);
        if (k % 2 == 0)
            FPainter.drawLine(at(t), at(end));
        t = end;
    }
}

void TCanvas::Polyline(const QPoint* points, int count, const TPenValue& pen) {
    if (count < 2 || Invisible(pen))
        return;
    FPainter.setPen(ToQPen(pen));
    FPainter.setBrush(Qt::NoBrush);
    FPainter.drawPolyline(points, count);
}

} // namespace zandor::platform
