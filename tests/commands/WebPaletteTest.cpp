#include "GifDecoder.h"

#include "commands/GifWriter.h"
#include "commands/WebPalette.h"
#include "support/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>

using namespace zandor;
using zandor::test::DecodeGif;
using zandor::test::ScratchDir;

namespace {

// How many web colours a picture uses, and the colour table GIF needs for them.
struct PaletteRow {
    int Colors;
    int TableSize;
};

void PrintTo(const PaletteRow& row, std::ostream* os) {
    *os << row.Colors << " colours";
}

class WebPaletteRoundTrip : public ::testing::TestWithParam<PaletteRow> {};

// A channel value chosen at random among those that fall to a level: (value + 3) div 51 = level.
int ValueOfLevel(int level, std::mt19937& rng) {
    const int lo = std::max(0, 51 * level - 3);
    const int hi = std::min(255, 51 * level + 47);
    return lo + int(rng() % unsigned(hi - lo + 1));
}

std::string WriteBytes(const ScratchDir& dir, const std::string& bytes) {
    const std::string path = dir.file("picture.gif");
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace

// Random pictures whose pixels are drawn from a chosen set of web colours, each pixel off its web
// colour by a random amount within its levels: every pixel comes back as its web colour, the table
// holds each used colour once and nothing else, and giflib reads the same table and indexes back.
TEST_P(WebPaletteRoundTrip, EveryPixelKeepsItsWebColourAndTheTableHoldsOnlyUsedColours) {
    const PaletteRow row = GetParam();
    std::mt19937 rng(unsigned(row.Colors) * 7919u);
    std::vector<int> webIndexes(216);
    for (int i = 0; i < 216; ++i)
        webIndexes[size_t(i)] = i;
    std::shuffle(webIndexes.begin(), webIndexes.end(), rng);
    webIndexes.resize(size_t(row.Colors));

    QImage picture(37, 23, QImage::Format_RGB32);
    std::vector<QRgb> expected;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const size_t n = size_t(y * picture.width() + x);
            // The first pixels take every chosen colour once, so each is surely used.
            const int web = n < webIndexes.size() ? webIndexes[n] : webIndexes[rng() % webIndexes.size()];
            const int r = web / 36, g = web / 6 % 6, b = web % 6;
            picture.setPixel(x, y, qRgb(ValueOfLevel(r, rng), ValueOfLevel(g, rng), ValueOfLevel(b, rng)));
            expected.push_back(qRgb(r * 51, g * 51, b * 51));
        }
    const int backgroundWeb = webIndexes[0];
    const QRgb background =
        qRgb(std::max(0, backgroundWeb / 36 * 51 - 2), backgroundWeb / 6 % 6 * 51, backgroundWeb % 6 * 51);

    const TIndexedPicture reduced = ReduceToWebPalette(picture, background);
    ASSERT_EQ(size_t(row.Colors), reduced.Colors.size());
    const std::set<QRgb> distinct(reduced.Colors.begin(), reduced.Colors.end());
    EXPECT_EQ(reduced.Colors.size(), distinct.size());
    std::vector<int> uses(reduced.Colors.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_LT(reduced.Pixels[i], reduced.Colors.size());
        ASSERT_EQ(expected[i], reduced.Colors[reduced.Pixels[i]]) << "pixel " << i;
        ++uses[reduced.Pixels[i]];
    }
    for (size_t i = 0; i < uses.size(); ++i)
        EXPECT_GT(uses[i], 0) << "entry " << i << " is used by no pixel";
    EXPECT_EQ(qRgb(backgroundWeb / 36 * 51, backgroundWeb / 6 % 6 * 51, backgroundWeb % 6 * 51),
              reduced.Colors[size_t(reduced.BackgroundIndex)]);

    ScratchDir dir;
    const auto decoded = DecodeGif(WriteBytes(dir, EncodeGif(reduced)));
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(1, decoded.ImageCount);
    EXPECT_FALSE(decoded.LocalColorTable);
    ASSERT_EQ(size_t(row.TableSize), decoded.Table.size());
    for (size_t i = 0; i < reduced.Colors.size(); ++i)
        EXPECT_EQ(reduced.Colors[i], decoded.Table[i]);
    EXPECT_EQ(reduced.Pixels, decoded.Indexes);
    EXPECT_EQ(reduced.BackgroundIndex, decoded.Background);
}

INSTANTIATE_TEST_SUITE_P(ColourCounts, WebPaletteRoundTrip,
                         ::testing::Values(PaletteRow{1, 2}, PaletteRow{2, 2}, PaletteRow{3, 4},
                                           PaletteRow{5, 8}, PaletteRow{17, 32}, PaletteRow{129, 256},
                                           PaletteRow{216, 256}));

// A background that no pixel shows gets no entry of its own; the logical screen points at entry 0.
// A picture without pixels cannot be a GIF file.
TEST(WebPalette, ABackgroundNoPixelShowsAddsNoEntryAndAnEmptyPictureIsRefused) {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    const TIndexedPicture reduced = ReduceToWebPalette(picture, qRgb(0, 0, 74));
    EXPECT_EQ((std::vector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}), reduced.Colors);
    EXPECT_EQ(0, reduced.BackgroundIndex);
    EXPECT_THROW(EncodeGif(ReduceToWebPalette(QImage(), qRgb(0, 0, 0))), TGifError);
}
