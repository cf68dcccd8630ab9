#include "commands/WebPalette.h"

#include <array>

namespace zandor {

namespace {

constexpr int kWebColors = 216;

// The web-palette index of a colour: red level x 36 + green level x 6 + blue level.
int WebIndex(QRgb color, const std::array<uint8_t, 256>& level) {
    return level[qRed(color)] * 36 + level[qGreen(color)] * 6 + level[qBlue(color)];
}

QRgb ColorOfWebIndex(int index) {
    return qRgb(index / 36 * 51, index / 6 % 6 * 51, index % 6 * 51);
}

} // namespace

QRgb WebColor(QRgb color) {
    return qRgb(WebLevel(qRed(color)) * 51, WebLevel(qGreen(color)) * 51, WebLevel(qBlue(color)) * 51);
}

TIndexedPicture ReduceToWebPalette(const QImage& source, QRgb background) {
    const QImage picture = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    std::array<uint8_t, 256> level{};
    for (int v = 0; v < 256; ++v)
        level[v] = uint8_t(WebLevel(v));

    TIndexedPicture out;
    out.Width = picture.width();
    out.Height = picture.height();
    out.Pixels.resize(size_t(out.Width) * size_t(out.Height));
    // First every pixel gets its web index (all fit in a byte), then the used indexes are numbered
    // and the pixels renumbered, so the table never holds a colour that nothing shows.
    std::array<bool, kWebColors> used{};
    uint8_t* index = out.Pixels.data();
    for (int y = 0; y < out.Height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < out.Width; ++x) {
            const int web = WebIndex(row[x], level);
            used[web] = true;
            *index++ = uint8_t(web);
        }
    }
    std::array<uint8_t, kWebColors> entry{};
    for (int web = 0; web < kWebColors; ++web) {
        if (!used[web])
            continue;
        entry[web] = uint8_t(out.Colors.size());
        out.Colors.push_back(ColorOfWebIndex(web));
    }
    for (uint8_t& pixel : out.Pixels)
        pixel = entry[pixel];
    const int backgroundWeb = WebIndex(background, level);
    out.BackgroundIndex = used[backgroundWeb] ? entry[backgroundWeb] : 0;
    return out;
}

} // namespace zandor
