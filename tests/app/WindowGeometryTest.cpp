#include "app/WindowGeometry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace zandor;

namespace {

struct DefaultRow {
    const char* section;
    QRect workArea;
    QSize size;
    QPoint pos;
};

class DefaultBounds : public ::testing::TestWithParam<DefaultRow> {};

} // namespace

TEST_P(DefaultBounds, ComeFromTheWorkAreaAndAreCentred) {
    const DefaultRow& row = GetParam();
    const QSize size = DefaultWindowSize(row.section, row.workArea);
    EXPECT_EQ(row.size, size);
    EXPECT_EQ(row.pos, DefaultWindowPos(size, row.workArea));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DefaultBounds,
    ::testing::Values(
        // Large desktop: the fixed 687 x 469 wins; (1920-687)/2 = 616.5 rounds toward zero.
        DefaultRow{"Other", QRect(0, 0, 1920, 1040), QSize(687, 469), QPoint(616, 285)},
        // Small desktop: 200 pixels less than the work area.
        DefaultRow{"Other", QRect(0, 0, 800, 600), QSize(600, 400), QPoint(100, 100)},
        // A .diz file is 290 high whatever the desktop.
        DefaultRow{"diz", QRect(0, 0, 1920, 1040), QSize(687, 290), QPoint(616, 375)},
        DefaultRow{"diz", QRect(0, 0, 800, 600), QSize(600, 290), QPoint(100, 155)},
        // A task bar on top: the far edges count, not the size.
        DefaultRow{"nfo", QRect(0, 40, 1024, 728), QSize(687, 469), QPoint(168, 149)}));

namespace {

struct SectionRow {
    const char* path;
    const char* extension;
    const char* section;
};

class Sections : public ::testing::TestWithParam<SectionRow> {};

} // namespace

TEST_P(Sections, ShortExtensionsShareOtherAndLetterCaseDoesNotCount) {
    EXPECT_EQ(GetParam().extension, LowerExtension(GetParam().path));
    EXPECT_EQ(GetParam().section, WindowSectionFor(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Sections,
    ::testing::Values(SectionRow{"/art/x.nfo", ".nfo", "nfo"}, SectionRow{"/art/X.NFO", ".nfo", "nfo"},
                      SectionRow{"/src/main.c", ".c", "Other"}, SectionRow{"/doc/README.md", ".md", "Other"},
                      SectionRow{"/web/page.HTML", ".html", "html"}, SectionRow{"/a.b/noext", "", "Other"},
                      SectionRow{"/x/ends.", ".", "Other"}, SectionRow{"", "", "Other"}));

namespace {

std::string Lines(std::initializer_list<int> lengths, bool lastHasBreak = false) {
    std::string text;
    size_t i = 0;
    for (const int n : lengths) {
        text += std::string(static_cast<size_t>(n), 'x');
        if (++i < lengths.size() || lastHasBreak)
            text += "\r\n";
    }
    return text;
}

} // namespace

TEST(WidestLine, LinesOf133OrMoreAreIgnoredAndTheLastLineIsNotMeasured) {
    // Only long lines: nothing counts, the floor of 34 stays.
    EXPECT_EQ(34, WidestLineChars(Lines({200, 200, 200, 10})));
    EXPECT_EQ(80, WidestLineChars(Lines({200, 80, 200, 40})));
    EXPECT_EQ(132, WidestLineChars(Lines({132, 133, 10})));
    // The last line has no CR after it.
    EXPECT_EQ(34, WidestLineChars(Lines({10, 120})));
    EXPECT_EQ(120, WidestLineChars(Lines({10, 120}, true)));
    // LF characters inside a line are not characters of it.
    EXPECT_EQ(40, WidestLineChars(std::string(20, 'a') + "\n\n" + std::string(20, 'b') + "\r\nend"));
    EXPECT_EQ(34, WidestLineChars(""));
}

TEST(WidestLine, ReadByParagraphAgreesWithTheJoinedTextAndReadsABoundedSampleOfALongOne) {
    // Texts up to the sample's size: every paragraph, the same answer as the text joined by CR LF.
    std::mt19937 rng(619);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> pars(static_cast<size_t>(rng() % 12));
        std::string joined;
        for (size_t i = 0; i < pars.size(); ++i) {
            pars[i] = std::string(rng() % 160, 'x');
            if (rng() % 5 == 0 && !pars[i].empty())
                pars[i][rng() % pars[i].size()] = rng() % 2 ? '\r' : '\n'; // a lone break inside
            joined += (i ? "\r\n" : "") + pars[i];
        }
        const int n = static_cast<int>(pars.size());
        EXPECT_EQ(WidestLineChars(joined), WidestLineChars(n, [&](int i) { return pars[size_t(i)]; }))
            << "round " << round;
    }

    // A text of ten million lines: a bounded number of paragraphs read, wide lines found wherever
    // they are common, and the reading stops at the widest possible line.
    struct Row {
        int widthEvery; // from line `from` on, every this many lines one of 120 characters; else 40
        int from;
        int firstAt132; // a line of 132 characters here, or -1
        int expected;
    };
    for (const Row row : {Row{1000, 0, -1, 120}, Row{7, 0, -1, 120}, Row{0, 0, -1, 40},
                          Row{1000, 6000000, -1, 120}, Row{1000, 0, 3, 132}}) {
        int reads = 0;
        const int result = WidestLineChars(10000000, [&](int i) {
            ++reads;
            if (i == row.firstAt132)
                return std::string(132, 'w');
            const bool wide = row.widthEvery && i >= row.from && i % row.widthEvery == row.widthEvery - 1;
            return std::string(wide ? 120 : 40, 'x');
        });
        EXPECT_EQ(row.expected, result) << "one wide line in " << row.widthEvery;
        EXPECT_LE(reads, kWidestLineSample);
        if (row.firstAt132 >= 0) {
            EXPECT_EQ(row.firstAt132 + 1, reads);
        }
    }
}

TEST(AutoWidth, IsCharactersTimesWidthPlusAllowanceButNeverBelow460) {
    EXPECT_EQ(8 * 80 + 53, AutoWindowWidth(80, 8, 0));
    EXPECT_EQ(8 * 80 + 53 + 30, AutoWindowWidth(80, 8, 30));
    EXPECT_EQ(460, AutoWindowWidth(34, 8, 0)); // 325 would be too narrow
    EXPECT_EQ(460, AutoWindowWidth(50, 8, 0)); // 453
    EXPECT_EQ(461, AutoWindowWidth(51, 8, 0));
}

TEST(AutoHeight, RowsFitTheTextButAreNeverFewerThan14) {
    EXPECT_EQ(14, AutoWindowRows(800, 19, 3));
    EXPECT_EQ(20, AutoWindowRows(800, 19, 20));
    EXPECT_EQ(42, AutoWindowRows(800, 19, 500)); // 800 / 19 rounds down
    EXPECT_EQ(14, AutoWindowRows(150, 19, 500)); // even when 14 do not fit
}

TEST(AutoHeight, AvailableSpaceFallsBackTo150WhenLessThan100Remain) {
    const QRect work(0, 0, 1920, 1040);
    EXPECT_EQ(1040 - 100 - 80 - 40, AutoHeightAvailable(work, 100, 80));
    EXPECT_EQ(100, AutoHeightAvailable(work, 820, 80));
    EXPECT_EQ(150, AutoHeightAvailable(work, 821, 80));
    EXPECT_EQ(150, AutoHeightAvailable(work, 2000, 80));
}

TEST(KeepInside, PullsBackOverTheFarEdgesAndNeverPastTheOrigin) {
    const QRect work(0, 0, 1024, 728);
    EXPECT_EQ(QPoint(10, 20), KeepInside(QRect(10, 20, 600, 400), work));
    EXPECT_EQ(QPoint(424, 328), KeepInside(QRect(900, 700, 600, 400), work));
    EXPECT_EQ(QPoint(0, 0), KeepInside(QRect(-50, -30, 600, 400), work));
    // Larger than the work area: the far edge pulls it past the origin, which then wins.
    EXPECT_EQ(QPoint(0, 0), KeepInside(QRect(100, 100, 2000, 1500), work));
}

TEST(BottomButtons, ThreeMiddleButtonsShrinkBetween40And70AndExitTakesTheRest) {
    for (const int width : {100, 255, 270, 285, 300, 687, 1500}) {
        const auto spans = BottomButtonSpans(width);
        const int w = std::clamp(width - 215, 40, 70);
        EXPECT_EQ(0, spans[0].Left) << width;
        EXPECT_EQ(85, spans[0].Width) << width;
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(w, spans[i].Width) << width;
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(spans[i - 1].Left + spans[i - 1].Width + 1, spans[i].Left) << width;
        // Exit ends at the panel's right edge.
        EXPECT_EQ(width, spans[4].Left + spans[4].Width) << width;
    }
}
