#include "AnsiloveGlyphs.h"

#include <ansilove.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace zandor::fontgen {

namespace {

// The bytes are drawn as a binary (.BIN) screen: pairs of byte and attribute, a grid of 16 rows of
// 16 cells, byte b in row b / 16 and column b % 16. Bright white on black draws the glyphs in two
// colours only.
constexpr int kGridColumns = 16;
constexpr std::uint8_t kWhiteOnBlack = 0x0F;

[[noreturn]] void Refused(const std::string& what) {
    throw std::runtime_error("libansilove " ANSILOVE_VERSION ": " + what);
}

// A picture of 8-bit RGB pixels.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    std::uint32_t at(int x, int y) const {
        const std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
};

Picture DecodePng(const std::uint8_t* data, size_t length) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, length))
        Refused(std::string("its picture is no PNG: ") + image.message);
    image.format = PNG_FORMAT_RGB;
    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        Refused("its picture cannot be read: " + message);
    }
    return picture;
}

// A libansilove context for a screen held in memory. ansilove_init leaves no file mapped, and
// ansilove_clean unmaps any buffer that is not what ansilove_init left there: the context gets that
// back before its clean-up, which frees the picture.
class Context {
public:
    explicit Context(std::vector<std::uint8_t>& screen) {
        if (ansilove_init(&ctx, &options) != 0)
            Refused("cannot start");
        unmapped_ = ctx.buffer;
        ctx.buffer = screen.data();
        ctx.length = screen.size();
    }
    ~Context() {
        ctx.buffer = unmapped_;
        ctx.length = 0;
        ansilove_clean(&ctx);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    ansilove_ctx ctx;
    ansilove_options options;

private:
    std::uint8_t* unmapped_ = nullptr;
};

// The PNG libansilove draws of the 256 bytes, decoded.
Picture Render(AnsiloveSet set) {
    std::vector<std::uint8_t> screen;
    for (int b = 0; b < 256; ++b) {
        screen.push_back(static_cast<std::uint8_t>(b));
        screen.push_back(kWhiteOnBlack);
    }
    Context context(screen);
    context.options.columns = kGridColumns;
    context.options.font = set == AnsiloveSet::Cell8x16 ? ANSILOVE_FONT_CP437 : ANSILOVE_FONT_CP437_80x50;
    context.options.bits = 8;
    if (ansilove_binary(&context.ctx, &context.options) != 0)
        Refused(std::string("cannot draw the bytes: ") + ansilove_error(&context.ctx));
    if (!context.ctx.png.buffer || context.ctx.png.length <= 0)
        Refused("drew no picture");
    return DecodePng(context.ctx.png.buffer, static_cast<size_t>(context.ctx.png.length));
}

// Rows known from libansilove 1.3.1: the glyph's first row with ink and its rows from there to its
// last row with ink, every other row blank. They tell the archives' set apart from the redrawn
// VGA fonts of the Linux console (the zero, "@", "W", "f", "m", "ç", "¢", "Φ", the 8x8 letters).
struct KnownRows {
    int byte;
    int first;
    std::vector<std::uint8_t> rows;
};

// clang-format off
const std::vector<KnownRows> kKnown8x16 = {
    {0x01, 2, {0x7E, 0x81, 0xA5, 0x81, 0x81, 0xBD, 0x99, 0x81, 0x81, 0x7E}},
    {0x30, 2, {0x38, 0x6C, 0xC6, 0xC6, 0xD6, 0xD6, 0xC6, 0xC6, 0x6C, 0x38}},
    {0x40, 3, {0x7C, 0xC6, 0xC6, 0xDE, 0xDE, 0xDE, 0xDC, 0xC0, 0x7C}},
    {0x57, 2, {0xC6, 0xC6, 0xC6, 0xC6, 0xD6, 0xD6, 0xD6, 0xFE, 0xEE, 0x6C}},
    {0x66, 2, {0x1C, 0x36, 0x32, 0x30, 0x78, 0x30, 0x30, 0x30, 0x30, 0x78}},
    {0x6D, 5, {0xEC, 0xFE, 0xD6, 0xD6, 0xD6, 0xD6, 0xC6}},
    {0x87, 5, {0x7C, 0xC6, 0xC0, 0xC0, 0xC0, 0xC6, 0x7C, 0x18, 0x70}},
    {0x9B, 1, {0x18, 0x18, 0x7C, 0xC6, 0xC0, 0xC0, 0xC0, 0xC6, 0x7C, 0x18, 0x18}},
    {0xB1, 0, {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}},
    {0xC9, 5, {0x3F, 0x30, 0x37, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36}},
    {0xE8, 2, {0x7E, 0x18, 0x3C, 0x66, 0x66, 0x66, 0x66, 0x3C, 0x18, 0x7E}},
    {0xFE, 4, {0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E}},
};
const std::vector<KnownRows> kKnown8x8 = {
    {0x01, 0, {0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}},
    {0x05, 0, {0x38, 0x7C, 0x38, 0xFE, 0xFE, 0xD6, 0x10, 0x38}},
    {0x24, 0, {0x18, 0x3E, 0x60, 0x3C, 0x06, 0x7C, 0x18}},
    {0x30, 0, {0x38, 0x6C, 0xC6, 0xD6, 0xC6, 0x6C, 0x38}},
    {0x3F, 0, {0x7C, 0xC6, 0x0C, 0x18, 0x18, 0x00, 0x18}},
    {0x41, 0, {0x38, 0x6C, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6}},
    {0x53, 0, {0x3C, 0x66, 0x30, 0x18, 0x0C, 0x66, 0x3C}},
    {0x6D, 2, {0xEC, 0xFE, 0xD6, 0xD6, 0xD6}},
    {0x87, 2, {0x7E, 0xC0, 0xC0, 0x7E, 0x0C, 0x38}},
    {0xB2, 0, {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}},
    {0xC9, 2, {0x3F, 0x30, 0x37, 0x36, 0x36, 0x36}},
    {0xF6, 1, {0x18, 0x00, 0x7E, 0x00, 0x18}},
};
// clang-format on

int CellHeight(AnsiloveSet set) {
    return set == AnsiloveSet::Cell8x16 ? 16 : 8;
}

} // namespace

Cp437Glyphs AnsiloveGlyphs(AnsiloveSet set) {
    const Picture picture = Render(set);
    const int height = CellHeight(set), rowsOfCells = 256 / kGridColumns;
    if (picture.width != 8 * kGridColumns || picture.height != height * rowsOfCells) {
        char message[120];
        std::snprintf(message, sizeof message, "drew %dx%d pixels for %d rows of %d cells of 8x%d",
                      picture.width, picture.height, rowsOfCells, kGridColumns, height);
        Refused(message);
    }
    Cp437Glyphs glyphs;
    for (int b = 0; b < 256; ++b) {
        GlyphBitmap glyph(8, height);
        const int left = 8 * (b % kGridColumns), top = height * (b / kGridColumns);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 8; ++x) {
                const std::uint32_t colour = picture.at(left + x, top + y);
                if (colour != 0xFFFFFF && colour != 0x000000) {
                    char message[80];
                    std::snprintf(message, sizeof message, "drew byte 0x%02X in colour #%06X", b,
                                  static_cast<unsigned>(colour));
                    Refused(message);
                }
                glyph.set(x, y, colour == 0xFFFFFF);
            }
        glyphs[b] = std::move(glyph);
    }
    return glyphs;
}

void CheckKnownAnsiloveRows(AnsiloveSet set, const Cp437Glyphs& glyphs) {
    const int height = CellHeight(set);
    for (const KnownRows& known : set == AnsiloveSet::Cell8x16 ? kKnown8x16 : kKnown8x8) {
        const GlyphBitmap& glyph = glyphs[known.byte];
        bool same = glyph.width() == 8 && glyph.height() == height;
        for (int y = 0; same && y < height; ++y) {
            const int i = y - known.first;
            const std::uint8_t expected = i >= 0 && i < int(known.rows.size()) ? known.rows[i] : 0;
            for (int x = 0; x < 8; ++x)
                same = same && glyph.at(x, y) == (((expected >> (7 - x)) & 1) != 0);
        }
        if (!same) {
            char message[120];
            std::snprintf(message, sizeof message,
                          "the 8x%d glyph of byte 0x%02X is not the one libansilove 1.3.1 draws", height,
                          known.byte);
            throw std::runtime_error(message);
        }
    }
}

} // namespace zandor::fontgen
