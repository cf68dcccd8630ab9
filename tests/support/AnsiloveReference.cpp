#include "support/AnsiloveReference.h"

#include <ansilove.h>
#include <png.h>

#include <cstring>

namespace zandor::test {

std::string TReferenceGlyph::Picture() const {
    std::string text;
    for (int y = 0; y < Height; ++y) {
        text += '\n';
        for (int x = 0; x < Width; ++x)
            text += At(x, y) ? '#' : '.';
    }
    return text;
}

namespace {

// A grey picture decoded from PNG bytes; empty when they are no PNG.
struct TGrey {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

TGrey DecodeGrey(const std::uint8_t* data, size_t size, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    TGrey grey;
    if (png_image_begin_read_from_memory(&image, data, size)) {
        image.format = PNG_FORMAT_GRAY;
        grey.Pixels.resize(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, grey.Pixels.data(), 0, nullptr)) {
            grey.Width = int(image.width);
            grey.Height = int(image.height);
            return grey;
        }
    }
    *error = std::string("libpng: ") + image.message;
    png_image_free(&image);
    return {};
}

} // namespace

std::vector<TReferenceGlyph> AnsiloveReference(TAnsiloveFont font, int bits, std::string* error) {
    // One line of 256 cells: byte b is cell b, bright white (attribute 0x0F) on black.
    std::vector<std::uint8_t> screen(512);
    for (int b = 0; b < 256; ++b) {
        screen[2 * size_t(b)] = std::uint8_t(b);
        screen[2 * size_t(b) + 1] = 0x0F;
    }
    ansilove_ctx ctx;
    ansilove_options options;
    ansilove_init(&ctx, &options);
    // ansilove_clean unmaps the buffer unless it is what ansilove_init put there.
    std::uint8_t* const initial = ctx.buffer;
    ctx.buffer = screen.data();
    ctx.length = screen.size();
    options.columns = 256;
    options.font = font == TAnsiloveFont::Cp437 ? ANSILOVE_FONT_CP437 : ANSILOVE_FONT_CP437_80x50;
    options.bits = std::uint8_t(bits);
    TGrey grey;
    if (ansilove_binary(&ctx, &options) != 0)
        *error = std::string("libansilove: ") + ansilove_error(&ctx);
    else
        grey = DecodeGrey(ctx.png.buffer, size_t(ctx.png.length), error);
    ctx.buffer = initial;
    ctx.length = 0;
    ansilove_clean(&ctx);
    if (grey.Width == 0)
        return {};

    const int width = bits, height = font == TAnsiloveFont::Cp437 ? 16 : 8;
    if (grey.Width != 256 * width || grey.Height != height) {
        *error = "libansilove drew " + std::to_string(grey.Width) + "x" + std::to_string(grey.Height) +
                 " pixels for 256 cells of " + std::to_string(width) + "x" + std::to_string(height);
        return {};
    }
    std::vector<TReferenceGlyph> glyphs(256);
    for (int b = 0; b < 256; ++b) {
        TReferenceGlyph& glyph = glyphs[size_t(b)];
        glyph.Width = width;
        glyph.Height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t level =
                    grey.Pixels[size_t(y) * size_t(grey.Width) + size_t(b * width + x)];
                if (level != 0 && level != 255) {
                    *error =
                        "libansilove drew byte " + std::to_string(b) + " in grey " + std::to_string(level);
                    return {};
                }
                glyph.Ink.push_back(level == 255);
            }
    }
    return glyphs;
}

} // namespace zandor::test
