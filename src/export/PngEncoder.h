// A PNG file built row by row, so a picture never has to be in memory whole: the rows are
// compressed as they come. The file is indexed while the picture has at most 256 colours, as text
// art does, packed to as few bits a pixel as the caller asks for (text art mostly needs 2 or 4,
// which leaves the compressor a quarter or half the bytes of one byte a pixel); a row that brings
// a colour more than the depth holds makes the encoder say so, and the caller starts again with
// more bits, finally in true colour.
#pragma once

#include <QRgb>

#include <array>
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
    TTooManyColours() : std::runtime_error("more colours than the bit depth holds") {}
};

// Owns its compression state and the compressed rows.
class TPngEncoder {
public:
    // The finished file is width x height pixels; each row handed in is repeated `scale` times
    // down and each pixel `scale` times across. `paletteBits` is 1, 2, 4 or 8 for an indexed file
    // of at most 2^bits colours, 0 for true colour. Throws for a size PNG cannot hold.
    TPngEncoder(int width, int64_t height, int scale, int paletteBits);
    TPngEncoder(const TPngEncoder&) = delete;
    TPngEncoder& operator=(const TPngEncoder&) = delete;
    ~TPngEncoder();

    // One row of `width / scale` source pixels, repeated `scale` times or `repeats` times down.
    // Throws TTooManyColours in indexed mode.
    void AddRow(const QRgb* pixels) { AddRow(pixels, FScale); }
    void AddRow(const QRgb* pixels, int64_t repeats);
    // The bytes of the whole file; every row must have been added.
    std::string Finish();

private:
    void Deflate(const uint8_t* data, size_t size, bool last);
    // Takes `taken` bytes more at the end of the file and makes sure `room` more can follow.
    void Grow(size_t taken, size_t room = 0);
    void CloseChunk();
    // The palette index of `colour`, which joins the palette when it is new. Throws
    // TTooManyColours when the palette already holds `capacity` colours.
    uint8_t IndexOf(QRgb colour, size_t capacity);
    // The same through a small table of the colours last seen at each slot. Every colour seen has
    // its slot, so the common case is one load and one comparison that nearly always succeeds: no
    // branch on which colour came before (glyph rows change colour every few pixels, shades at
    // every pixel).
    uint8_t CachedIndex(QRgb colour, size_t capacity) {
        const uint32_t slot = (colour * 0x9E3779B1u) >> (32 - kCacheBits);
        return FCacheColour[slot] == colour ? FCacheIndex[slot] : CacheMiss(colour, slot, capacity);
    }
    uint8_t CacheMiss(QRgb colour, uint32_t slot, size_t capacity);

    static constexpr int kCacheBits = 8;

    int FWidth;
    int64_t FHeight;
    int FScale;
    int FBits; // 0: true colour
    int64_t FRows = 0;
    std::unique_ptr<z_stream_s> FZip;
    // The IDAT chunks of the file in its first FSize bytes; the last is open (its length and
    // checksum still to come) from FChunk on, npos when none is.
    std::string FData;
    size_t FSize = 0;
    size_t FChunk = std::string::npos;
    std::vector<uint8_t> FRow;
    std::vector<uint8_t> FIndices; // a row's palette indices before they are packed
    std::vector<QRgb> FPalette;
    std::unordered_map<QRgb, uint8_t> FIndex;
    // No colour is 0 here: every colour looked up is opaque.
    std::array<QRgb, size_t(1) << kCacheBits> FCacheColour{};
    std::array<uint8_t, size_t(1) << kCacheBits> FCacheIndex{};
};

} // namespace zandor
