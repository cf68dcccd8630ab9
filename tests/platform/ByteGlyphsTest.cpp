#include "platform/ByteGlyphs.h"
#include "platform/Canvas.h"
#include "platform/FontValue.h"
#include "platform/ScreenFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace zandor::platform {
namespace {

std::string FontsFolder() {
    if (const char* build = std::getenv("ZANDOR_BINARY_DIR"))
        return std::string(build) + "/fonts";
    return QDir(QCoreApplication::applicationDirPath() + "/../fonts").absolutePath().toStdString();
}

struct TPiece {
    std::string Bytes;
    int X;
    QColor Text;
    QColor Back; // invalid: none
    int Slack;   // justification over the blanks, 0 for none
};

// Pieces of random bytes (blocks, shades and letters more often than not) in random colours,
// some with an opaque background or justified, on a clip a little narrower than the picture.
QImage Paint(const TCanvasFont& font, const std::vector<TPiece>& pieces, bool byGlyphs) {
    const int height = font.Metrics().height();
    QImage image(420, height * int(pieces.size()), QImage::Format_RGB32);
    image.fill(QColor(0x4A, 0, 0));
    QPainter painter(&image);
    painter.setClipRect(QRect(3, 0, 400, image.height()));
    TCanvas canvas(painter);
    canvas.SetDrawByGlyphs(byGlyphs);
    canvas.SetFont(font);
    int y = font.Metrics().ascent();
    for (const TPiece& piece : pieces) {
        canvas.SetTextColor(piece.Text);
        canvas.SetBackColor(piece.Back);
        canvas.MoveTo(piece.X, y);
        int blanks = 0;
        for (char c : piece.Bytes)
            blanks += c == ' ';
        canvas.SetTextJustification(piece.Slack, blanks);
        canvas.TextOut(piece.Bytes.data(), int(piece.Bytes.size()));
        y += height;
    }
    return image;
}

// Drawing glyph by glyph, where a face allows it, gives the pixels of laid-out text: over random
// bytes, the screen fonts at their cells and enlarged, every style, both character sets, and faces
// that must take the layout (a vector face with shaping tables, underlined text).
TEST(ByteGlyphs, DrawingGlyphByGlyphEqualsLaidOutText) {
    ASSERT_TRUE(RegisterScreenFonts(FontsFolder()));
    std::mt19937 rng(437);
    static const unsigned char kArt[] = {0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC4,
                                         0xBA, 0xC9, ' ',  'a',  'W',  'g'};
    int byGlyphs = 0; // rounds that went glyph by glyph
    for (int round = 0; round < 48; ++round) {
        const bool screen = round % 8 != 7;
        QFont qfont(screen ? (round % 2 ? LargeScreenFontFace : TinyScreenFontFace) : "DejaVu Sans Mono");
        const int cell = screen ? ScreenFontPixels(qfont.family().toStdString(), 8 + int(rng() % 12)) : 15;
        qfont.setPixelSize(cell * (screen ? 1 + int(rng() % 3) : 1));
        qfont.setBold(rng() % 4 == 0);
        qfont.setItalic(rng() % 5 == 0);
        qfont.setUnderline(rng() % 8 == 0);
        const int charset = rng() % 2 ? OEM_CHARSET : ANSI_CHARSET;
        const TCanvasFont font(qfont, charset);
        // The screen fonts' code page 437 cells are all one width: those go glyph by glyph.
        if (screen && charset == OEM_CHARSET && !qfont.underline()) {
            EXPECT_NE(nullptr, font.Glyphs()) << qfont.toString().toStdString();
            ++byGlyphs;
        }
        std::vector<TPiece> pieces(6);
        for (TPiece& piece : pieces) {
            const int length = 1 + int(rng() % 40);
            for (int i = 0; i < length; ++i)
                piece.Bytes += char(rng() % 3 ? kArt[rng() % sizeof kArt] : rng() % 256);
            piece.X = int(rng() % 60) - 10;
            piece.Text = QColor::fromRgb(rng() & 0xFFFFFF);
            piece.Back = rng() % 3 == 0 ? QColor::fromRgb(rng() & 0xFFFFFF) : QColor();
            piece.Slack = rng() % 4 == 0 ? int(rng() % 30) : 0;
        }
        SCOPED_TRACE(qfont.toString().toStdString() + " charset " + std::to_string(charset));
        const QImage laidOut = Paint(font, pieces, false);
        const QImage glyphs = Paint(font, pieces, true);
        for (int y = 0; y < laidOut.height(); ++y)
            for (int x = 0; x < laidOut.width(); ++x)
                ASSERT_EQ(laidOut.pixel(x, y), glyphs.pixel(x, y)) << x << "," << y;
    }
    EXPECT_GT(byGlyphs, 12);
}

} // namespace
} // namespace zandor::platform
