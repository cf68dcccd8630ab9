// A PNG file built row by row, so a picture never has to be in memory whole: the rows are
// compressed as they come. The file is indexed (one byte a pixel) while the picture has at most
// 256 colours, as text art does; a row that brings the 257th colour makes the encoder say so, and
// the caller starts again in true colour.
#pragma once

#include <QRgb>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

struct z_stream_s;

namespace zandor {

// The picture needs more colours than an indexed file holds.
class TTooManyColours : public std::runtime_error {
public:
    TTooManyColours() : std::runtime_error("more than 256 colours") {}
};

// Owns its compression state and the compressed rows.
class TPngEncoder {
public:
    // The finished file is width x height pixels; each row handed in is repeated `scale` times
    // down and each pixel `scale` times across. Throws for a size PNG cannot hold.
    TPngEncoder(int width, int64_t height, int scale, bool trueColour);
    TPngEncoder(const TPngEncoder&) = delete;
    TPngEncoder& operator=(const TPngEncoder&) = delete;
    ~TPngEncoder();

    // One row of `width / scale` source pixels. Throws TTooManyColours in indexed mode.
    void AddRow(const QRgb* pixels);
    // The bytes of the whole file; every row must have been added.
    std::string Finish();

private:
    void Deflate(const uint8_t* data, size_t size, bool last);

    int FWidth;
    int64_t FHeight;
    int FScale;
    bool FTrueColour;
    int64_t FRows = 0;
    std::unique_ptr<z_stream_s> FZip;
    std::string FCompressed;
    std::vector<uint8_t> FRow;
    std::vector<QRgb> FPalette;
    std::unordered_map<QRgb, uint8_t> FIndex;
};

} // namespace zandor
