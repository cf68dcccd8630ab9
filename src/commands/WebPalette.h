// Reducing a picture to the 216 colours of the web palette, the way the GIF picture of the editor
// is stored: every pixel on its own (no dithering), each of red, green and blue taken to the
// nearest-below of the six levels 0, 51, 102, 153, 204 and 255, and a colour table that holds only
// the colours some pixel has.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace zandor {

// A picture as a GIF stores it: one colour-table index per pixel.
struct TIndexedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels; // row by row, Width per row
    std::vector<QRgb> Colors;    // only colours that some pixel has, in ascending web-palette order
    // The table entry of the background colour; 0 when no pixel has that colour, because the table
    // keeps no entry for a colour that nothing shows.
    int BackgroundIndex = 0;
};

// The level (0 .. 5) a channel value 0 .. 255 falls to: (value + 3) div 51.
inline int WebLevel(int value) {
    return (value + 3) / 51;
}

// The web-palette colour a colour becomes (each channel its level times 51; alpha ignored).
QRgb WebColor(QRgb color);

// Any picture format; the background is the colour the editor was painted on.
TIndexedPicture ReduceToWebPalette(const QImage& picture, QRgb background);

} // namespace zandor
