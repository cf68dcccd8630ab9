#include "export/PngEncoder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace zandor;

namespace {

// Encodes the rows at the smallest depth that holds their colours, stepping up as the exporter
// does when the encoder refuses a colour.
std::string Encode(const std::vector<std::vector<QRgb>>& rows, int width, int scale) {
    for (int bits : {1, 2, 4, 8, 0}) {
        try {
            TPngEncoder png(width * scale, int64_t(rows.size()) * scale, scale, bits);
            for (const auto& row : rows)
                png.AddRow(row.data());
            return png.Finish();
        } catch (const TTooManyColours&) {
        }
    }
    return {};
}

} // namespace

// Random pictures of 2 to 300 colours, widths that leave part of the last packed byte unused and
// scales up to 3: Qt's PNG reader gives back every pixel, each repeated scale times both ways.
TEST(PngEncoder, EveryDepthDecodesToThePixelsItWasGiven) {
    std::mt19937 rng(11);
    for (int colours : {2, 3, 4, 5, 16, 17, 256, 300}) {
        for (int width : {1, 7, 13, 64}) {
            for (int scale : {1, 3}) {
                SCOPED_TRACE(testing::Message()
                             << colours << " colours, width " << width << ", scale " << scale);
                std::vector<QRgb> palette;
                for (int c = 0; c < colours; ++c)
                    palette.push_back(qRgb(int(rng() % 256), int(rng() % 256), c % 256));
                std::vector<std::vector<QRgb>> rows(5, std::vector<QRgb>(size_t(width)));
                for (auto& row : rows)
                    for (QRgb& pixel : row)
                        pixel = palette[rng() % palette.size()];
                const std::string file = Encode(rows, width, scale);
                QImage image;
                ASSERT_TRUE(
                    image.loadFromData(reinterpret_cast<const uchar*>(file.data()), int(file.size()), "PNG"));
                ASSERT_EQ(image.width(), width * scale);
                ASSERT_EQ(image.height(), int(rows.size()) * scale);
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        ASSERT_EQ(image.pixel(x, y) | 0xFF000000u,
                                  rows[size_t(y / scale)][size_t(x / scale)] | 0xFF000000u)
                            << "at " << x << "," << y;
            }
        }
    }
}
