// An address look with AltFont drawn in the editor's alternate font: on the screen and through the
// render canvas that printing uses, beside the same text marked by the alternate-font format code,
// for alternate fonts with a shorter, a wider and a taller cell than the editor's font.
#include "AddonsTestSupport.h"
#include "editor/control/ArtPainter.h"
#include "editor/control/PaintTestSupport.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace zandor::test {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const char* const kAddress = "http://x.org/pq";

platform::FontValue ScreenFont(const char* face, int pixels) {
    platform::FontValue font;
    font.Name = face;
    font.Height = pixels;
    font.Charset = platform::OEM_CHARSET;
    font.Color = platform::clWhite;
    return font;
}

int Width(const platform::FontValue& font, const char* text) {
    return QFontMetrics(platform::ToQFont(font)).horizontalAdvance(QString::fromLatin1(text));
}

// True when columns [x, x + width) of rows [y0, y1) hold the same pixels in a and (shifted) b.
bool SameColumns(const QImage& a, int ax, const QImage& b, int bx, int width, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int i = 0; i < width; ++i)
            if (a.pixel(ax + i, y) != b.pixel(bx + i, y))
                return false;
    return true;
}

std::unique_ptr<TArtMemo> MakeMemo(const platform::FontValue& alt) {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetBorderStyle(bsNone);
    memo->SetScrollBars(ssNone);
    memo->SetUpdateMode(umImmediate);
    memo->SetFont(ScreenFont(platform::LargeScreenFontFace, 16));
    memo->SetAltFont(alt);
    memo->SetColor(platform::clBlack);
    memo->SetLeftMargin(8);
    memo->SetEndOfTextMark(platform::TPenValue{platform::clRed, 1, platform::psClear});
    memo->setFocusPolicy(Qt::NoFocus);
    memo->resize(480, 100);
    memo->show();
    QCoreApplication::processEvents();
    memo->HandleNeeded();
    return memo;
}

// On the screen, or through the render canvas as the printer draws its lines (on black, as the
// screen shows it).
QImage Paint(TArtMemo& memo, bool rendered) {
    QImage image(memo.viewport()->size(), QImage::Format_RGB32);
    image.fill(kBlack);
    QPainter painter(&image);
    if (!rendered) {
        TArtPainter(memo).Paint(painter, image.rect());
        return image;
    }
    platform::TCanvas canvas(painter);
    memo.SetRenderCanvas(&canvas, memo.TextAreaWidth());
    TArtPainter(memo).PaintRenderInto(canvas, TRenderRecord{0, 3, 0, 0, float(memo.LinePixels())});
    memo.SetRenderCanvas(nullptr, 0);
    return image;
}

struct AltRow {
    const char* name;
    const char* face;
    int pixels;
};

void PrintTo(const AltRow& row, std::ostream* out) {
    *out << row.name;
}

class AltFontAddress : public ::testing::TestWithParam<AltRow> {};

TEST_P(AltFontAddress, IsDrawnInTheAlternateFontOverItsOwnCellsAndNowhereElse) {
    ASSERT_TRUE(RegisterTestFonts()) << ScreenFontsFolder();
    const platform::FontValue font = ScreenFont(platform::LargeScreenFontFace, 16);
    const platform::FontValue alt = ScreenFont(GetParam().face, GetParam().pixels);

    TURLHighlighter urls;
    urls.WebURL().SetStyle(0);
    urls.WebURL().SetForeground(platform::clWhite); // the text's own colour: only the font differs
    auto memo = MakeMemo(alt);
    memo->SetHighlighter(&urls);
    LoadText(*memo, std::string("above\r\nsee ") + kAddress + " ok\r\nbelow");
    const QImage plain = Paint(*memo, false);
    const QImage plainRendered = Paint(*memo, true);
    urls.WebURL().SetAltFont(true); // lays the text out again in the new widths
    const QImage styled = Paint(*memo, false);
    const QImage styledRendered = Paint(*memo, true);

    const int LH = memo->LinePixels();
    const int x0 = memo->LeftMargin() + Width(font, "see ");
    const int plainWidth = Width(font, kAddress);
    const int altWidth = Width(alt, kAddress);
    ASSERT_LT(x0 + std::max(plainWidth, altWidth) + Width(font, " ok"), styled.width());
    ASSERT_GT(InkIn(styled, kBlack, x0, x0 + altWidth, LH, 2 * LH), 0);

    // The alternate font's own rendering of the address, on the editor's baseline.
    QImage own(styled.size(), QImage::Format_RGB32);
    own.fill(kBlack);
    {
        QPainter painter(&own);
        painter.setClipRect(0, LH, own.width(), LH);
        painter.setFont(platform::ToQFont(alt));
        painter.setPen(Qt::white);
        painter.drawText(QPoint(x0, LH + memo->Baseline()), QString::fromLatin1(kAddress));
    }

    for (const auto& [name, before, after] :
         {std::tuple{"screen", &plain, &styled}, std::tuple{"rendered", &plainRendered, &styledRendered}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(SameColumns(*after, 0, *before, 0, x0, LH, 2 * LH)) << "text before the address";
        EXPECT_TRUE(SameColumns(*after, x0, own, x0, altWidth, LH, 2 * LH)) << "the address";
        EXPECT_FALSE(SameColumns(*after, x0, *before, x0, altWidth, LH, 2 * LH));
        const int rest = styled.width() - x0 - std::max(plainWidth, altWidth);
        EXPECT_TRUE(SameColumns(*after, x0 + altWidth, *before, x0 + plainWidth, rest, LH, 2 * LH))
            << "text after the address, moved by the difference of the widths";
        EXPECT_TRUE(SameColumns(*after, 0, *before, 0, styled.width(), 0, LH)) << "the line above";
        EXPECT_TRUE(SameColumns(*after, 0, *before, 0, styled.width(), 2 * LH, styled.height()))
            << "the lines below";
    }

    // The alternate-font format code gives the same picture.
    auto coded = MakeMemo(alt);
    coded->SetStaticFormat(true);
    LoadText(*coded, std::string("above\r\nsee \x04") + kAddress + "\x04 ok\r\nbelow");
    EXPECT_EQ(Paint(*coded, false), styled);
}

INSTANTIATE_TEST_SUITE_P(Cells, AltFontAddress,
                         ::testing::Values(AltRow{"ShorterCell", platform::LargeScreenFontFace, 14},
                                           AltRow{"WiderCell", platform::TinyScreenFontFace, 16},
                                           AltRow{"TallerCell", platform::LargeScreenFontFace, 42}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zandor::test
