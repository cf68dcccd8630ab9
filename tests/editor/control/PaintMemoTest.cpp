// The whole control painted into an image: art blocks that tile without seams, the selection on
// screen, nothing drawn inside an update bracket, the same text pixels in a foreign canvas, the
// end-of-text mark, the guide line's dashes and the background picture fixed to the document.
#include "PaintTestSupport.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/NotificationSink.h"

#include <QCoreApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace zandor::test {
namespace {

using platform::TPenValue;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

class MemoPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterTestFonts()) << ScreenFontsFolder();
        memo = std::make_unique<TArtMemo>();
        memo->SetBorderStyle(bsNone);
        memo->SetScrollBars(ssNone);
        memo->SetUpdateMode(umImmediate);
        platform::FontValue font;
        font.Name = platform::LargeScreenFontFace;
        font.Height = 16;
        font.Charset = platform::OEM_CHARSET;
        font.Color = platform::clWhite;
        memo->SetFont(font);
        memo->SetColor(platform::clBlack);
        // As in the main window: no end-of-text line unless a test asks for one.
        memo->SetEndOfTextMark(TPenValue{platform::clRed, 1, platform::psClear});
        // No focus, so no caret in the pictures.
        memo->setFocusPolicy(Qt::NoFocus);
        memo->resize(320, 120);
        memo->show();
        QCoreApplication::processEvents();
        memo->clearFocus();
        memo->HandleNeeded();
    }

    void Load(std::string_view text) {
        TMemoryStream stream(text);
        memo->LoadFromStream(stream);
    }

    // The text area as the painter draws it for the given rectangle (default: all of it).
    QImage Paint(QRect dirty = {}) {
        const QSize size = memo->viewport()->size();
        if (dirty.isNull())
            dirty = QRect(QPoint(0, 0), size);
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        QPainter painter(&image);
        TArtPainter(*memo).Paint(painter, dirty);
        return image;
    }

    std::unique_ptr<TArtMemo> memo;
};

TEST_F(MemoPaint, FullBlocksInLinesAsHighAsTheFontFormOneSolidRectangle) {
    Load("\xDB\xDB\xDB\r\n\xDB\xDB\xDB\r\n\xDB\xDB\xDB");
    memo->SetLineHeight(16);
    ASSERT_EQ(memo->LinePixels(), 16);
    const QImage image = Paint();
    const QRect bounds = InkBounds(image, kBlack);
    EXPECT_EQ(bounds, QRect(memo->LeftMargin(), 0, 24, 48));
    EXPECT_EQ(InkIn(image, kBlack, 0, image.width()), 24 * 48) << "a gap between rows or columns";
    for (int y = 0; y < 48; ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            ASSERT_EQ(image.pixel(x, y), kWhite) << x << "," << y;

    // With the automatic height a line is one pixel taller than the font: rows of blocks part.
    memo->SetLineHeight(0);
    ASSERT_EQ(memo->LinePixels(), 17);
    EXPECT_EQ(InkIn(Paint(), kBlack, 0, 320), 24 * 48);
    EXPECT_EQ(InkBounds(Paint(), kBlack).height(), 3 * 17 - 1);
}

TEST_F(MemoPaint, TheSelectionIsInvertedOrDrawnInWindowsColours) {
    Load("\xDB\xDB\xDB\xDB");
    memo->SetHideSelection(false);
    const QImage plain = Paint();
    memo->SetSelStart(1);
    memo->SetSelLength(2);
    const QImage inverted = Paint();
    const int LM = memo->LeftMargin();
    const int LH = memo->LinePixels();
    for (int y = 0; y < LH; ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const bool inside = x >= LM + 8 && x < LM + 24;
            ASSERT_EQ(inverted.pixel(x, y), inside ? plain.pixel(x, y) ^ 0x00FFFFFF : plain.pixel(x, y))
                << x << "," << y;
        }

    memo->SetOptions(memo->Options().With(amoWindowsSelColors));
    memo->SetSelBackColor(platform::clNavy);
    memo->SetSelTextColor(platform::clYellow);
    const QImage coloured = Paint();
    EXPECT_EQ(coloured.pixel(LM + 8, 0), qRgb(255, 255, 0));
    EXPECT_EQ(coloured.pixel(LM + 8, LH - 1), qRgb(0, 0, 0x80));
    EXPECT_EQ(coloured.pixel(LM + 24, 0), kWhite);

    // Hidden while the control has no focus.
    memo->SetHideSelection(true);
    ASSERT_FALSE(memo->hasFocus());
    EXPECT_EQ(Paint(), plain);
}

TEST_F(MemoPaint, NothingIsDrawnInsideAnUpdateBracket) {
    Load("\xDB\xDB");
    QImage untouched(memo->viewport()->size(), QImage::Format_RGB32);
    untouched.fill(qRgb(255, 0, 255));
    memo->BeginUpdate();
    EXPECT_EQ(Paint(), untouched);
    // The widget's own paint event obeys the bracket as well.
    QImage rendered = untouched;
    memo->viewport()->render(&rendered);
    EXPECT_EQ(rendered, untouched);
    memo->EndUpdate();
    EXPECT_NE(Paint(), untouched);
    // Outside the bracket the widget paints through the painter.
    memo->viewport()->render(&rendered);
    EXPECT_EQ(rendered, Paint());
}

TEST_F(MemoPaint, AForeignCanvasGetsTheSameTextPixelsAsTheScreen) {
    Load("\xC9\xCD\xCD\xBB  Art\r\n\xBA\xB0\xB1\xBA\r\n\xC8\xCD\xCD\xBC x\ty");
    const QImage screen = Paint();
    const int LH = memo->LinePixels();

    QImage foreign(screen.size(), QImage::Format_RGB32);
    foreign.fill(kBlack);
    {
        QPainter painter(&foreign);
        platform::TCanvas canvas(painter);
        memo->SetRenderCanvas(&canvas, memo->TextAreaWidth());
        TArtPainter(*memo).PaintRender(TRenderRecord{0, 2, 0, 0, float(LH)});
        memo->SetRenderCanvas(nullptr, 0);
    }
    for (int y = 0; y < 3 * LH; ++y)
        for (int x = 0; x < screen.width(); ++x)
            ASSERT_EQ(foreign.pixel(x, y), screen.pixel(x, y)) << x << "," << y;

    // Offsets and pitch place every line: line 1 alone, shifted and pitched.
    QImage shifted(screen.width() + 10, 4 * LH, QImage::Format_RGB32);
    shifted.fill(kBlack);
    {
        QPainter painter(&shifted);
        platform::TCanvas canvas(painter);
        memo->SetRenderCanvas(&canvas, memo->TextAreaWidth());
        TArtPainter(*memo).PaintRender(TRenderRecord{1, 2, 10, 7, float(LH) * 1.5f});
        memo->SetRenderCanvas(nullptr, 0);
    }
    for (int y = 0; y < LH; ++y)
        for (int x = 0; x < screen.width(); ++x) {
            ASSERT_EQ(shifted.pixel(x + 10, y + 7), screen.pixel(x, y + LH)) << x << "," << y;
            ASSERT_EQ(shifted.pixel(x + 10, y + 7 + int(std::lround(LH * 1.5))), screen.pixel(x, y + 2 * LH))
                << x << "," << y;
        }
}

TEST_F(MemoPaint, TheEndOfTextMarkLiesBelowTheLastLineUnlessItsPenIsClearOrUnset) {
    Load("a\r\nb");
    const int LH = memo->LinePixels();
    memo->SetEndOfTextMark(TPenValue{platform::clRed, 1, platform::psSolid});
    QImage image = Paint();
    const QRgb red = qRgb(255, 0, 0);
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, 2 * LH), red) << x;
    EXPECT_NE(image.pixel(0, 2 * LH + 1), red);
    // A band that does not reach the line below the text draws no mark.
    image = Paint(QRect(0, 0, image.width(), LH));
    EXPECT_NE(image.pixel(0, 2 * LH), red);
    for (TPenValue pen : {TPenValue{platform::kNoColor, 1, platform::psSolid},
                          TPenValue{platform::clRed, 1, platform::psClear}}) {
        memo->SetEndOfTextMark(pen);
        image = Paint();
        EXPECT_EQ(image.pixel(0, 2 * LH), kBlack);
    }
}

TEST_F(MemoPaint, TheGuideLineStandsAtItsColumnWithDashesFixedToTheText) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(text);
    memo->SetRightLinePos(20);
    memo->SetRightLinePen(TPenValue{platform::clLime, 1, platform::psDash});
    const int x = 20 * memo->AvgCharWidth() + memo->LeftMargin();
    auto column = [&](const QImage& image) {
        std::vector<bool> ink;
        for (int y = 0; y < image.height(); ++y)
            ink.push_back(image.pixel(x, y) == qRgb(0, 255, 0));
        return ink;
    };
    const std::vector<bool> top = column(Paint());
    EXPECT_EQ(std::count(top.begin(), top.begin() + 24, true), 18);
    EXPECT_EQ(InkIn(Paint(), kBlack, x + 1, x + 2), 0);
    memo->SetTopOrigin(5);
    ASSERT_EQ(memo->TopOrigin(), 5);
    const std::vector<bool> scrolled = column(Paint());
    for (size_t y = 0; y + 5 < top.size(); ++y)
        ASSERT_EQ(scrolled[y], top[y + 5]) << y;
    // A band painted alone continues the same pattern.
    const QImage band = Paint(QRect(0, 30, 320, 40));
    for (int y = 30; y < 70; ++y)
        ASSERT_EQ(band.pixel(x, y) == qRgb(0, 255, 0), bool(scrolled[size_t(y)])) << y;
}

TEST_F(MemoPaint, TheBackgroundPictureIsTiledFromTheDocumentOrigin) {
    Load("");
    QImage picture(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.setPixel(x, y, qRgb(x * 40, y * 80, 100));
    memo->SetBackgroundBmp(picture);
    for (int topOrigin : {0, -7}) {
        memo->SetTopOrigin(topOrigin);
        ASSERT_EQ(memo->TopOrigin(), topOrigin);
        const QImage image = Paint();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(image.pixel(x, y), picture.pixel(x % 5, (((y + topOrigin) % 3) + 3) % 3))
                    << x << "," << y << " top origin " << topOrigin;
    }
}

TEST_F(MemoPaint, TheCaretIsShownByInvertingItsRectangle) {
    Load("\xDB\xDB\xDB");
    const QImage without = Paint();
    memo->setFocusPolicy(Qt::StrongFocus);
    memo->activateWindow();
    memo->setFocus();
    QCoreApplication::processEvents();
    if (!memo->hasFocus())
        GTEST_SKIP() << "the platform gives no focus";
    memo->SetSelStart(1);
    const QRect caret = memo->CaretRect();
    ASSERT_FALSE(caret.isEmpty());
    EXPECT_EQ(caret.height(), memo->LinePixels());
    const QImage with = Paint();
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            ASSERT_EQ(with.pixel(x, y),
                      caret.contains(x, y) ? without.pixel(x, y) ^ 0x00FFFFFF : without.pixel(x, y))
                << x << "," << y;
}

TEST_F(MemoPaint, ARenderCanvasGetsTheTextButNoBackgroundEndMarkGuideLineOrCaret) {
    Load("\xDB x\r\nab");
    memo->SetColor(platform::clBlue);
    memo->SetEndOfTextMark(TPenValue{platform::clRed, 1, platform::psSolid});
    memo->SetRightLinePen(TPenValue{platform::clRed, 1, platform::psSolid});
    memo->SetRightLinePos(30); // clear of the text
    // The screen shows all three.
    const QImage screen = Paint();
    auto count = [](const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    };
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb red = qRgb(255, 0, 0);
    ASSERT_GT(count(screen, blue), 0);
    ASSERT_GT(count(screen, red), 0);

    QImage printed(screen.size(), QImage::Format_RGB32);
    printed.fill(kBlack);
    {
        QPainter painter(&printed);
        platform::TCanvas canvas(painter);
        memo->SetRenderCanvas(&canvas, memo->TextAreaWidth());
        const TRenderRecord record{0, 5, 0, 0, float(memo->LinePixels())};
        memo->Perform(wm::PAINT, 0, reinterpret_cast<int64_t>(&record));
        memo->SetRenderCanvas(nullptr, 0);
    }
    EXPECT_EQ(count(printed, blue), 0);
    EXPECT_EQ(count(printed, red), 0);
    // The text itself is there, pixel for pixel as on the screen.
    EXPECT_EQ(count(printed, kWhite), count(screen, kWhite));
}

// Reads the paint message's record as a printing add-on would, and may keep the control from
// handling the message.
struct TPaintHook : NotificationSink {
    explicit TPaintHook(TArtMemo& memo) : Memo(memo) {}
    void Notify(TArtMemoCore*, int32_t codes) override {
        const TMessageRecord& m = Memo.CurrentMessage();
        if (m.Msg != wm::PAINT || m.LParam == 0)
            return;
        if (codes == nc::BeforeMessage) {
            SeenFirstLine = reinterpret_cast<const TRenderRecord*>(m.LParam)->FirstLine;
            if (Suppress)
                Memo.CurrentMessage().Result = kSuppressMessage;
        } else if (codes == nc::AfterMessage) {
            ++After;
        }
    }
    TArtMemo& Memo;
    bool Suppress = false;
    int32_t SeenFirstLine = -1;
    int After = 0;
};

TEST_F(MemoPaint, APaintMessageWithARenderRecordDrawsIntoTheRenderCanvasPastTheHooks) {
    Load("\xDB\xDB x\r\n\xB1\xB2\r\nlast");
    const QImage screen = Paint();
    const int LH = memo->LinePixels();
    TPaintHook hook(*memo);
    memo->MessageHooks().Add(&hook);
    auto render = [&](bool suppress) {
        hook.Suppress = suppress;
        QImage image(screen.size(), QImage::Format_RGB32);
        image.fill(kBlack);
        QPainter painter(&image);
        platform::TCanvas canvas(painter);
        memo->SetRenderCanvas(&canvas, memo->TextAreaWidth());
        const TRenderRecord record{1, 2, 0, 0, float(LH)};
        EXPECT_TRUE(memo->Perform(wm::PAINT, 0, reinterpret_cast<int64_t>(&record)));
        memo->SetRenderCanvas(nullptr, 0);
        return image;
    };

    const QImage printed = render(false);
    EXPECT_EQ(hook.SeenFirstLine, 1);
    EXPECT_EQ(hook.After, 1);
    // Lines 1 and 2 of the screen, moved up to the canvas's top.
    for (int y = 0; y < 2 * LH; ++y)
        for (int x = 0; x < screen.width(); ++x)
            ASSERT_EQ(printed.pixel(x, y), screen.pixel(x, y + LH)) << x << "," << y;

    // A hook that answers 127 keeps the control from drawing; the after-hooks still follow.
    const QImage blank = render(true);
    EXPECT_EQ(hook.After, 2);
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x)
            ASSERT_EQ(blank.pixel(x, y), kBlack) << x << "," << y;
    memo->MessageHooks().Remove(&hook);
}

} // namespace
} // namespace zandor::test
