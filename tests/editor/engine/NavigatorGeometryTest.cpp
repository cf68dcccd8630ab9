// Screen geometry of the navigator with a measurer of fixed advances (8 pixels, bold 9, alternate
// font 6): x of a position, the position under a point, character widths, alignment and
// justification.
#include "NavigatorTestText.h"
#include "editor/engine/ArtNavigator.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::test {
namespace {

class Geometry : public ::testing::Test {
protected:
    Geometry() { core.SetClientSize(400, 200); }

    TFixedTextMeasurer& Fixed() { return static_cast<TFixedTextMeasurer&>(core.Measurer()); }

    int XAt(int32_t pos) {
        nav.SetPos(pos);
        return nav.GetX();
    }

    // Gives paragraph par one line whose width is 8 pixels per character, with justification
    // data as given.
    void SetLine(int par, int32_t spaces, int32_t justifyFrom) {
        TLinesList lines(&core.Paragraphs().Par(par));
        LineInfo line = *lines.LineAt(0);
        line.TextWidth = line.FullWidth = 8 * line.Stop;
        line.Spaces = spaces;
        line.JustifyFrom = justifyFrom;
        lines.PutLine(0, line);
    }

    TArtMemoCore core;
    TArtNavigator nav{&core};
};

struct XRow {
    const char* Text;
    bool Static;
    int Tabs;
    int32_t Pos;
    int X;
};

class GeometryX : public Geometry, public ::testing::WithParamInterface<XRow> {};

TEST_P(GeometryX, FollowsFontsTabsAndFormatCodes) {
    const XRow& row = GetParam();
    LoadText(core, row.Text);
    core.SetStaticFormat(row.Static);
    core.SetTabStops(row.Tabs);
    EXPECT_EQ(XAt(row.Pos), row.X);
}

INSTANTIATE_TEST_SUITE_P(Rows, GeometryX,
                         ::testing::Values(XRow{"abcd", false, 8, 3, 8 + 24},
                                           // tab cells: 8 blanks, 20 pixels, none at all
                                           XRow{"a\tb", false, 8, 2, 8 + 64},
                                           XRow{"a\tb", false, 8, 3, 8 + 72},
                                           XRow{"a\tb", false, -20, 2, 8 + 20},
                                           XRow{"a\tb", false, 0, 2, 8 + 8},
                                           // a tab standing on a stop goes on to the next one
                                           XRow{"ab\tc", false, 2, 3, 8 + 32},
                                           // bold between two codes; the codes have no width
                                           XRow{"a\x02"
                                                "bb\x02"
                                                "c",
                                                true, 8, 6, 8 + 8 + 18 + 8},
                                           XRow{"a\x02"
                                                "bb\x02"
                                                "c",
                                                false, 8, 6, 8 + 48},
                                           XRow{"\x04"
                                                "ab",
                                                true, 8, 3, 8 + 12},
                                           // the caret on the CR or LF stands at the end of the line
                                           XRow{"ab\r\nc", false, 8, 3, 8 + 16}));

TEST_F(Geometry, FormatCodesToggleTheFontsOwnStyle) {
    core.SetMeasurer(std::make_unique<TFixedTextMeasurer>(), sfBold);
    core.SetStaticFormat(true);
    LoadText(core, "a\x02"
                   "b");
    EXPECT_EQ(XAt(3), 8 + 9 + 8);
}

TEST_F(Geometry, ARunWithAContextDecidesTheFontAlone) {
    core.SetStaticFormat(true);
    LoadText(core, "ab\x02"
                   "cde");
    AddRun(core, 0, 1, sfContext | sfAltFont, 5);
    AddRun(core, 0, 4, sfBold); // no context: the static state applies again
    // a 8, b alt 6, code 0, c alt 6, d bold by the code 9
    EXPECT_EQ(XAt(5), 8 + 8 + 6 + 6 + 9);
    // The wavy-underline combination keeps bold and drops strike-out and highlight.
    EXPECT_EQ(
        core.EffectiveStyle(
            TDynInfo{0, sfContext | sfStrikeOut | sfHighlight | sfBold, -1, 0, 0, -1, -1, 0, 0, {}, 0, 0}, 0),
        sfContext | sfBold);
}

TEST_F(Geometry, AlignmentPlacesTheLineByItsTextWidth) {
    LoadText(core, "abcd");
    SetLine(0, 0, 4);
    core.SetAlignment(taRightJustify);
    EXPECT_EQ(XAt(0), 400 - 8 - 32);
    EXPECT_EQ(XAt(4), 400 - 8);
    core.SetAlignment(taCenter);
    EXPECT_EQ(XAt(0), 8 + (400 - 16 - 32) / 2);
    core.SetLeftOrigin(10);
    EXPECT_EQ(XAt(1), 8 + (400 - 16 - 32) / 2 + 8 - 10);
}

TEST_F(Geometry, JustifiedSpacesShareTheSlackFromTheMiddle) {
    core.SetClientSize(8 + 64 + 21 + 8, 100); // 21 pixels of slack for two spaces
    core.SetJustified(true);
    core.SetAlignment(taRightJustify); // a justified line starts at the left margin anyway
    LoadText(core, "aa bb cc");
    SetLine(0, 2, 0);
    EXPECT_EQ(XAt(3), 8 + 24 + 10);
    EXPECT_EQ(XAt(6), 8 + 48 + 10 + 11);
    EXPECT_EQ(XAt(8), core.ClientWidth() - core.RightMargin());
    // Spaces before JustifyFrom keep their width.
    SetLine(0, 1, 3);
    EXPECT_EQ(XAt(3), 8 + 24);
    EXPECT_EQ(XAt(6), 8 + 48 + 21);
    // Every column is found again from its own x.
    for (int32_t c = 0; c <= 8; ++c) {
        nav.SetPos(c);
        const int x = nav.GetX();
        nav.SetPos(0);
        nav.SetX(x);
        EXPECT_EQ(nav.Pos(), c) << "x " << x;
    }
}

TEST_F(Geometry, AClickOnTheMiddlePixelOfACharacterLandsAfterIt) {
    LoadText(core, "abc\tdef");
    struct Row {
        int X;
        int32_t Pos;
    };
    // b spans 16..23 (middle pixel 20); the tab spans 32..71 (middle 52).
    for (Row row : {Row{19, 1}, Row{20, 2}, Row{51, 3}, Row{52, 4}, Row{-30, 0}, Row{1000, 7}}) {
        nav.SetPos(0);
        nav.SetX(row.X);
        EXPECT_EQ(nav.Pos(), row.Pos) << "x " << row.X;
    }
    core.SetLeftOrigin(16);
    nav.SetX(20 - 16);
    EXPECT_EQ(nav.Pos(), 2);
}

TEST_F(Geometry, SetXYBelowTheLastLineGoesToTheEndOfTheText) {
    LoadText(core, "one\r\ntwo\r\nthree");
    const int h = core.LinePixels();
    nav.SetXY({5, 3 * h});
    EXPECT_EQ(nav.Pos(), core.CharCount());
    nav.SetXY({8 + 8 + 4, 3 * h - 1});
    EXPECT_EQ(nav.Pos(), 10 + 2);
    nav.SetXY({0, -40});
    EXPECT_EQ(nav.Pos(), 0);
    core.SetTopOrigin(h);
    nav.SetXY({1000, 0});
    EXPECT_EQ(nav.Pos(), 8);
}

TEST_F(Geometry, YCountsDisplayLinesFromTheScrollOrigin) {
    LoadText(core, "aaaa bbbb\r\nc");
    WrapAt(core, 0, {5});
    core.SetTextOffsetY(3);
    core.SetTopOrigin(5);
    const int h = core.LinePixels();
    nav.SetPos(6);
    EXPECT_EQ(nav.GetY(), h + 3 - 5);
    nav.SetPos(11);
    EXPECT_EQ(nav.GetXY().Y, 2 * h + 3 - 5);
    EXPECT_EQ(nav.GetXY().X, 8);
}

TEST_F(Geometry, CharWidthMeasuresTheCharacterUnderTheCaret) {
    core.SetStaticFormat(true);
    LoadText(core, "a\tb\x02"
                   "cd\r\nx");
    AddRun(core, 0, 5, sfContext | sfAltFont, 1);
    struct Row {
        int32_t Pos;
        int Width;
    };
    // a, the tab from 8 to 64, b, the code, bold c, alternate d by the run beginning there, CR, LF
    for (Row row :
         {Row{0, 8}, Row{1, 56}, Row{2, 8}, Row{3, 0}, Row{4, 9}, Row{5, 6}, Row{6, 0}, Row{7, 0}}) {
        nav.SetPos(row.Pos);
        EXPECT_EQ(nav.CharWidth(), row.Width) << "position " << row.Pos;
    }
}

TEST_F(Geometry, LongLinesAreMeasuredInBoundedPieces) {
    LoadText(core, std::string(10000, 'a'));
    EXPECT_EQ(XAt(10000), 8 + 80000);
    EXPECT_LE(Fixed().LongestPiece, core.TextOutputChunk());
    EXPECT_EQ(core.TextOutputChunk(), 16384 / 8);
}

TEST_F(Geometry, AWrappedLineStartsAtTheLeftMargin) {
    LoadText(core, "aaaa bbbb");
    WrapAt(core, 0, {5});
    EXPECT_EQ(XAt(7), 8 + 16);
    EXPECT_EQ(XAt(5), 8);
    nav.SetPos(7);
    nav.SetX(8 + 33);
    EXPECT_EQ(nav.Pos(), 9); // clamped to the end of the line
}

} // namespace
} // namespace zandor::test
