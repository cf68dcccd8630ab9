#include "export/TextPicture.h"

#include "export/RowStretch.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/control/MemoMessages.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace zandor {

TTextPicture::TTextPicture(TArtMemo& memo) : FMemo(memo) {
    memo.HandleNeeded();
    TArtMemoCore& core = memo.Core();
    // The widest line is known once every paragraph is laid out; the band's measurer is made of the
    // same fonts, so it lays out the same lines.
    core.FormatRange(0, std::max(0, memo.ParagraphCount() - 1), false, true);
    // Lines wrapped at a number of characters count their width in characters.
    const int text = memo.WordWrap() && memo.ColumnWrap() >= 1 ? memo.ColumnWrap() * memo.AvgCharWidth()
                                                               : core.WidestWidth();
    FWidth = std::max(1, text + memo.LeftMargin() + memo.RightMargin());
    FLineHeight = std::max(1, memo.LinePixels());
    FLineCount = std::max(1, core.Paragraphs().VisibleLineCount);
}

TTextPicture::~TTextPicture() {
    if (FCanvas) {
        FMemo.SetRenderCanvas(nullptr, 0);
        FCanvas.reset();
        FPainter.end();
    }
}

const QImage& TTextPicture::PaintInto(int32_t first, int32_t count) {
    if (!FCanvas || count > FBandLines) {
        if (FCanvas) {
            FMemo.SetRenderCanvas(nullptr, 0);
            FCanvas.reset();
            FPainter.end();
        }
        for (QImage& band : FBands) {
            band = QImage(FWidth, count * FLineHeight, QImage::Format_RGB32);
            if (band.isNull())
                throw std::runtime_error("Not enough memory for the picture.");
        }
        FBandLines = count;
        FNext = 0;
        FPainter.begin(&FBands[0]);
        FCanvas = std::make_unique<platform::TCanvas>(FPainter);
        FMemo.SetRenderCanvas(FCanvas.get(), FWidth);
    } else if (FPainter.device() != &FBands[FNext]) {
        // The canvas sets its font and pen for every piece of text, so the painter moves to the
        // other image with nothing to carry over but the canvas's own setting.
        FPainter.end();
        FPainter.begin(&FBands[FNext]);
        FPainter.setRenderHint(QPainter::Antialiasing, false);
    }
    const int height = count * FLineHeight;
    FPainter.fillRect(QRect(0, 0, FWidth, height), platform::ColorToQColor(FMemo.Color()));
    // Line by line, each held to its own rows: the window composes every line in a bitmap of one
    // line's height, so an underline below the last row of a line never reaches the next one.
    for (int32_t i = 0; i < count; ++i) {
        FPainter.setClipRect(QRect(0, i * FLineHeight, FWidth, FLineHeight));
        const TRenderRecord record{first + i, first + i, 0, i * FLineHeight, float(FLineHeight)};
        FMemo.Perform(wm::PAINT, 0, reinterpret_cast<int64_t>(&record));
    }
    FPainter.setClipping(false);
    const QImage& band = FBands[FNext];
    FNext = 1 - FNext;
    return band;
}

void TTextPicture::PaintBand(int32_t first, int32_t count, const std::function<void(const QRgb*)>& row) {
    count = std::clamp(count, 0, FLineCount - std::min(first, FLineCount));
    if (count <= 0)
        return;
    const QImage& band = PaintInto(first, count);
    for (int y = 0; y < count * FLineHeight; ++y)
        row(reinterpret_cast<const QRgb*>(band.constScanLine(y)));
}

void TTextPicture::PaintAll(const std::function<void(const QRgb*)>& row, int32_t bandLines) {
    bandLines = std::max(1, std::min(bandLines, FLineCount));
    for (int32_t first = 0; first < FLineCount; first += bandLines)
        PaintBand(first, std::min(bandLines, FLineCount - first), row);
}

void TTextPicture::PaintAllBands(const std::function<void(const TBand&)>& band, int32_t bandLines) {
    bandLines = std::max(1, std::min(bandLines, FLineCount));
    for (int32_t first = 0; first < FLineCount; first += bandLines) {
        const int32_t count = std::min(bandLines, FLineCount - first);
        const QImage& image = PaintInto(first, count);
        band(TBand{image.constBits(), image.bytesPerLine(), count * FLineHeight});
    }
}

QImage ScaledPixelForPixel(const QImage& picture, int scale) {
    if (scale <= 1)
        return picture;
    return ScaledPixelForPixel(picture, scale, TRowStretch(picture.height(), scale, false));
}

QImage ScaledPixelForPixel(const QImage& picture, int scale, const TRowStretch& rows) {
    scale = std::max(1, scale);
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    if (rows.Height() > std::numeric_limits<int>::max())
        throw std::runtime_error("The picture is too tall at this scale.");
    QImage out(source.width() * scale, int(rows.Height()), QImage::Format_RGB32);
    if (out.isNull())
        throw std::runtime_error("Not enough memory for the picture at this scale.");
    int to = 0;
    for (int y = 0; y < source.height(); ++y) {
        const int64_t repeats = rows.Repeats(y);
        if (repeats <= 0)
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(out.scanLine(to));
        for (int x = 0; x < source.width(); ++x)
            std::fill_n(first + size_t(x) * size_t(scale), scale, in[x]);
        for (int64_t k = 1; k < repeats; ++k)
            std::copy_n(first, out.width(), reinterpret_cast<QRgb*>(out.scanLine(to + int(k))));
        to += int(repeats);
    }
    return out;
}

} // namespace zandor
