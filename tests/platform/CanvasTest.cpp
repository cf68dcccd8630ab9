// The canvas draws bytes through the character set of its font, measures them exactly as the
// engine's measurer does, stretches blanks for justified lines and paints the editor's fills,
// inversions, tiles and dashed lines pixel for pixel.
#include "platform/Canvas.h"

#include "platform/CodePages.h"
#include "platform/QtTextMeasurer.h"
#include "platform/ScreenFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zandor::platform {
namespace {

std::string FontsFolder() {
    if (const char* build = std::getenv("ZANDOR_BINARY_DIR"))
        return std::string(build) + "/fonts";
    return QDir(QCoreApplication::applicationDirPath() + "/../fonts").absolutePath().toStdString();
}

QFont Large(int pixels = 16) {
    QFont font(LargeScreenFontFace);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Pixels brighter than half grey, and the rectangle that holds them.
int Ink(const QImage& image, QRect* bounds = nullptr) {
    int count = 0;
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 128) {
                ++count;
                box |= QRect(x, y, 1, 1);
            }
    if (bounds)
        *bounds = box;
    return count;
}

// The bytes through a canvas, white on black, baseline at the font's ascent.
QImage DrawBytes(const TCanvasFont& font, const std::string& bytes, int width = 160) {
    QImage image = Blank(width, font.Metrics().height());
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.SetFont(font);
    canvas.SetTextColor(Qt::white);
    canvas.MoveTo(0, font.Metrics().ascent());
    canvas.TextOut(bytes.data(), int(bytes.size()));
    return image;
}

// The same place drawn by Qt directly from the characters.
QImage DrawChars(const TCanvasFont& font, const QString& text, int width = 160) {
    QImage image = Blank(width, font.Metrics().height());
    QPainter painter(&image);
    painter.setFont(font.Font());
    painter.setPen(Qt::white);
    painter.drawText(QPoint(0, font.Metrics().ascent()), text);
    return image;
}

class CanvasFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registered_ = RegisterScreenFonts(FontsFolder()); }
    void SetUp() override { ASSERT_TRUE(registered_) << "no screen fonts in " << FontsFolder(); }
    static bool registered_;
};
bool CanvasFonts::registered_ = false;

struct CharsetRow {
    const char* name;
    int charset;
    unsigned char byte;
    char16_t shown;
};

void PrintTo(const CharsetRow& row, std::ostream* out) {
    *out << row.name;
}

class CanvasCharsets : public CanvasFonts, public ::testing::WithParamInterface<CharsetRow> {};

TEST_P(CanvasCharsets, ABytePaintsAndMeasuresAsTheCharacterOfItsFontsSet) {
    const auto& row = GetParam();
    for (const QFont& qfont : {Large(), QFont("DejaVu Sans", 14)}) {
        const TCanvasFont font(qfont, row.charset);
        const std::string bytes(3, char(row.byte));
        const QString chars(3, QChar(row.shown));
        EXPECT_EQ(font.Extent(bytes.data(), 3), font.Metrics().horizontalAdvance(chars))
            << qfont.family().toStdString();
        EXPECT_EQ(DrawBytes(font, bytes), DrawChars(font, chars)) << qfont.family().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CanvasCharsets,
                         ::testing::Values(CharsetRow{"OemFullBlock", OemCharset, 0xDB, 0x2588},
                                           CharsetRow{"OemLightShade", OemCharset, 0xB0, 0x2591},
                                           CharsetRow{"OemDoubleCorner", OemCharset, 0xC9, 0x2554},
                                           CharsetRow{"AnsiEuro", ANSI_CHARSET, 0x80, 0x20AC},
                                           CharsetRow{"AnsiDegree", ANSI_CHARSET, 0xB0, 0x00B0},
                                           CharsetRow{"DefaultIsAnsi", DEFAULT_CHARSET, 0x80, 0x20AC}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasFonts, FullBlocksThroughCodePage437FillTheirCellsAndShadesAQuarter) {
    const TCanvasFont oem(Large(), OemCharset);
    QRect bounds;
    EXPECT_EQ(Ink(DrawBytes(oem, "\xDB\xDB\xDB"), &bounds), 3 * 8 * 16);
    EXPECT_EQ(bounds, QRect(0, 0, 24, 16));
    const int shade = Ink(DrawBytes(oem, "\xB0\xB0"));
    EXPECT_GT(shade, 2 * 8 * 16 / 8);
    EXPECT_LT(shade, 2 * 8 * 16 / 2);
    // The same bytes in the ANSI set are letters, not blocks.
    const TCanvasFont ansi(Large(), ANSI_CHARSET);
    EXPECT_LT(Ink(DrawBytes(ansi, "\xDB\xDB\xDB")), 3 * 8 * 16 / 2);
}

TEST_F(CanvasFonts, ExtentsAndPenMovesEqualTheMeasurersForEveryStyle) {
    const QFont proportional("DejaVu Sans", 15);
    QtTextMeasurer measurer(proportional, ANSI_CHARSET, Large(), OemCharset);
    const std::string samples[] = {"AVAWAY Tokyo", "fi ff \x80\x93\x94", "\xDB\xB0\xC9\xCD", "x"};
    QImage image = Blank(600, 40);
    QPainter painter(&image);
    TCanvas canvas(painter);
    for (uint8_t style : {0x00, 0x01, 0x02, 0x03, 0x20, 0x21}) {
        const TCanvasFont& face = measurer.FaceFor(style);
        canvas.SetFont(face);
        for (const std::string& s : samples) {
            const int n = int(s.size());
            const int expected = measurer.TextExtent(style, s.data(), n);
            EXPECT_EQ(canvas.TextExtent(s.data(), n), expected) << int(style) << " " << s;
            canvas.MoveTo(5, 30);
            EXPECT_EQ(canvas.TextOut(s.data(), n), expected);
            EXPECT_EQ(canvas.PenX(), 5 + expected);
            canvas.MoveTo(-100, 30);
            EXPECT_EQ(canvas.SkipText(s.data(), n), expected);
        }
    }
    // A separate face for the same font measures the same as the measurer's own.
    const TCanvasFont own(proportional, ANSI_CHARSET);
    EXPECT_EQ(own.Extent("AVAWAY", 6), measurer.TextExtent(0, "AVAWAY", 6));
}

TEST_F(CanvasFonts, FixedPitchFacesMeasureLongTextsAsQtDoes) {
    // Whole-pixel cells multiply; a monospaced face with fractional advances must not.
    const std::string text(97, 'm');
    for (const QFont& qfont :
         {Large(16), Large(28), QFont("DejaVu Sans Mono", 12), QFont("DejaVu Sans Mono", 13)}) {
        const TCanvasFont font(qfont, ANSI_CHARSET);
        for (int n : {1, 2, 10, 97})
            EXPECT_EQ(font.Extent(text.data(), n),
                      font.Metrics().horizontalAdvance(QString(n, QLatin1Char('m'))))
                << qfont.family().toStdString() << " " << qfont.pointSize() << " n=" << n;
    }
}

// Left edges of the ink columns groups: where each drawn glyph starts.
std::vector<int> GlyphStarts(const QImage& image) {
    std::vector<int> starts;
    bool previous = false;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y)
            ink = qGray(image.pixel(x, y)) > 128;
        if (ink && !previous)
            starts.push_back(x);
        previous = ink;
    }
    return starts;
}

TEST_F(CanvasFonts, JustificationSpreadsTheSlackOverBlanksFromTheMiddleAcrossOutputs) {
    const TCanvasFont font(Large(), OemCharset);
    QImage image = Blank(200, 16);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.SetFont(font);
    canvas.SetTextColor(Qt::white);
    canvas.MoveTo(0, font.Metrics().ascent());
    // 10 pixels over 4 blanks: 2 each, the 2 left over go to the second and the fourth.
    canvas.SetTextJustification(10, 4);
    const std::string first = "\xDB \xDB \xDB";
    const std::string second = " \xDB \xDB";
    int width = canvas.TextOut(first.data(), int(first.size()));
    width += canvas.TextOut(second.data(), int(second.size()));
    EXPECT_EQ(width, 9 * 8 + 10);
    EXPECT_EQ(GlyphStarts(image), (std::vector<int>{0, 16 + 2, 32 + 5, 48 + 7, 64 + 10}));
    // Switched off, blanks are plain again.
    canvas.SetTextJustification(0, 0);
    canvas.MoveTo(0, 0);
    EXPECT_EQ(canvas.SkipText(first.data(), int(first.size())), 5 * 8);
}

TEST_F(CanvasFonts, AnOpaqueBackgroundFillsTheTextCellsAndAMarkAdvancesByItsGivenWidth) {
    const TCanvasFont font(Large(), OemCharset);
    QImage image = Blank(100, 20);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.SetFont(font);
    canvas.SetTextColor(Qt::black);
    canvas.SetBackColor(Qt::red);
    canvas.MoveTo(10, 2 + font.Metrics().ascent());
    canvas.TextOut("  ", 2);
    canvas.CharOut(char(0xFA), 12);
    EXPECT_EQ(canvas.PenX(), 10 + 16 + 12);
    painter.end();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool cell = x >= 10 && x < 38 && y >= 2 && y < 18;
            if (cell && (x < 26 || x >= 34)) {
                EXPECT_EQ(image.pixel(x, y), QColor(Qt::red).rgb()) << x << "," << y;
            } else if (!cell) {
                EXPECT_EQ(image.pixel(x, y), QColor(Qt::black).rgb()) << x << "," << y;
            }
        }
}

TEST(CanvasAreas, InversionComplementsEveryPixelAndTwiceRestoresIt) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(0x00, 0x00, 0x4A));
    image.setPixel(5, 5, qRgb(10, 200, 30));
    const QImage original = image;
    {
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.InvertRect(QRect(2, 2, 10, 6));
    }
    EXPECT_EQ(image.pixel(5, 5), qRgb(245, 55, 225));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 0xB5));
    EXPECT_EQ(image.pixel(11, 7), qRgb(255, 255, 0xB5));
    EXPECT_EQ(image.pixel(12, 7), original.pixel(12, 7));
    EXPECT_EQ(image.pixel(1, 2), original.pixel(1, 2));
    {
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.InvertRect(QRect(2, 2, 10, 6));
    }
    EXPECT_EQ(image, original);
}

TEST(CanvasAreas, TilesStartAtTheSourceOffsetAndRepeatFromTheOrigin) {
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, qRgb(x * 50, y * 100, 7));
    for (QPoint source : {QPoint(0, 0), QPoint(1, 1), QPoint(5, -1), QPoint(-4, 3)}) {
        QImage image(20, 9, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TCanvas canvas(painter);
            canvas.TileImage(QRect(2, 1, 13, 7), picture, source);
        }
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 20; ++x) {
                QRgb expected = qRgb(255, 255, 255);
                if (x >= 2 && x < 15 && y >= 1 && y < 8) {
                    const int px = (((x - 2 + source.x()) % 3) + 3) % 3;
                    const int py = (((y - 1 + source.y()) % 2) + 2) % 2;
                    expected = picture.pixel(px, py);
                }
                ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y << " source " << source.x();
            }
    }
}

struct DashRow {
    TPenStyle style;
    int period;
    int inkPerPeriod;
};

class CanvasDashes : public ::testing::TestWithParam<DashRow> {};

TEST_P(CanvasDashes, ADashedLineRepeatsWithItsPeriodFromItsStart) {
    const auto& row = GetParam();
    EXPECT_EQ(DashPeriod(row.style), row.period);
    QImage image(5, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.Line(QPoint(2, 4), QPoint(2, 99), TPenValue{clWhite, 1, row.style});
    }
    std::vector<bool> ink;
    for (int y = 4; y < 100; ++y)
        ink.push_back(image.pixel(2, y) == qRgb(255, 255, 255));
    EXPECT_TRUE(ink[0]) << "the pattern starts with ink at the line's start";
    for (size_t i = 0; i + size_t(row.period) < ink.size() - 1; ++i)
        ASSERT_EQ(ink[i], ink[i + size_t(row.period)]) << "offset " << i;
    EXPECT_EQ(std::count(ink.begin(), ink.begin() + row.period, true), row.inkPerPeriod);
    for (int y = 0; y < 100; ++y)
        for (int x : {0, 1, 3, 4})
            ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 0));
}

TEST_P(CanvasDashes, APatternThatStartsOutsideTheImageKeepsItsPhase) {
    const auto& row = GetParam();
    QImage whole(3, 120, QImage::Format_RGB32);
    QImage clipped(3, 100, QImage::Format_RGB32);
    whole.fill(Qt::black);
    clipped.fill(Qt::black);
    {
        QPainter painter(&whole);
        TCanvas(painter).Line(QPoint(1, 0), QPoint(1, 120), TPenValue{clWhite, 1, row.style});
    }
    {
        QPainter painter(&clipped);
        TCanvas(painter).Line(QPoint(1, -20), QPoint(1, 100), TPenValue{clWhite, 1, row.style});
    }
    for (int y = 0; y < 100; ++y)
        ASSERT_EQ(clipped.pixel(1, y), whole.pixel(1, y + 20)) << y;
    // The end point itself stays empty, as where a moving pen stops.
    EXPECT_EQ(whole.pixel(1, 119) == qRgb(255, 255, 255), row.style == psSolid);
}

INSTANTIATE_TEST_SUITE_P(Styles, CanvasDashes,
                         ::testing::Values(DashRow{psSolid, 1, 1}, DashRow{psDash, 24, 18},
                                           DashRow{psDot, 6, 3}, DashRow{psDashDot, 24, 12},
                                           DashRow{psDashDotDot, 24, 15}));

TEST(CanvasLines, ClearPensAndUnsetColoursDrawNothing) {
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QImage original = image;
    {
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.Line(QPoint(0, 5), QPoint(29, 5), TPenValue{clWhite, 1, psClear});
        canvas.Line(QPoint(0, 6), QPoint(29, 6), TPenValue{kNoColor, 1, psSolid});
        canvas.Line(QPoint(0, 7), QPoint(29, 7), TPenValue{clNone, 3, psSolid});
    }
    EXPECT_EQ(image, original);
}

} // namespace
} // namespace zandor::platform
