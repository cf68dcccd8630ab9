#include "export/PngEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
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
    // Room for the file as art compresses (to about a third), so it is rarely moved; only the
    // bytes written are touched. A kilobyte more for the head that goes in front at the end.
    const uint64_t raw = uint64_t(height) * FRow.size();
    FData.reserve(size_t(std::min<uint64_t>(raw / 2, uint64_t(1) << 28)) + kIdatChunk + 1024);
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
        // The compressor writes straight into the open IDAT chunk of the result.
        if (FChunk == std::string::npos) {
            FChunk = FSize;
            Grow(8);
            std::memcpy(FData.data() + FChunk + 4, "IDAT", 4);
        }
        const size_t used = FSize - FChunk - 8;
        const size_t room = kIdatChunk - used;
        Grow(0, room);
        z.next_out = reinterpret_cast<Bytef*>(FData.data() + FSize);
        z.avail_out = uInt(room);
        result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            throw std::runtime_error("The PNG compression failed.");
        FSize += room - z.avail_out;
        if (z.avail_out == 0)
            CloseChunk();
    } while (z.avail_out == 0 || (last && result != Z_STREAM_END));
}

void TPngEncoder::Grow(size_t taken, size_t room) {
    // Capacity was reserved for the expected file, so the bytes stay where they are; growing in
    // steps of a chunk keeps zero-filling to the bytes about to be written.
    if (FData.size() < FSize + taken + room)
        FData.resize(std::max(FSize + taken + room, FData.size() + kIdatChunk));
    FSize += taken;
}

void TPngEncoder::CloseChunk() {
    const size_t length = FSize - FChunk - 8;
    for (int k = 0; k < 4; ++k)
        FData[FChunk + size_t(k)] = char((length >> (24 - 8 * k)) & 0xFF);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(FData.data() + FChunk + 4), uInt(length + 4));
    Grow(4);
    for (int k = 0; k < 4; ++k)
        FData[FSize - 4 + size_t(k)] = char((crc >> (24 - 8 * k)) & 0xFF);
    FChunk = std::string::npos;
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

void TPngEncoder::AddRow(const QRgb* pixels, int64_t repeats) {
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
    for (int64_t k = 0; k < repeats && FRows < FHeight; ++k, ++FRows)
        Deflate(FRow.data(), FRow.size(), false);
}

std::string TPngEncoder::Finish() {
    if (FRows != FHeight)
        throw std::runtime_error("The picture has fewer rows than its size.");
    Deflate(nullptr, 0, true);
    if (FChunk != std::string::npos && FSize == FChunk + 8)
        FSize = FChunk; // nothing came after the last full chunk
    else if (FChunk != std::string::npos)
        CloseChunk();
    FData.resize(FSize);
    std::string head("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBig32(header, uint32_t(FWidth));
    PutBig32(header, uint32_t(FHeight));
    header += char(FBits == 0 ? 8 : FBits); // bits per sample
    header += char(FBits == 0 ? 2 : 3);     // RGB or palette
    header += std::string(3, '\0');         // deflate, adaptive filters, no interlace
    PutChunk(head, "IHDR", header);
    if (FBits != 0) {
        std::string palette;
        for (QRgb c : FPalette) {
            palette += char(qRed(c));
            palette += char(qGreen(c));
            palette += char(qBlue(c));
        }
        PutChunk(head, "PLTE", palette);
    }
    // The palette is known only now: the head goes in front, moving the chunks once in place.
    FData.insert(0, head);
    PutChunk(FData, "IEND", {});
    return std::move(FData);
}

} // namespace zandor
