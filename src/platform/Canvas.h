// Drawing 8-bit text the way the editor lays it out: every byte is a character of its font's own
// character set (code page 437 for the OEM set, Windows-1252 otherwise), text is placed on a
// baseline by a pen that moves with each output, and blanks can be stretched to justify a line.
// Also the few other things the editor paints: solid fills, pixel inversion, tiled pictures and
// dashed lines.
#pragma once

#include "platform/Colors.h"
#include "platform/FontValue.h"
#include "platform/ScreenCells.h"
#include "platform/TextMeasurer.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>

class QPainter;
class QPaintDevice;

namespace zandor::platform {

class TByteGlyphs;

// The colour value that means "not set" wherever the editor keeps colours.
inline constexpr TColor kNoColor = -1;

// The bytes as the characters a font of `charset` shows for them.
QString BytesToText(const char* text, int length, int charset);

// The Qt font of a font value: its face, its pixel height (so that every device that measures it
// agrees on its size), its style. The colour and the character set stay with the caller. A screen
// font takes its nearest cell; `scale` multiplies the height after that, so a screen font is its
// cell enlarged pixel for pixel. `cells` picks the screen face's nine-pixel form and, at a scale of
// 2 and more, its DOS-aspect form (see ScreenCells.h); other faces ignore it.
QFont ToQFont(const FontValue& value, int scale = 1, TScreenCells cells = {});

// A font together with its character set and its metrics on one device (the screen when none is
// given). The canvas draws and the engine's measurer measures through the same object, so both
// see the same widths.
class TCanvasFont {
public:
    TCanvasFont(const QFont& font, int charset, QPaintDevice* device = nullptr);

    const QFont& Font() const { return FFont; }
    int Charset() const { return FCharset; }
    const QFontMetrics& Metrics() const { return FMetrics; }
    TFontMetricsInfo MetricsInfo() const;

    int Extent(const char* text, int length) const;
    QString ToUnicode(const char* text, int length) const { return BytesToText(text, length, FCharset); }
    // The glyph of each byte when text in this face may go out without the layout; null when it
    // may not. Looked up on first use.
    const TByteGlyphs* Glyphs() const;

private:
    QFont FFont;
    int FCharset;
    QFontMetrics FMetrics;
    int FFixedAdvance = 0; // every byte's width when all are equal and whole, else 0
    mutable std::shared_ptr<const TByteGlyphs> FGlyphs;
    mutable bool FGlyphsLooked = false;
};

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// A pen as the editor's properties describe it.
struct TPenValue {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    bool operator==(const TPenValue&) const = default;
};

// Length in pixels after which the dash pattern of a style repeats.
int DashPeriod(TPenStyle style);

// Draws on a QPainter that the caller owns and keeps alive; refers to the font it is given (the
// caller keeps the TCanvasFont alive while it is selected). The painter's own pen, brush and
// composition mode are changed freely.
class TCanvas {
public:
    explicit TCanvas(QPainter& painter);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    QPainter& Painter() { return FPainter; }

    // ---- text
    void SetFont(const TCanvasFont& font) { FFont = &font; }
    const TCanvasFont* Font() const { return FFont; }
    void SetTextColor(const QColor& color) { FTextColor = color; }
    // An invalid colour leaves the text transparent; a valid one fills each text cell first.
    void SetBackColor(const QColor& color) { FBackColor = color; }
    // Off: every piece of text goes through the layout, even where its glyphs could go out as
    // they are (the same pixels, more slowly).
    void SetDrawByGlyphs(bool on) { FByGlyphs = on; }

    int TextExtent(const char* text, int length) const;

    // The pen: text is drawn with its baseline at PenY and its left edge at PenX.
    void MoveTo(int x, int y) {
        FPenX = x;
        FPenY = y;
    }
    int PenX() const { return FPenX; }
    int PenY() const { return FPenY; }
    void SetPenX(int x) { FPenX = x; }

    // Spreads `extra` pixels over the next `breaks` blanks of the text output: each gets
    // extra div breaks, and the remainder is handed out from the middle of the line on. Zero
    // breaks (or zero extra) switch justification off.
    void SetTextJustification(int extra, int breaks);
    bool Justifying() const { return FBreaks > 0; }
    // The extra pixels the next justified blank gets (and counts it as handed out).
    int NextBreakExtra();

    // Draws the text at the pen and moves the pen past it (justified blanks included); returns
    // the width covered.
    int TextOut(const char* text, int length);
    // The same pen movement without drawing anything (text far outside the visible area).
    int SkipText(const char* text, int length);
    // One character drawn at the pen that moves the pen by `advance` instead of its own width.
    void CharOut(char c, int advance);

    // ---- areas
    void FillRect(const QRect& rect, const QColor& color);
    // Every pixel of the rectangle gets its complement colour.
    void InvertRect(const QRect& rect);
    // Covers the rectangle with copies of the picture; the first tile starts at `source` inside
    // the picture (taken modulo its size), the later ones at its origin.
    void TileImage(const QRect& rect, const QImage& picture, QPoint source);

    // ---- lines
    // A straight line from a towards b, b itself not drawn (a pen that moves to b), dashed from a
    // on for one-pixel pens; psClear and unset colours draw nothing.
    void Line(QPoint a, QPoint b, const TPenValue& pen);
    // Connected segments through the points.
    void Polyline(const QPoint* points, int count, const TPenValue& pen);

private:
    int Advance(const char* text, int length, bool draw);

    QPainter& FPainter;
    const TCanvasFont* FFont = nullptr;
    QColor FTextColor = Qt::black;
    QColor FBackColor;
    int FPenX = 0;
    int FPenY = 0;
    int FBreaks = 0;
    int FShare = 0;
    int FRest = 0;
    int FAcc = 0;
    bool FByGlyphs = true;
};

} // namespace zandor::platform
