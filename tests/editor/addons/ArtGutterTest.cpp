// The gutter on screen: numbers drawn beside the editor's lines, also when the gutter and the
// editor do not start at the same height, and kept beside them when the editor scrolls, by moving
// the pixels and painting only the uncovered strip.
#include "editor/addons/ArtGutter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

bool DriveUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 100000 && !done(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return done();
}

struct TPaintRecorder : QObject {
    std::vector<QRect> Areas;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Areas.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

class GutterOnScreen : public ::testing::Test {
protected:
    QWidget window;
    TArtMemo* memo = new TArtMemo(&window);
    TArtGutter* gutter = new TArtGutter(&window);
    static constexpr int kMemoOffset = 7; // the editor stands lower than the gutter

    void SetUp() override {
        window.resize(320, 240);
        gutter->setGeometry(0, 0, 40, 240);
        memo->setGeometry(40, kMemoOffset, 280, 240 - kMemoOffset);
        memo->SetBorderStyle(bsNone);
        memo->SetColor(platform::clWhite);
        gutter->SetColor(platform::clWhite);
        gutter->SetFontColor(platform::clBlack);
        gutter->SetAlignment(taRightJustify);
        gutter->SetArtMemo(memo);
        std::string text;
        for (int i = 1; i <= 100; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        TMemoryStream stream(text);
        memo->LoadFromStream(stream);
        window.show();
        ASSERT_TRUE(DriveUntil([&] { return memo->HandleAllocated() && window.isVisible(); }));
        DriveUntil([] { return false; }); // lets every pending paint happen
    }
    int LineHeight() const { return memo->LinePixels(); }
    // The gutter as the screen shows it now.
    QImage OnScreen() {
        const QImage shot = window.windowHandle()
                                ->screen()
                                ->grabWindow(window.winId())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        return shot.copy(gutter->geometry());
    }
    // The gutter painted afresh.
    QImage Fresh() { return gutter->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Row r of the editor's window as it stands beside the gutter.
    QImage Band(const QImage& image, int row) {
        return image.copy(0, kMemoOffset + row * LineHeight(), image.width(), LineHeight());
    }
    static bool HasInk(const QImage& band) {
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < band.width(); ++x)
                if (band.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    }
};

TEST_F(GutterOnScreen, NumbersStayBesideTheirLinesWhenTheEditorScrolls) {
    const QImage before = Fresh();
    ASSERT_TRUE(HasInk(Band(before, 0)));
    ASSERT_NE(Band(before, 0), Band(before, 10)); // "1" and "11" differ

    TPaintRecorder paints;
    gutter->installEventFilter(&paints);
    memo->ScrollTo(10 * LineHeight(), 0, 0);
    DriveUntil([&] { return !paints.Areas.empty(); });
    DriveUntil([] { return false; });
    const QImage scrolled = OnScreen();
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(Band(before, row + 10), Band(scrolled, row)) << "row " << row;
    int painted = 0;
    for (const QRect& area : paints.Areas)
        painted += area.height();
    EXPECT_LE(painted, 10 * LineHeight() + 1);
    // The moved pixels and the painted strip make the picture a fresh paint makes.
    EXPECT_EQ(Fresh(), scrolled);

    paints.Areas.clear();
    memo->ScrollTo(11 * LineHeight(), 0, 0);
    DriveUntil([&] { return !paints.Areas.empty(); });
    ASSERT_EQ(1u, paints.Areas.size());
    EXPECT_LE(paints.Areas[0].height(), LineHeight());
    gutter->removeEventFilter(&paints);
}

TEST_F(GutterOnScreen, ABookmarkImageTakesTheNumbersPlaceAndALoadRemovesIt) {
    memo->setFocus();
    memo->SetSelStart(memo->ParagraphStart(2));
    gutter->SetBookmark(memo->SelStart(), 4);
    DriveUntil([] { return false; });
    const QImage marked = Fresh();
    const QImage& images = TArtGutter::BookmarkImages();
    // The image's own face colour shows on the bookmarked row only.
    const QRgb face = images.pixel(4 * 10 + 1, 1);
    auto hasFace = [&](const QImage& band) {
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < band.width(); ++x)
                if (band.pixel(x, y) == face)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasFace(Band(marked, 2)));
    EXPECT_FALSE(hasFace(Band(marked, 1)));
    EXPECT_FALSE(hasFace(Band(marked, 3)));

    TMemoryStream stream("other\r\ntext\r\nhere\r\n");
    memo->LoadFromStream(stream);
    EXPECT_EQ(-1, gutter->BookmarkLine(4));
    DriveUntil([] { return false; });
    EXPECT_FALSE(hasFace(Band(Fresh(), 2)));
}

TEST(GutterLife, TheGutterOutlivesItsEditorAndLetsItsBookmarksGo) {
    QWidget window;
    auto* memo = new TArtMemo(&window);
    auto* gutter = new TArtGutter(&window);
    gutter->SetArtMemo(memo);
    TMemoryStream stream("a\r\nb\r\nc");
    memo->LoadFromStream(stream);
    gutter->SetBookmark(3, 1);
    gutter->SetKeepBookmarks(false);
    delete memo;
    EXPECT_EQ(nullptr, gutter->ArtMemo());
    EXPECT_EQ(-1, gutter->BookmarkLine(1));
    gutter->update();
    EXPECT_FALSE(gutter->grab().isNull());
}

} // namespace
} // namespace zandor::test
