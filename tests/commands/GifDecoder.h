// Reading a written GIF file back with giflib, as any viewer would, for the picture tests.
#pragma once

#include <QRgb>

#include <gif_lib.h>

#include <string>
#include <vector>

namespace zandor::test {

struct DecodedGif {
    bool Ok = false;
    std::string Error;
    int Width = 0;
    int Height = 0;
    int ImageCount = 0;
    bool LocalColorTable = false;
    int Background = -1;
    std::vector<QRgb> Table;      // the global colour table, padding included
    std::vector<uint8_t> Indexes; // row by row
    QRgb Pixel(int x, int y) const { return Table.at(Indexes.at(size_t(y) * size_t(Width) + size_t(x))); }
};

inline std::string GifError(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "giflib error " + std::to_string(code);
}

inline DecodedGif DecodeGif(const std::string& path) {
    DecodedGif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) {
        out.Error = GifError(error);
        return out;
    }
    if (DGifSlurp(gif) == GIF_ERROR) {
        out.Error = GifError(gif->Error);
        DGifCloseFile(gif, &error);
        return out;
    }
    out.Width = gif->SWidth;
    out.Height = gif->SHeight;
    out.ImageCount = gif->ImageCount;
    out.Background = gif->SBackGroundColor;
    if (gif->SColorMap)
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            out.Table.push_back(qRgb(c.Red, c.Green, c.Blue));
        }
    if (gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        out.LocalColorTable = image.ImageDesc.ColorMap != nullptr;
        const size_t count = size_t(image.ImageDesc.Width) * size_t(image.ImageDesc.Height);
        out.Indexes.assign(image.RasterBits, image.RasterBits + count);
        out.Ok = image.ImageDesc.Width == out.Width && image.ImageDesc.Height == out.Height;
    }
    DGifCloseFile(gif, &error);
    return out;
}

} // namespace zandor::test
