#include "PaintTestSupport.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

using namespace zandor;

namespace {

// The editor as the window shows art: the line height is the font's own, so block rows touch.
QImage Painted(const std::string& text, const platform::FontValue& font, int scale) {
    TArtMemo memo;
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.SetColor(0x004A0000);
    memo.SetFontScale(scale);
    memo.SetFont(font);
    const QFontMetrics metrics(platform::ToQFont(font, scale));
    memo.SetLineHeight(metrics.ascent() + metrics.descent());
    platform::TPenValue noEndMark = memo.EndOfTextMark();
    noEndMark.Style = platform::psClear;
    memo.SetEndOfTextMark(noEndMark);
    memo.setFocusPolicy(Qt::NoFocus);
    TMemoryStream stream(text);
    memo.LoadFromStream(stream);
    memo.resize(900, 400);
    memo.show();
    QApplication::processEvents();
    return memo.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Every cell of the screen fonts, at x2, x3 and x4, is its x1 glyph with each pixel an n x n
// square: full blocks, shades and box lines stay gap-free and sharp (the left margin is not scaled).
TEST(FontScale, ScreenFontsAreTheirCellsEnlargedPixelForPixel) {
    ASSERT_TRUE(test::RegisterTestFonts());
    std::string text;
    for (int b : {0xDB, 0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC9, 0xCD, 0xBB, int('A'), int('g'), 0x01})
        text += char(b);
    text += "\r\n";
    text += text;
    for (const auto& [face, pixels] : {std::pair{platform::TinyScreenFontFace, 8},
                                       {platform::LargeScreenFontFace, 12},
                                       {platform::LargeScreenFontFace, 16}}) {
        platform::FontValue font;
        font.Name = face;
        font.Height = pixels;
        font.Color = platform::clWhite;
        font.Charset = platform::OEM_CHARSET;
        const QImage one = Painted(text, font, 1);
        const int cell = platform::ScreenFontPixels(face, pixels);
        const int width = 13 * 8;
        for (int scale : {2, 3, 4}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(pixels) + " x" + std::to_string(scale));
            const QImage big = Painted(text, font, scale);
            bool same = true;
            for (int y = 0; y < 2 * cell * scale && same; ++y)
                for (int x = 0; x < width * scale && same; ++x) {
                    const QRgb expected = one.pixel(8 + x / scale, y / scale);
                    EXPECT_EQ(expected, big.pixel(8 + x, y)) << x << "," << y;
                    same = expected == big.pixel(8 + x, y);
                }
        }
    }
}

// On a screen of device pixel ratio 2 the editor shows each pixel of its x1 painting as a 2 x 2
// square: whole, sharp pixels, never smoothed. Runs in a process of its own started with a scale
// factor of 2 (below), since a process has one ratio.
TEST(FontScale, DISABLED_AtPixelRatioTwoEachPixelIsASquareOfFour) {
    ASSERT_TRUE(test::RegisterTestFonts());
    ASSERT_EQ(2.0, QGuiApplication::primaryScreen()->devicePixelRatio());
    std::string text;
    for (int b : {0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC9, 0xCD, 0xBB, int('A'), int('g'), int(' '), 0xBA})
        text += char(b);
    text += "\r\n";
    text += text;
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Height = 12;
    font.Color = platform::clWhite;
    font.Charset = platform::OEM_CHARSET;
    TArtMemo memo;
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.SetColor(0x004A0000);
    memo.SetFont(font);
    const QFontMetrics metrics(platform::ToQFont(font));
    memo.SetLineHeight(metrics.ascent() + metrics.descent());
    platform::TPenValue noEndMark = memo.EndOfTextMark(); // as the window shows art
    noEndMark.Style = platform::psClear;
    memo.SetEndOfTextMark(noEndMark);
    memo.setFocusPolicy(Qt::NoFocus);
    TMemoryStream stream(text);
    memo.LoadFromStream(stream);
    memo.resize(300, 80);
    memo.show();
    QApplication::processEvents();
    QWidget& view = *memo.viewport();
    // The x1 painting: the same widget drawn into a picture of ratio 1.
    QImage one(view.size(), QImage::Format_RGB32);
    one.setDevicePixelRatio(1);
    view.render(&one);
    const QImage screen = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(view.size() * 2, screen.size());
    int art = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const QRgb expected = one.pixel(x / 2, y / 2);
            art += expected != one.pixel(0, 0);
            ASSERT_EQ(expected, screen.pixel(x, y)) << x << "," << y;
        }
    EXPECT_GT(art, 1000); // the glyphs were drawn, not only the background
}

TEST(FontScale, TheEditorFollowsTheScreensPixelRatio) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests",
                 "--gtest_filter=FontScale.DISABLED_AtPixelRatioTwoEachPixelIsASquareOfFour"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(0, child.exitCode()) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
