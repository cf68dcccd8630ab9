#include "ConsoleFont.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace zandor::fontgen {

GlyphBitmap::GlyphBitmap(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

void GlyphBitmap::fill(int x0, int y0, int x1, int y1) {
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width_, x1); ++x)
            set(x, y);
}

bool GlyphBitmap::hasInk() const {
    for (auto p : pixels_)
        if (p)
            return true;
    return false;
}

std::pair<int, int> GlyphBitmap::inkRows() const {
    int first = -1, last = -1;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

namespace {

constexpr std::uint8_t kPsf1Magic0 = 0x36, kPsf1Magic1 = 0x04;
constexpr std::uint8_t kPsf1Mode512 = 0x01, kPsf1ModeHasTab = 0x02, kPsf1ModeSeq = 0x04;
constexpr std::uint32_t kPsf2Magic = 0x864AB572;
constexpr std::uint32_t kPsf2HasUnicodeTable = 0x01;

std::uint32_t ReadLe32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

[[noreturn]] void Malformed(const char* what) {
    throw std::runtime_error(std::string("malformed console font: ") + what);
}

void ReadGlyphs(ConsoleFont& font, const std::vector<std::uint8_t>& b, size_t at, size_t count,
                size_t bytesPerGlyph) {
    const size_t bytesPerRow = (static_cast<size_t>(font.width) + 7) / 8;
    if (bytesPerRow * font.height > bytesPerGlyph)
        Malformed("glyph size does not hold its rows");
    if (at + count * bytesPerGlyph > b.size())
        Malformed("glyph data cut short");
    for (size_t g = 0; g < count; ++g) {
        GlyphBitmap bitmap(font.width, font.height);
        const std::uint8_t* data = b.data() + at + g * bytesPerGlyph;
        for (int y = 0; y < font.height; ++y)
            for (int x = 0; x < font.width; ++x)
                bitmap.set(x, y, (data[y * bytesPerRow + x / 8] >> (7 - x % 8)) & 1);
        font.glyphs.push_back(std::move(bitmap));
    }
    font.codePoints.resize(count);
}

void AddCodePoint(ConsoleFont& font, size_t glyph, char32_t cp) {
    font.codePoints[glyph].push_back(cp);
    font.glyphOf.emplace(cp, static_cast<int>(glyph));
}

// PSF1 table: per glyph 16-bit code points, 0xFFFE starts the sequences, 0xFFFF ends the glyph.
void ReadPsf1Table(ConsoleFont& font, const std::vector<std::uint8_t>& b, size_t at) {
    size_t glyph = 0;
    bool inSequences = false;
    for (; glyph < font.glyphs.size(); at += 2) {
        if (at + 2 > b.size())
            Malformed("unicode table cut short");
        const char32_t u = b[at] | (b[at + 1] << 8);
        if (u == 0xFFFF) {
            ++glyph;
            inSequences = false;
        } else if (u == 0xFFFE) {
            inSequences = true;
        } else if (!inSequences) {
            AddCodePoint(font, glyph, u);
        }
    }
}

// PSF2 table: per glyph UTF-8 code points, 0xFE starts the sequences, 0xFF ends the glyph.
void ReadPsf2Table(ConsoleFont& font, const std::vector<std::uint8_t>& b, size_t at) {
    size_t glyph = 0;
    bool inSequences = false;
    while (glyph < font.glyphs.size()) {
        if (at >= b.size())
            Malformed("unicode table cut short");
        const std::uint8_t lead = b[at];
        if (lead == 0xFF) {
            ++glyph;
            inSequences = false;
            ++at;
            continue;
        }
        if (lead == 0xFE) {
            inSequences = true;
            ++at;
            continue;
        }
        int length = lead < 0x80             ? 1
                     : (lead & 0xE0) == 0xC0 ? 2
                     : (lead & 0xF0) == 0xE0 ? 3
                     : (lead & 0xF8) == 0xF0 ? 4
                                             : 0;
        if (length == 0 || at + length > b.size())
            Malformed("bad UTF-8 in unicode table");
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            if ((b[at + i] & 0xC0) != 0x80)
                Malformed("bad UTF-8 in unicode table");
            cp = (cp << 6) | (b[at + i] & 0x3F);
        }
        at += length;
        if (!inSequences)
            AddCodePoint(font, glyph, cp);
    }
}

} // namespace

ConsoleFont ParsePsf(const std::vector<std::uint8_t>& b) {
    ConsoleFont font;
    if (b.size() >= 4 && b[0] == kPsf1Magic0 && b[1] == kPsf1Magic1) {
        const std::uint8_t mode = b[2];
        font.width = 8;
        font.height = b[3];
        if (font.height == 0)
            Malformed("zero height");
        const size_t count = (mode & kPsf1Mode512) ? 512 : 256;
        ReadGlyphs(font, b, 4, count, font.height);
        font.hasUnicodeTable = (mode & (kPsf1ModeHasTab | kPsf1ModeSeq)) != 0;
        if (font.hasUnicodeTable)
            ReadPsf1Table(font, b, 4 + count * font.height);
        return font;
    }
    if (b.size() >= 32 && ReadLe32(b, 0) == kPsf2Magic) {
        const std::uint32_t headerSize = ReadLe32(b, 8), flags = ReadLe32(b, 12), count = ReadLe32(b, 16),
                            bytesPerGlyph = ReadLe32(b, 20);
        font.height = static_cast<int>(ReadLe32(b, 24));
        font.width = static_cast<int>(ReadLe32(b, 28));
        if (font.width <= 0 || font.height <= 0 || font.width > 64 || font.height > 64 || count == 0 ||
            count > 65536 || headerSize < 32)
            Malformed("implausible header");
        ReadGlyphs(font, b, headerSize, count, bytesPerGlyph);
        font.hasUnicodeTable = (flags & kPsf2HasUnicodeTable) != 0;
        if (font.hasUnicodeTable)
            ReadPsf2Table(font, b, headerSize + static_cast<size_t>(count) * bytesPerGlyph);
        return font;
    }
    Malformed("unknown format");
}

std::vector<std::uint8_t> ReadMaybeGzipped(const std::string& path) {
    // gzread passes data that is not compressed through unchanged.
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[16384];
    int got;
    while ((got = gzread(file, chunk, sizeof chunk)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = got < 0;
    gzclose(file);
    if (failed)
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

} // namespace zandor::fontgen
