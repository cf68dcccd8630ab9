#include "export/Thumbnail.h"

#include "export/TextPicture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zandor {

namespace {

QImage Shrunk(const QImage& picture, int factor) {
    const int width = (picture.width() + factor - 1) / factor;
    const int height = (picture.height() + factor - 1) / factor;
    QImage out(width, height, QImage::Format_RGB32);
    std::vector<uint64_t> sums(static_cast<size_t>(width) * 3);
    std::vector<uint64_t> counts(static_cast<size_t>(width));
    for (int ty = 0; ty < height; ++ty) {
        std::fill(sums.begin(), sums.end(), 0);
        std::fill(counts.begin(), counts.end(), 0);
        const int lastY = std::min(picture.height(), (ty + 1) * factor);
        for (int y = ty * factor; y < lastY; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                const size_t t = size_t(x / factor);
                sums[t * 3] += uint64_t(qRed(row[x]));
                sums[t * 3 + 1] += uint64_t(qGreen(row[x]));
                sums[t * 3 + 2] += uint64_t(qBlue(row[x]));
                ++counts[t];
            }
        }
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(ty));
        for (int tx = 0; tx < width; ++tx) {
            const uint64_t n = counts[size_t(tx)];
            // Rounded to the nearest value, so a square of one colour keeps it exactly.
            const auto mean = [&](int channel) {
                return int((sums[size_t(tx) * 3 + size_t(channel)] + n / 2) / n);
            };
            target[tx] = qRgb(mean(0), mean(1), mean(2));
        }
    }
    return out;
}

} // namespace

QImage ThumbnailOf(const QImage& picture, int size) {
    size = std::clamp(size, 1, kMaxThumbnailSize);
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int longSide = std::max(source.width(), source.height());
    if (longSide <= 0)
        return source;
    if (longSide > size)
        return Shrunk(source, (longSide + size - 1) / size);
    return ScaledPixelForPixel(source, std::max(1, size / longSide));
}

} // namespace zandor
