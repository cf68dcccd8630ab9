#include "commands/GifWriter.h"

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace zandor {

namespace {

int AppendToString(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), size_t(length));
    return length;
}

std::string Reason(const char* step, int code) {
    const char* text = GifErrorString(code);
    return std::string("GIF ") + step + " failed: " + (text ? text : "unknown error");
}

struct TMapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Closes the encoder when the writing stops half-way; a completed file closes it itself.
struct TGifClose {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

} // namespace

std::string EncodeGif(const TIndexedPicture& picture) {
    const size_t colors = picture.Colors.size();
    if (picture.Width <= 0 || picture.Height <= 0 || colors == 0)
        throw TGifError("The picture is empty.");
    if (picture.Width > 65535 || picture.Height > 65535)
        throw TGifError("The picture is too large for a GIF file.");
    if (colors > 256)
        throw TGifError("A GIF file holds at most 256 colours.");
    if (picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
        throw TGifError("The picture's pixels do not match its size.");

    int tableSize = 2;
    while (size_t(tableSize) < colors)
        tableSize *= 2;
    std::vector<GifColorType> table(size_t(tableSize), GifColorType{0, 0, 0});
    for (size_t i = 0; i < colors; ++i)
        table[i] = GifColorType{GifByteType(qRed(picture.Colors[i])), GifByteType(qGreen(picture.Colors[i])),
                                GifByteType(qBlue(picture.Colors[i]))};
    const std::unique_ptr<ColorMapObject, TMapFree> map(GifMakeMapObject(tableSize, table.data()));
    if (!map)
        throw TGifError("Not enough memory for the GIF colour table.");

    std::string bytes;
    int error = 0;
    std::unique_ptr<GifFileType, TGifClose> gif(EGifOpen(&bytes, AppendToString, &error));
    if (!gif)
        throw TGifError(Reason("start", error));
    const int background = picture.BackgroundIndex >= 0 && size_t(picture.BackgroundIndex) < colors
                               ? picture.BackgroundIndex
                               : 0;
    if (EGifPutScreenDesc(gif.get(), picture.Width, picture.Height, map->BitsPerPixel, background,
                          map.get()) == GIF_ERROR)
        throw TGifError(Reason("screen", gif->Error));
    if (EGifPutImageDesc(gif.get(), 0, 0, picture.Width, picture.Height, false, nullptr) == GIF_ERROR)
        throw TGifError(Reason("image", gif->Error));
    // giflib masks the line it is given in place, so each row goes through a copy.
    std::vector<GifPixelType> line(size_t(picture.Width));
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* row = picture.Pixels.data() + size_t(y) * size_t(picture.Width);
        line.assign(row, row + picture.Width);
        if (EGifPutLine(gif.get(), line.data(), picture.Width) == GIF_ERROR)
            throw TGifError(Reason("compression", gif->Error));
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR)
        throw TGifError(Reason("end", error));
    return bytes;
}

} // namespace zandor
