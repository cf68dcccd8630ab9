// Where lines break and what each line records, with a measurer of fixed advances (8 pixels a
// character, 9 in bold, 6 in the alternate font) and a wrap width of 80 pixels = 10 characters.
#include "FormatTestText.h"
#include "NavigatorTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/ReplaceRange.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::test {
namespace {

class Formatting : public ::testing::Test {
protected:
    Formatting() {
        core.SetClientSize(96, 400); // minus the margins of 8 + 8: 80 pixels
        core.SetUpdateMode(umImmediate);
    }

    const ParInfo& Par(int p) { return core.Paragraphs().Par(p); }
    LineInfo Line(int p, int k) { return LineTable(Par(p)).at(static_cast<size_t>(k)); }
    std::string Format(std::string_view text) {
        LoadThroughStream(core, text);
        FormatAll(core);
        // As after the repaint that follows a load.
        core.Paragraphs().ResetDirty();
        return Breaks(Par(0));
    }

    TArtMemoCore core;
};

struct BreakRow {
    const char* Name;
    const char* Text;
    const char* Breaks;
    int ColumnWrap = 0;
    bool WordWrap = true;
    TAlignment Alignment = taLeftJustify;
    const char* WrapChars = "";
    int ClientWidth = 96;
};

class LineBreaks : public Formatting, public ::testing::WithParamInterface<BreakRow> {};

TEST_P(LineBreaks, FallWhereTheRulesPutThem) {
    const BreakRow& row = GetParam();
    core.SetColumnWrap(row.ColumnWrap);
    core.SetWordWrap(row.WordWrap);
    core.SetAlignment(row.Alignment);
    core.SetWordWrapChars(row.WrapChars);
    core.SetClientSize(row.ClientWidth, 400);
    EXPECT_EQ(Format(row.Text), row.Breaks);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineBreaks,
    ::testing::Values(
        BreakRow{"WordsThatFitStayTogether", "aaaa bbbbb", "aaaa bbbbb"},
        BreakRow{"LineEndsBeforeTheWordThatOverflows", "aaa bbb ccc ddd", "aaa bbb |ccc ddd"},
        BreakRow{"BlanksAtTheBreakHangOnTheUpperLine", "aaaa bbbb   cccc", "aaaa bbbb   |cccc"},
        BreakRow{"TextFillingTwoLinesHasTwoLines", "aaaaaaaaaabbbbbbbbbb", "aaaaaaaaaa|bbbbbbbbbb"},
        BreakRow{"LongWordBreaksByCharacters", "abcdefghijklmnopqrstuvwxy", "abcdefghij|klmnopqrst|uvwxy"},
        BreakRow{"IndentedLongWordStartsOnItsOwnLine", "  abcdefghijkl", "  |abcdefghij|kl"},
        BreakRow{"EveryLineHoldsACharacterEvenWhenNoneFits", "abc de", "a|b|c |d|e", 0, true, taLeftJustify,
                 "", 20},
        BreakRow{"WithoutWrapCharsAHyphenatedWordStaysWhole", "xx long-word", "xx |long-word"},
        BreakRow{"AWrapCharAllowsABreakAfterIt", "xx long-word", "xx long-|word", 0, true, taLeftJustify,
                 "-"},
        BreakRow{"WordWrapOffDoesNotWrapLeftAlignedText", "aaa bbb ccc ddd", "aaa bbb ccc ddd", 0, false},
        BreakRow{"CentredTextWrapsEvenWithWordWrapOff", "aaa bbb ccc ddd", "aaa bbb |ccc ddd", 0, false,
                 taCenter},
        BreakRow{"RightAlignedTextWrapsEvenWithWordWrapOff", "aaa bbb ccc ddd", "aaa bbb |ccc ddd", 0, false,
                 taRightJustify},
        BreakRow{"ColumnWrapCountsCharacters", "aaa bbb ccc ddd", "aaa bbb |ccc ddd", 8},
        BreakRow{"ColumnWrapBreaksLongWords", "abcdefghijklmnopqrstuvwxy", "abcdefghij|klmnopqrst|uvwxy", 10},
        BreakRow{"NegativeColumnWrapIsPixels", "aaa bbb ccc ddd", "aaa |bbb |ccc |ddd", -40},
        BreakRow{"EmptyParagraphHasOneEmptyLine", "", ""}),
    [](const ::testing::TestParamInfo<BreakRow>& info) { return std::string(info.param.Name); });

TEST_F(Formatting, LineRecordsWidthsSpacesAndJustificationStart) {
    core.SetTabStops(4); // 32 pixels
    EXPECT_EQ(Format("ab\tcd ef gh ij"), "ab\tcd ef |gh ij");
    LineInfo first = Line(0, 0);
    EXPECT_EQ(+first.TextWidth, 72);  // up to "ef"
    EXPECT_EQ(+first.FullWidth, 80);  // with the blank after it
    EXPECT_EQ(+first.Spaces, 1);      // the blank after the tab; the hanging one does not stretch
    EXPECT_EQ(+first.JustifyFrom, 2); // from the tab on
    LineInfo last = Line(0, 1);
    EXPECT_EQ(+last.TextWidth, 40);
    EXPECT_EQ(+last.Spaces, 0); // the last line is never stretched
    EXPECT_EQ(+last.JustifyFrom, 14);

    Format("aaaa bbbb   cccc");
    first = Line(0, 0);
    EXPECT_EQ(+first.TextWidth, 72);
    EXPECT_EQ(+first.FullWidth, 96);
    EXPECT_EQ(+first.Spaces, 1);
}

TEST_F(Formatting, TabsJumpToCellsOfBlanksOrPixelsOrTakeNoRoom) {
    const struct {
        int Tabs;
        int Width;
    } rows[] = {{4, 32 + 8}, {2, 16 + 8}, {-20, 20 + 8}, {0, 8 + 8}};
    for (const auto& row : rows) {
        core.SetTabStops(row.Tabs);
        Format("a\tb");
        EXPECT_EQ(+Line(0, 0).TextWidth, row.Width) << "TabStops " << row.Tabs;
    }
    core.SetColumnWrap(10);
    core.SetTabStops(4);
    Format("a\tb");
    EXPECT_EQ(+Line(0, 0).TextWidth, 5) << "in column mode a tab moves to a multiple of TabStops characters";
}

TEST_F(Formatting, FormatCodesChangeFontsAndLinesRecordTheStyleTheyStartIn) {
    core.SetStaticFormat(true);
    // Bold characters and blanks are 9 pixels wide; the codes themselves take no room.
    EXPECT_EQ(Format("\x02"
                     "aaaa bbbb\x02 cccc"),
              "\x02"
              "aaaa |bbbb\x02 cccc");
    EXPECT_EQ(+Line(0, 0).StartStyle, 0);
    EXPECT_EQ(+Line(0, 0).TextWidth, 36);
    EXPECT_EQ(+Line(0, 0).FullWidth, 45);
    EXPECT_EQ(+Line(0, 1).StartStyle, sfBold);
    EXPECT_EQ(+Line(0, 1).TextWidth, 36 + 8 + 32);

    core.SetColumnWrap(10);
    EXPECT_EQ(Format("aaaa\x02"
                     "bbbbb\x02 cc"),
              "aaaa\x02"
              "bbbbb\x02 |cc");
    EXPECT_EQ(+Line(0, 0).TextWidth, 9) << "codes count no column";
    EXPECT_EQ(+Line(0, 0).FullWidth, 10);
}

TEST_F(Formatting, LinesCountTheRunsBeforeThemAndMeasureInTheRunsFonts) {
    LoadThroughStream(core, "aaaa bbbb cccc dddd");
    AddRun(core, 0, 5, sfContext | sfBold); // "bbbb" on in bold
    AddRun(core, 0, 10, sfContext);         // back to plain from "cccc"
    FormatAll(core);
    // "aaaa " 40, bold "bbbb" 36: 76 fits; bold blank 9 then "cccc" overflows.
    EXPECT_EQ(Breaks(Par(0)), "aaaa bbbb |cccc dddd");
    EXPECT_EQ(+Line(0, 0).TextWidth, 76);
    EXPECT_EQ(+Line(0, 0).FullWidth, 85);
    EXPECT_EQ(+Line(0, 1).RunIndex, 1) << "the run at the line start itself is not before it";
}

TEST_F(Formatting, WithoutAWindowEveryParagraphIsOneLineOfNoWidth) {
    TRecordingHost host;
    host.Window = false;
    core.SetFormatHost(&host);
    LoadThroughStream(core, "aaa bbb ccc ddd eee fff\r\nx");
    core.ScheduleFormatting();
    EXPECT_EQ(core.LineCount(), 2);
    EXPECT_EQ(+Line(0, 0).Stop, 23);
    EXPECT_EQ(+Line(0, 0).TextWidth, 0);
    core.SetFormatHost(nullptr);
}

TEST_F(Formatting, WidestLineIsTrackedOnlyWhenLinesMayBeWiderThanTheWindow) {
    core.SetWordWrap(false);
    LoadThroughStream(core, "ab\r\nabcdefghijklmnop\r\nabc");
    core.ScheduleFormatting();
    EXPECT_EQ(core.WidestWidth(), 16 * 8);
    EXPECT_EQ(core.WidestLine(), 1);

    core.SetWordWrap(true);
    core.ScheduleFormatting();
    EXPECT_EQ(core.WidestLine(), -1) << "wrapped text never needs a horizontal range";
}

// Every character 8 pixels, but "AV" kerns to 6 less: such a face cannot be measured from
// per-character advances.
class TKerningMeasurer final : public TextMeasurer {
public:
    explicit TKerningMeasurer(int kern = 6) : FKern(kern) {}
    int TextExtent(uint8_t, const char* text, int length) override {
        ++Calls;
        int width = 8 * std::max(length, 0);
        for (int i = 0; i + 1 < length; ++i)
            if (text[i] == 'A' && text[i + 1] == 'V')
                width -= FKern;
        return width;
    }
    TFontMetricsInfo Metrics(uint8_t) override { return {16, 12, 4, 2, 8}; }
    long Calls = 0;

private:
    int FKern;
};

TEST_F(Formatting, KernedFacesAreMeasuredWordByWordAndPlainOnesFromTheirAdvances) {
    auto kerning = std::make_unique<TKerningMeasurer>();
    TKerningMeasurer& measurer = *kerning;
    core.SetMeasurer(std::move(kerning));
    // "AVAVAV" is 48 - 18 = 30 pixels: with "AVAV" (20) and two blanks it fits 80.
    EXPECT_EQ(Format("AVAVAV AVAV ab"), "AVAVAV AVAV |ab");
    EXPECT_EQ(+Line(0, 0).TextWidth, 30 + 8 + 20);
    EXPECT_GT(measurer.Calls, 0);
    // Words measured once are not asked for again, in another order or paragraph.
    const long words = measurer.Calls;
    EXPECT_EQ(Format("AVAV ab AVAVAV\r\nAVAVAV AVAV"), "AVAV ab |AVAVAV");
    EXPECT_EQ(+Line(1, 0).TextWidth, 30 + 8 + 20);
    EXPECT_EQ(measurer.Calls, words) << "the widths of the words are remembered";
    // Another face forgets them: "AVAVAV" is now 48 - 3 and no longer fits beside "AVAV".
    core.SetMeasurer(std::make_unique<TKerningMeasurer>(1));
    EXPECT_EQ(Format("AVAVAV AVAV ab"), "AVAVAV |AVAV ab");
    EXPECT_EQ(+Line(0, 0).TextWidth, 45);

    core.SetMeasurer(std::make_unique<TFixedTextMeasurer>());
    auto& fixed = static_cast<TFixedTextMeasurer&>(core.Measurer());
    Format("aaa bbb ccc ddd");
    const long learnt = fixed.Calls;
    Format("aaa bbb ccc ddd eee fff ggg hhh");
    EXPECT_EQ(fixed.Calls, learnt) << "the advances learnt once serve every later layout";
}

// A monospaced face whose advance is 9.625 pixels: runs are positioned in fractions and rounded
// once, so a character alone measures 10 but eight in a row measure 77.
class TFractionalMeasurer final : public TextMeasurer {
public:
    int TextExtent(uint8_t, const char*, int length) override {
        ++Calls;
        return (std::max(length, 0) * 77 + 4) / 8;
    }
    TFontMetricsInfo Metrics(uint8_t) override { return {16, 12, 4, 2, 10}; }
    long Calls = 0;
};

TEST_F(Formatting, FractionalAdvancesAddUpBeforeTheyAreRounded) {
    auto fractional = std::make_unique<TFractionalMeasurer>();
    TFractionalMeasurer& measurer = *fractional;
    core.SetMeasurer(std::move(fractional));
    core.SetClientSize(78 + 16, 400);
    EXPECT_EQ(Format("aaaaaaaaaaaaaaaaaaaa"), "aaaaaaaa|aaaaaaaa|aaaa") << "eight characters measure 77";
    EXPECT_EQ(+Line(0, 0).TextWidth, 77);
    const long learnt = measurer.Calls;
    EXPECT_EQ(Format("aaaaa aa aaaaaa"), "aaaaa aa |aaaaaa");
    EXPECT_EQ(+Line(0, 0).TextWidth, 48 - 1 + 9 + 19 - 1) << "words lose the overhang, blanks add 19 - 10";
    EXPECT_EQ(measurer.Calls, learnt) << "measured from the advances learnt once";
}

// ---- after an edit ------------------------------------------------------------------------------

class EditFormatting : public Formatting {
protected:
    // Replaces positions a .. e like the control's replace operation, then lays out what changed.
    void Edit(int32_t a, int32_t e, const char* text) {
        S.SetPos(a);
        E.SetPos(e);
        ReplaceText(core, S, E, text);
        core.UpdateAfterEdit();
    }
    // The same text laid out from scratch.
    ::testing::AssertionResult LikeFromScratch() {
        TArtMemoCore fresh;
        fresh.SetClientSize(core.ClientWidth(), core.ClientHeight());
        fresh.SetWordWrap(core.WordWrap());
        fresh.SetWordWrapChars(core.WordWrapChars());
        fresh.SetColumnWrap(core.ColumnWrap());
        fresh.SetStaticFormat(core.StaticFormat());
        LoadThroughStream(fresh, StoreText(core));
        FormatAll(fresh);
        return SameLayout(core, fresh);
    }
    std::string StoreText(TArtMemoCore& c) {
        std::string text;
        for (int p = 0; p < c.ParagraphCount(); ++p) {
            if (p > 0)
                text += "\r\n";
            text += ParText(c.Paragraphs().Par(p));
        }
        return text;
    }

    TRecordingHost host;
    TArtNavigator S{&core};
    TArtNavigator E{&core};
};

TEST_F(EditFormatting, AWordMovesBackUpWhenTheStartOfItsLineIsDeleted) {
    core.SetFormatHost(&host);
    EXPECT_EQ(Format("aaaa bbb cccc dd"), "aaaa bbb |cccc dd");
    Edit(9, 12, ""); // "ccc"
    EXPECT_EQ(Breaks(Par(0)), "aaaa bbb c |dd");
    EXPECT_EQ(+Line(0, 0).Spaces, 2);
    EXPECT_EQ(host.EditFirst, 0) << "the upper line changed too";
    EXPECT_TRUE(LikeFromScratch());
    core.SetFormatHost(nullptr);
}

TEST_F(EditFormatting, BlanksTypedAtALineStartHangOnTheLineAbove) {
    Format("aaaa bbb cccc dd");
    Edit(9, 9, "  ");
    EXPECT_EQ(Breaks(Par(0)), "aaaa bbb   |cccc dd");
    EXPECT_TRUE(LikeFromScratch());
}

TEST_F(EditFormatting, AShortenedLongWordIsLaidOutWholeAgain) {
    Format("aa bbbbbbbbbbbb");
    EXPECT_EQ(Breaks(Par(0)), "aa |bbbbbbbbbb|bb");
    Edit(13, 15, ""); // the piece on the last line
    EXPECT_EQ(Breaks(Par(0)), "aa |bbbbbbbbbb");
    EXPECT_EQ(core.LineCount(), 2);
    EXPECT_TRUE(LikeFromScratch());
}

TEST_F(EditFormatting, TypingInALongParagraphStopsAtTheFirstUnchangedBreak) {
    core.SetFormatHost(&host);
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "abcd efg ";
    Format(text);
    const int lines = core.LineCount();
    Edit(4000, 4000, "x"); // inside a word in the middle: its line still breaks where it did
    EXPECT_EQ(host.EditFirst, 4000 / 9);
    EXPECT_EQ(host.EditLast, host.EditFirst) << "only the edited line was laid out again";
    EXPECT_EQ(core.LineCount(), lines);
    EXPECT_TRUE(LikeFromScratch());
    core.SetFormatHost(nullptr);
}

TEST_F(EditFormatting, AnEditRightAfterALoadLaysOutTheEditedLine) {
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "abcd efg ";
    LoadThroughStream(core, text); // the whole text is marked as changed
    core.ScheduleFormatting();
    Edit(4000, 4000, "xxxxxxx"); // far below the first line, which keeps its break
    EXPECT_TRUE(LikeFromScratch());
}

TEST_F(EditFormatting, AParagraphWaitingForLayoutIsLaidOutWholeAfterAnEdit) {
    core.SetUpdateMode(umOnNeed);
    Format("aaa bbb ccc ddd eee fff ggg");
    core.SetClientSize(160, 400); // wider: everything is due again, nothing formatted yet
    core.ScheduleFormatting();
    Edit(26, 26, "g");
    EXPECT_EQ(Breaks(Par(0)), "aaa bbb ccc ddd |eee fff gggg");
    EXPECT_TRUE(LikeFromScratch());
}

} // namespace
} // namespace zandor::test
