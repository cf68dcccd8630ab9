// The main window's size and place: defaults from the work area, bounds remembered per file type,
// sizes that fit the loaded text, and the delayed write after moves.
#include "WindowFixture.h"
#include "documents/Documents.h"

#include "editor/control/ArtMemo.h"

#include <QElapsedTimer>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

class WindowBounds : public WindowFixture {
protected:
    // A text of lines of the given lengths, each ending in CR LF except the last.
    std::string WriteLines(const std::string& name, std::initializer_list<int> lengths) {
        std::string text;
        size_t i = 0;
        for (const int n : lengths) {
            text += std::string(static_cast<size_t>(n), 'x');
            if (++i < lengths.size())
                text += "\r\n";
        }
        return dir.write(name, QByteArray::fromStdString(text));
    }
};

struct FirstStartRow {
    QRect workArea;
    QRect expected;
};

class FirstStart : public WindowBounds, public ::testing::WithParamInterface<FirstStartRow> {};

} // namespace

TEST_P(FirstStart, TakesItsSizeFromTheWorkAreaAndIsCentred) {
    workArea = GetParam().workArea;
    auto w = Create();
    EXPECT_EQ(GetParam().expected, QRect(w->pos(), w->size()));
}

INSTANTIATE_TEST_SUITE_P(Rows, FirstStart,
                         ::testing::Values(FirstStartRow{QRect(0, 0, 1920, 1040), QRect(616, 285, 687, 469)},
                                           FirstStartRow{QRect(0, 0, 800, 600), QRect(100, 100, 600, 400)}));

TEST_F(WindowBounds, ADizFileOpensAtHeight290) {
    const std::string file = WriteLines("FILE_ID.DIZ", {20, 20, 20});
    auto w = Create(file);
    EXPECT_EQ("diz", w->WindowSection);
    EXPECT_EQ(290, w->height());
}

TEST_F(WindowBounds, StoredBoundsOfTheFileTypeAreUsedAndKeptInsideASingleMonitor) {
    Store().WriteInteger("txt", "Left", 1700);
    Store().WriteInteger("txt", "Top", 900);
    Store().WriteInteger("txt", "Width", 500);
    Store().WriteInteger("txt", "Height", 300);
    Store().WriteBool("Options", "AutoWidth", false);
    const std::string file = WriteLines("notes.txt", {10});
    auto w = Create(file);
    EXPECT_EQ(QRect(1920 - 500, 1040 - 300, 500, 300), QRect(w->pos(), w->size()));
    // With a second monitor the stored place may lie outside the primary work area and stays.
    monitors = 2;
    w->ApplyWindowDimensions("txt");
    EXPECT_EQ(QRect(1700, 900, 500, 300), QRect(w->pos(), w->size()));
}

TEST_F(WindowBounds, SizesAreLimitedTo3000By2000) {
    auto w = Create();
    w->resize(4000, 2500);
    EXPECT_EQ(QSize(3000, 2000), w->size());
    // Still larger than this desktop.
    EXPECT_GT(w->width(), workArea.width());
}

TEST_F(WindowBounds, AutoWidthIgnoresLinesOf133CharactersOrMore) {
    ASSERT_TRUE(ScreenFontsRegistered());
    const std::string file = WriteLines("wide.nfo", {200, 80, 200, 200, 120});
    auto w = Create(file);
    ASSERT_EQ(w->AvgCharWidth, w->MaxCharWidth) << "the screen font has fixed pitch";
    // The 80-character line is the widest measured: the 200s are ignored, the last line is not
    // measured at all.
    EXPECT_EQ(std::max(460, w->AvgCharWidth * 80 + 53), w->width());

    const std::string narrow = WriteLines("narrow.nfo", {200, 10, 200});
    w->Documents->LoadFile(narrow);
    EXPECT_EQ(std::max(460, w->AvgCharWidth * 34 + 53), w->width());
}

TEST_F(WindowBounds, AutoWidthLeavesTheWidthAloneForAProportionalFont) {
    Store().WriteString("Options", "Font5", "DejaVu Sans,12,0000,clWhite");
    Store().WriteInteger("nfo", "Width", 555);
    const std::string file = WriteLines("prop.nfo", {100, 100, 1});
    auto w = Create(file);
    ASSERT_NE(w->AvgCharWidth, w->MaxCharWidth);
    EXPECT_EQ(555, w->width());
}

TEST_F(WindowBounds, AutoHeightGivesAThreeLineFileFourteenRows) {
    Store().WriteBool("Options", "AutoHeight", true);
    const std::string file = WriteLines("three.txt", {10, 10, 10});
    auto w = Create(file);
    const int lineHeight = w->m->LineHeight();
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(14 * lineHeight, w->MemoPanel->height());
    EXPECT_EQ(14 * lineHeight + (w->height() - w->MemoPanel->height()), w->height());
}

TEST_F(WindowBounds, AutoHeightStopsAtTheWorkAreaForALongFile) {
    Store().WriteBool("Options", "AutoHeight", true);
    Store().WriteInteger("txt", "Top", 100);
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "line\r\n";
    auto w = Create(dir.write("long.txt", QByteArray::fromStdString(text)));
    const int lineHeight = w->m->LineHeight();
    const int chrome = w->height() - w->MemoPanel->height();
    EXPECT_EQ((1040 - 100 - chrome - 40) / lineHeight * lineHeight, w->MemoPanel->height());
}

namespace {

struct SharedSectionRow {
    const char* first;
    const char* second;
    const char* section;
};

class SharedSections : public WindowBounds, public ::testing::WithParamInterface<SharedSectionRow> {};

} // namespace

TEST_P(SharedSections, FilesOfOneSectionShareTheirBounds) {
    Store().WriteBool("Options", "AutoWidth", false);
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(w->Documents->LoadFile(WriteLines(GetParam().first, {5, 5})));
    EXPECT_EQ(GetParam().section, w->WindowSection);
    w->move(123, 77);
    w->resize(611, 333);
    w->SaveWindowBounds();
    w->move(300, 300);
    w->resize(500, 250);
    ASSERT_TRUE(w->Documents->LoadFile(WriteLines(GetParam().second, {5, 5})));
    EXPECT_EQ(GetParam().section, w->WindowSection);
    EXPECT_EQ(QRect(123, 77, 611, 333), QRect(w->pos(), w->size()));
}

INSTANTIATE_TEST_SUITE_P(Rows, SharedSections,
                         ::testing::Values(SharedSectionRow{"prog.c", "README.md", "Other"},
                                           SharedSectionRow{"lower.nfo", "UPPER.NFO", "nfo"}));

TEST_F(WindowBounds, AMaximisedWindowSavesOnlyThatItIsMaximised) {
    auto w = Create("", true);
    w->show();
    w->move(40, 50);
    w->resize(600, 400);
    w->SaveWindowBounds();
    w->showMaximized();
    ASSERT_TRUE(w->isMaximized());
    w->SaveWindowBounds();
    EXPECT_TRUE(Store().ReadBool("Other", "Maximized", false));
    EXPECT_EQ(QRect(40, 50, 600, 400),
              QRect(Store().ReadInteger("Other", "Left", -1), Store().ReadInteger("Other", "Top", -1),
                    Store().ReadInteger("Other", "Width", -1), Store().ReadInteger("Other", "Height", -1)));
    // And the next start of that type is maximised again.
    w->showNormal();
    w->ApplyWindowDimensions("Other");
    EXPECT_TRUE(w->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(WindowBounds, SameDimensionsUseTheOtherBoundsForEveryType) {
    Store().WriteBool("Options", "SameDim", true);
    Store().WriteBool("Options", "AutoWidth", false);
    Store().WriteInteger("Other", "Width", 640);
    Store().WriteInteger("nfo", "Width", 480);
    auto w = Create(WriteLines("art.nfo", {5, 5}));
    EXPECT_EQ(640, w->width());
}

TEST_F(WindowBounds, MovesInStepsWriteTheBoundsOnce1000MsAfterTheLast) {
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    QApplication::processEvents();
    w->SaveBoundsTimer->stop();
    QElapsedTimer sinceLastMove;
    for (const int x : {10, 20, 30, 40}) {
        // Started first, so the measured delay is never longer than the real one.
        sinceLastMove.start();
        w->move(x, 60);
        // Each step restarts the delay; nothing is written in between.
        EXPECT_TRUE(w->SaveBoundsTimer->isActive());
        ProcessUntil([&] { return sinceLastMove.elapsed() >= 300; });
        EXPECT_EQ(-1, Store().ReadInteger("Other", "Left", -1));
    }
    ASSERT_TRUE(ProcessUntil([&] { return Store().ReadInteger("Other", "Left", -1) != -1; }));
    EXPECT_GE(sinceLastMove.elapsed(), 1000);
    EXPECT_EQ(40, Store().ReadInteger("Other", "Left", -1));
    EXPECT_EQ(60, Store().ReadInteger("Other", "Top", -1));
    EXPECT_FALSE(w->SaveBoundsTimer->isActive());
    // One write: a marker put in its place is not overwritten by a second tick.
    Store().WriteInteger("Other", "Left", -7);
    QElapsedTimer after;
    after.start();
    ProcessUntil([&] { return after.elapsed() >= 1200; });
    EXPECT_EQ(-7, Store().ReadInteger("Other", "Left", -1));
}

TEST_F(WindowBounds, NothingIsScheduledWhileStartingOrPlacingTheWindow) {
    auto w = Create();
    ASSERT_TRUE(startup.StartingUp);
    w->move(33, 44);
    w->resize(500, 300);
    w->FormResize();
    EXPECT_FALSE(w->SaveBoundsTimer->isActive());
    startup.StartingUp = false;
    w->ApplyWindowDimensions("Other");
    EXPECT_FALSE(w->SaveBoundsTimer->isActive());
}

TEST_F(WindowBounds, MovingBackToWhereTheWindowWasPlacedIsSavedToo) {
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    QApplication::processEvents();
    w->SaveBoundsTimer->stop();
    const QPoint placed = w->pos();
    w->move(placed + QPoint(25, 15));
    ASSERT_TRUE(w->SaveBoundsTimer->isActive());
    w->SaveBoundsTimerTimer();
    ASSERT_EQ(placed.x() + 25, Store().ReadInteger("Other", "Left", -1));
    // The user's way back to the program's place is a move like any other.
    w->move(placed);
    EXPECT_TRUE(w->SaveBoundsTimer->isActive());
    w->SaveBoundsTimerTimer();
    EXPECT_EQ(placed.x(), Store().ReadInteger("Other", "Left", -1));
    EXPECT_EQ(placed.y(), Store().ReadInteger("Other", "Top", -1));
}
