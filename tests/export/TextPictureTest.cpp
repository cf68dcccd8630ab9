#include "export/TextPicture.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "export/ArtExport.h"
#include "export/ExportLookMemo.h"
#include "platform/Canvas.h"
#include "platform/ScreenFonts.h"
#include "support/TestSupport.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace zandor;

namespace {

// Several bands of random art: blocks, shades, box lines, words, tabs and addresses in the
// highlight colours.
std::string RandomArt(uint32_t seed, int lines) {
    static const char* const kPieces[] = {"\xDB", "\xB0", "\xB1", "\xB2", "\xDC", "\xDF", "\xC4",
                                          "\xBA", "\xC9", " ",    "  ",   "Art",  "\t",   "www.example.org "};
    std::mt19937 rng(seed);
    std::string text;
    for (int line = 0; line < lines; ++line) {
        const int pieces = int(rng() % 40);
        for (int i = 0; i < pieces; ++i)
            text += kPieces[rng() % std::size(kPieces)];
        text += "\r\n";
    }
    return text;
}

// The whole picture in one band, from an editor set up as the export sets up its own.
QImage OneBand(const std::string& text, const TExportLook& look) {
    TURLHighlighter urls;
    TArtMemo memo;
    test::DressInLook(memo, urls, look);
    memo.SetWordWrap(false);
    TMemoryStream stream(text);
    memo.LoadFromStream(stream);
    TTextPicture picture(memo);
    QImage whole(picture.Width(), int(picture.Height()), QImage::Format_RGB32);
    int y = 0;
    picture.PaintAll(
        [&](const QRgb* row) { std::memcpy(whole.scanLine(y++), row, size_t(whole.width()) * sizeof(QRgb)); },
        picture.LineCount());
    return whole;
}

// The export paints band after band into two images by turns while another thread compresses
// the band before; its PNG is the picture painted in one band. In a screen font the file is
// packed to 2 bits; a smoothed font's shades need true colour, so the export starts again after
// bands already went to the compressor.
TEST(TextPicture, BandsPaintedByTurnsAndCompressedAlongsideAreTheWholePicture) {
    ASSERT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
    test::ScratchDir dir;
    for (const auto& [face, height, seed] :
         {std::tuple{platform::LargeScreenFontFace, 14, 1u}, {"DejaVu Sans Mono", 15, 2u}}) {
        SCOPED_TRACE(face);
        TExportJob job;
        job.Look.Font.Name = face;
        job.Look.Font.Height = height;
        job.Look.Font.Color = platform::clWhite;
        job.Look.Font.Charset = platform::OEM_CHARSET;
        const std::string text = RandomArt(seed, 300);
        job.Input = dir.write("art.nfo", QByteArray::fromStdString(text));
        job.Output = dir.file("art.png");
        RunExport(job);
        const QImage png = QImage(QString::fromStdString(job.Output)).convertToFormat(QImage::Format_RGB32);
        const QImage expected = OneBand(text, job.Look);
        ASSERT_EQ(expected.size(), png.size());
        ASSERT_GT(expected.height(), 4 * 64 * 12) << "more than four bands";
        for (int y = 0; y < png.height(); ++y)
            ASSERT_EQ(0,
                      std::memcmp(expected.constScanLine(y), png.constScanLine(y), size_t(png.width()) * 4))
                << "row " << y;
    }
}

} // namespace
