#include "export/PngEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <string_view>

namespace zandor {

namespace {

void PutBig32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, std::string_view data) {
    PutBig32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), uInt(out.size() - start));
    PutBig32(out, uint32_t(crc));
}

// PNG keeps sizes below 2^31; the chunks of the compressed rows stay well below that as well.
constexpr int64_t kPngLimit = 0x7FFFFFFF;
constexpr size_t kIdatChunk = 1 << 20;

} // namespace

TPngEncoder::TPngEncoder(int width, int64_t height, int scale, int paletteBits)
    : FWidth(width), FHeight(height), FScale(std::max(1, scale)), FBits(paletteBits),
      FZip(std::make_unique<z_stream_s>()) {
    if (width <= 0 || height <= 0)
        throw std::runtime_error("The picture is empty.");
    if (width > kPngLimit || height > kPngLimit)
        throw std::runtime_error("The picture is too large for a PNG file (" + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels).");
    *FZip = z_stream_s{};
    // The fastest level: art compresses well at it, and an export of a large file stays quick.
    if (deflateInit2(FZip.get(), Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        throw std::runtime_error("The PNG compression could not start.");
    if (FBits != 0 && FBits != 1 && FBits != 2 && FBits != 4 && FBits != 8)
        throw std::invalid_argument("PNG palette depth");
    const size_t rowBytes = FBits == 0 ? size_t(width) * 3 : (size_t(width) * size_t(FBits) + 7) / 8;
    FRow.assign(1 + rowBytes, 0);
    if (FBits != 0 && FBits != 8)
        FIndices.assign(size_t(width), 0);
}

TPngEncoder::~TPngEncoder() {
    deflateEnd(FZip.get());
}

void TPngEncoder::Deflate(const uint8_t* data, size_t size, bool last) {
    z_stream_s& z = *FZip;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(size);
    int result;
    do {
        // The compressor writes straight into the result, growing it as needed: no copy between.
        if (FCompressed.size() - FCompressedSize < (1 << 16))
            FCompressed.resize(std::max(FCompressed.size() * 2, FCompressedSize + (size_t(1) << 20)));
        const size_t room = std::min<size_t>(FCompressed.size() - FCompressedSize, 1u << 30);
        z.next_out = reinterpret_cast<Bytef*>(FCompressed.data() + FCompressedSize);
        z.avail_out = uInt(room);
        result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            throw std::runtime_error("The PNG compression failed.");
        FCompressedSize += room - z.avail_out;
    } while (z.avail_out == 0 || (last && result != Z_STREAM_END));
}

uint8_t TPngEncoder::IndexOf(QRgb colour, size_t capacity) {
    // A glyph's pixels alternate between a few colours: a short palette is searched in place,
    // which is quicker than hashing.
    if (FPalette.size() <= 16) {
        for (size_t i = 0; i < FPalette.size(); ++i)
            if (FPalette[i] == colour)
                return uint8_t(i);
    } else if (auto found = FIndex.find(colour); found != FIndex.end()) {
        return found->second;
    }
    if (FPalette.size() == capacity)
        throw TTooManyColours();
    const auto index = uint8_t(FPalette.size());
    FIndex.emplace(colour, index);
    FPalette.push_back(colour);
    return index;
}

uint8_t TPngEncoder::CacheMiss(QRgb colour, uint32_t slot, size_t capacity) {
    const uint8_t index = IndexOf(colour, capacity);
    FCacheColour[slot] = colour;
    FCacheIndex[slot] = index;
    return index;
}

namespace {

// Packs palette indices `bits` to a byte, from the high bits down, the first pixel leftmost.
template <int Bits> void PackIndices(const uint8_t* index, size_t count, uint8_t* packed) {
    constexpr size_t perByte = 8 / Bits;
    const size_t whole = count - count % perByte;
    for (size_t x = 0; x < whole; x += perByte) {
        unsigned byte = 0;
        for (size_t k = 0; k < perByte; ++k)
            byte = (byte << Bits) | index[x + k];
        *packed++ = uint8_t(byte);
    }
    if (whole < count) {
        unsigned byte = 0;
        for (size_t k = 0; k < perByte; ++k)
            byte = (byte << Bits) | (whole + k < count ? index[whole + k] : 0u);
        *packed = uint8_t(byte);
    }
}

} // namespace

void TPngEncoder::AddRow(const QRgb* pixels) {
    const int source = FWidth / FScale;
    uint8_t* out = FRow.data() + 1; // filter byte 0: the row as it is
    if (FBits == 0) {
        for (int x = 0; x < source; ++x)
            for (int k = 0; k < FScale; ++k) {
                *out++ = uint8_t(qRed(pixels[x]));
                *out++ = uint8_t(qGreen(pixels[x]));
                *out++ = uint8_t(qBlue(pixels[x]));
            }
    } else {
        if (FBits != 8)
            out = FIndices.data();
        const size_t capacity = size_t(1) << FBits;
        if (FScale == 1) {
            for (int x = 0; x < source; ++x)
                out[x] = CachedIndex(pixels[x] | 0xFF000000u, capacity);
        } else {
            for (int x = 0; x < source; ++x, out += FScale)
                std::fill_n(out, FScale, CachedIndex(pixels[x] | 0xFF000000u, capacity));
        }
        if (FBits == 1)
            PackIndices<1>(FIndices.data(), FIndices.size(), FRow.data() + 1);
        else if (FBits == 2)
            PackIndices<2>(FIndices.data(), FIndices.size(), FRow.data() + 1);
        else if (FBits == 4)
            PackIndices<4>(FIndices.data(), FIndices.size(), FRow.data() + 1);
    }
    for (int k = 0; k < FScale && FRows < FHeight; ++k, ++FRows)
        Deflate(FRow.data(), FRow.size(), false);
}

std::string TPngEncoder::Finish() {
    if (FRows != FHeight)
        throw std::runtime_error("The picture has fewer rows than its size.");
    Deflate(nullptr, 0, true);
    const std::string_view compressed(FCompressed.data(), FCompressedSize);
    std::string file;
    // Each chunk adds twelve bytes; the header and palette chunks stay under a kilobyte.
    file.reserve(compressed.size() + (compressed.size() / kIdatChunk + 1) * 12 + 1024);
    file.assign("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBig32(header, uint32_t(FWidth));
    PutBig32(header, uint32_t(FHeight));
    header += char(FBits == 0 ? 8 : FBits); // bits per sample
    header += char(FBits == 0 ? 2 : 3);     // RGB or palette
    header += std::string(3, '\0');         // deflate, adaptive filters, no interlace
    PutChunk(file, "IHDR", header);
    if (FBits != 0) {
        std::string palette;
        for (QRgb c : FPalette) {
            palette += char(qRed(c));
            palette += char(qGreen(c));
            palette += char(qBlue(c));
        }
        PutChunk(file, "PLTE", palette);
    }
    for (size_t at = 0; at < compressed.size(); at += kIdatChunk)
        PutChunk(file, "IDAT", compressed.substr(at, kIdatChunk));
    PutChunk(file, "IEND", {});
    return file;
}

} // namespace zandor
