// The whole text of an editor as a picture: every display line from the left margin to the right
// margin of the widest line, painted by the control's own painter in bands of lines, so a picture
// far taller than the memory would hold at once is produced a band at a time.
#pragma once

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <functional>
#include <memory>

namespace zandor {

class TArtMemo;

namespace platform {
class TCanvas;
}

// Refers to the editor (which must outlive it); owns the band it paints into. While it exists the
// editor paints into the band instead of the screen.
class TTextPicture {
public:
    // Lays out the whole text of the editor (its window is created when needed).
    explicit TTextPicture(TArtMemo& memo);
    TTextPicture(const TTextPicture&) = delete;
    TTextPicture& operator=(const TTextPicture&) = delete;
    ~TTextPicture();

    int Width() const { return FWidth; }
    int LineHeight() const { return FLineHeight; }
    int32_t LineCount() const { return FLineCount; }
    int64_t Height() const { return int64_t(FLineCount) * FLineHeight; }

    // Paints the display lines first .. first + count - 1 and hands each pixel row, top down, to
    // `row` (Width() pixels in the 0xAARRGGBB form).
    void PaintBand(int32_t first, int32_t count, const std::function<void(const QRgb* pixels)>& row);

    // Every row of the picture, in bands of `bandLines` lines.
    void PaintAll(const std::function<void(const QRgb* pixels)>& row, int32_t bandLines = 64);

    // A painted band: Rows rows of Width() pixels, Stride bytes apart.
    struct TBand {
        const uchar* Bits;
        qsizetype Stride;
        int Rows;
        const QRgb* Row(int y) const { return reinterpret_cast<const QRgb*>(Bits + Stride * y); }
    };
    // Every band of the picture, top down. Bands are painted into two images by turns, so a band's
    // pixels stay as they are until the call for the band after it has returned: another thread
    // may read them while the next band is painted.
    void PaintAllBands(const std::function<void(const TBand& band)>& band, int32_t bandLines = 64);

private:
    // Paints the lines into the next of the two images and returns it.
    const QImage& PaintInto(int32_t first, int32_t count);

    TArtMemo& FMemo;
    int FWidth = 0;
    int FLineHeight = 1;
    int32_t FLineCount = 0;
    int32_t FBandLines = 0;
    QImage FBands[2];
    int FNext = 0; // the image the next band is painted into
    QPainter FPainter;
    std::unique_ptr<platform::TCanvas> FCanvas;
};

class TRowStretch;

// The picture with every pixel repeated `scale` times across and down.
QImage ScaledPixelForPixel(const QImage& picture, int scale);
// The same with each row repeated as `rows` says.
QImage ScaledPixelForPixel(const QImage& picture, int scale, const TRowStretch& rows);

} // namespace zandor
