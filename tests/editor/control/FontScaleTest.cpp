#include "PaintTestSupport.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/Canvas.h"
#include "support/AnsiloveReference.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

using namespace zandor;

namespace {

// The editor as the window shows art: the line height is the font's own, so block rows touch.
QImage Painted(const std::string& text, const platform::FontValue& font, int scale,
               platform::TScreenCells cells = {}) {
    TArtMemo memo;
    memo.SetScreenCells(cells);
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.SetColor(0x004A0000);
    memo.SetFontScale(scale);
    memo.SetFont(font);
    const QFontMetrics metrics(platform::ToQFont(font, scale, cells));
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

namespace {

// The first lines of a corpus art file (cut to 80 bytes, none holding a tab), when the corpus is
// here, and every byte but the line breaks and the tab in lines of 32.
std::vector<std::string> ArtAndEveryByte() {
    std::vector<std::string> lines;
    const std::string corpus = test::corpusDir();
    const QByteArray art = corpus.empty() ? QByteArray() : test::readFile(corpus + "/sceners-RNDD.nfo");
    for (const QByteArray& line : art.split('\n')) {
        if (lines.size() == 16)
            break;
        const QByteArray cut = line.endsWith('\r') ? line.left(line.size() - 1) : line;
        if (!cut.contains('\t') && !cut.contains('\0'))
            lines.push_back(cut.left(80).toStdString());
    }
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\t' && b != '\n' && b != '\r')
            all += char(b);
        if (all.size() == 32 || b == 255) {
            lines.push_back(all);
            all.clear();
        }
    }
    return lines;
}

} // namespace

// Text in the 8x16 cell is painted glyph for glyph as libansilove draws the bytes (read from the
// library now, not from the fonts): a corpus art file and every byte. In 9-dot cells each cell is
// that glyph and a ninth column that repeats the eighth for the line-drawing bytes 0xC0-0xDF and is
// blank for the others; with the DOS aspect at x2 each of the 43 rows of a cell is its nearest glyph
// row, every pixel 2 wide.
TEST(FontScale, ArtIsPaintedInTheArchivesGlyphsAndTheVgasCells) {
    ASSERT_TRUE(test::RegisterTestFonts());
    std::string error;
    const std::vector<test::TReferenceGlyph> glyphs =
        test::AnsiloveReference(test::TAnsiloveFont::Cp437, 8, &error);
    ASSERT_EQ(256u, glyphs.size()) << error;
    const std::vector<std::string> all = ArtAndEveryByte();
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Size = 12;
    font.Color = platform::clWhite;
    font.Charset = platform::OEM_CHARSET;
    struct TForm {
        platform::TScreenCells Cells;
        int Scale, Width, Height;
    };
    for (const TForm& form : {TForm{{}, 1, 8, 16}, TForm{{.NineDots = true}, 1, 9, 16},
                              TForm{{.NineDots = true, .DosAspect = true}, 2, 18, 43}}) {
        SCOPED_TRACE(std::to_string(form.Width) + "x" + std::to_string(form.Height));
        // The tall cells take the lines of every byte only, which fit the editor.
        const std::vector<std::string> lines(form.Scale > 1 ? all.end() - 8 : all.begin(), all.end());
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        const QImage shot = Painted(text, font, form.Scale, form.Cells);
        const QRgb background = shot.pixel(0, 0);
        int cells = 0;
        for (size_t line = 0; line < lines.size() && int(line + 1) * form.Height <= shot.height(); ++line)
            for (size_t column = 0; column < lines[line].size(); ++column) {
                const auto byte = static_cast<unsigned char>(lines[line][column]);
                const test::TReferenceGlyph& glyph = glyphs[byte];
                bool same = true;
                for (int y = 0; y < form.Height && same; ++y) {
                    // The nearest glyph row: the one whose middle is nearest the middle of row y.
                    const int row = int((y + 0.5) * 16 / form.Height);
                    for (int x = 0; x < form.Width && same; ++x) {
                        const int dot = x / form.Scale;
                        const bool ink =
                            dot < 8 ? glyph.At(dot, row) : byte >= 0xC0 && byte <= 0xDF && glyph.At(7, row);
                        const QRgb shown =
                            shot.pixel(8 + int(column) * form.Width + x, int(line) * form.Height + y);
                        EXPECT_EQ(ink ? qRgb(255, 255, 255) : background, shown)
                            << "byte " << int(byte) << " at " << x << "," << y << " of line " << line << "\n"
                            << glyph.Picture();
                        same = shown == (ink ? qRgb(255, 255, 255) : background);
                    }
                }
                ++cells;
            }
        EXPECT_GE(cells, 252) << "every byte but the breaks and the tab was looked at";
    }
}
