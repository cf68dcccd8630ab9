// Replacing text in the paragraph store: pieces and breaks, runs, line tables, buffers, counters,
// static format codes and the limits of 32-bit sizes.
#include "ReplaceTestText.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/LinesList.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

// ---- text, positions and deltas

struct TextRow {
    const char* Name;
    std::string Before;
    int32_t A, E;
    const char* With;
    std::string After;
    int32_t LineDelta;
};

class ReplaceText_ : public ::testing::TestWithParam<TextRow> {};

TEST_P(ReplaceText_, GivesTheExpectedTextAndLeavesTheNewTextBetweenSAndE) {
    const TextRow& row = GetParam();
    ReplaceBench bench;
    LoadText(bench.Core, row.Before);
    const TReplaceResult r = bench.Replace(row.A, row.E, row.With);
    EXPECT_EQ(bench.Text(), row.After);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
    EXPECT_EQ(r.LengthDelta, int32_t(row.After.size()) - int32_t(row.Before.size()));
    EXPECT_EQ(r.LineDelta, row.LineDelta);
    EXPECT_EQ(bench.S.Pos(), row.A);
    const int32_t inserted = int32_t(row.After.size()) - int32_t(row.Before.size()) + (row.E - row.A);
    EXPECT_EQ(bench.E.Pos(), row.A + inserted);
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.S));
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.E));
    EXPECT_TRUE(bench.List().Modified);
}

INSTANTIATE_TEST_SUITE_P(
    ReplaceRange, ReplaceText_,
    ::testing::Values(
        TextRow{"EmptyTextDeletes", "abcdef", 1, 4, "", "aef", 0},
        TextRow{"EmptyRangeInserts", "abc", 1, 1, "XY", "aXYbc", 0},
        TextRow{"NullTextDeletes", "abc\r\ndef", 2, 5, nullptr, "abdef", -1},
        TextRow{"CrLfAtTheEndMakesAnEmptyParagraph", "ab\r\ncd", 2, 2, "\r\n", "ab\r\n\r\ncd", 1},
        TextRow{"LfCrIsOneBreakToo", "ab\r\ncd", 2, 2, "\n\r", "ab\r\n\r\ncd", 1},
        TextRow{"CrCrIsTwoBreaks", "ab", 2, 2, "\r\r", "ab\r\n\r\n", 2},
        TextRow{"LoneLfAndCrEachBreak", "ab", 1, 1, "x\ny\rz", "ax\r\ny\r\nzb", 2},
        TextRow{"CrLfCrIsTwoBreaks", "", 0, 0, "\r\n\r", "\r\n\r\n", 2},
        TextRow{"DeletingABreakJoins", "ab\r\ncd", 2, 4, "", "abcd", -1},
        TextRow{"AcrossParagraphsWithBreaks", "one\r\ntwo\r\nthree", 1, 12, "X\r\nY", "oX\r\nYree", -1},
        TextRow{"AcrossParagraphsWithoutBreaks", "one\r\ntwo\r\nthree", 2, 7, "-", "on-o\r\nthree", -1},
        TextRow{"EverythingByNothing", "one\r\ntwo", 0, 8, "", "", -1},
        TextRow{"ManyBreaksIntoTheMiddle", "ab", 1, 1, "1\r\n2\r\n3\r\n4", "a1\r\n2\r\n3\r\n4b", 3},
        TextRow{"AtTheVeryEnd", "ab\r\n", 4, 4, "z", "ab\r\nz", 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ReplaceRange, AHalfBreakIsNeverReplaced) {
    ReplaceBench bench;
    LoadText(bench.Core, "ab\r\ncd\r\nef");
    bench.Replace(3, 3, "X"); // an insertion on the LF goes before the CR
    EXPECT_EQ(bench.Text(), "abX\r\ncd\r\nef");
    bench.Replace(4, 8, ""); // from the LF of the first break to the LF of the second
    EXPECT_EQ(bench.Text(), "abX\r\n\r\nef");
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

TEST(ReplaceRange, SAfterEIsAnInternalError) {
    ReplaceBench bench;
    LoadText(bench.Core, "abc");
    bench.S.SetPos(2);
    bench.E.SetPos(1);
    EXPECT_THROW(ReplaceText(bench.Core, bench.S, bench.E, "x"), EInternalError);
    EXPECT_EQ(bench.Text(), "abc");
}

// ---- runs and base styles

TEST(ReplaceRange, JoiningParagraphsMovesTheRunsOfTheSecond) {
    ReplaceBench bench;
    LoadText(bench.Core, "abc\r\ndefg");
    AddRun(bench.Core, 0, 1, sfContext | sfBold, 7);
    AddRun(bench.Core, 1, 0, sfContext | sfItalic, 8);
    AddRun(bench.Core, 1, 2, sfContext | sfUnderline, 9);
    const TReplaceResult r = bench.Replace(3, 5, ""); // the break
    EXPECT_EQ(bench.Text(), "abcdefg");
    const TRunArray& runs = bench.List().Par(0).Extra->Runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(+runs[0].Offset, 1);
    EXPECT_EQ(+runs[0].Context, 7);
    EXPECT_EQ(+runs[1].Offset, 3);
    EXPECT_EQ(+runs[1].Context, 8);
    EXPECT_EQ(+runs[2].Offset, 5);
    EXPECT_EQ(+runs[2].Context, 9);
    EXPECT_TRUE(r.RunsRemoved); // the second paragraph's runs must be parsed in their new place
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

TEST(ReplaceRange, RunsInsideTheRangeGoAndLaterRunsFollowTheirText) {
    ReplaceBench bench;
    LoadText(bench.Core, "0123456789");
    AddRun(bench.Core, 0, 1, sfContext, 1);
    AddRun(bench.Core, 0, 3, sfContext, 2); // inside the replaced 3 .. 5
    AddRun(bench.Core, 0, 6, sfContext, 3); // at E
    const TReplaceResult r = bench.Replace(3, 6, "ab");
    EXPECT_EQ(bench.Text(), "012ab6789");
    const TRunArray& runs = bench.List().Par(0).Extra->Runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(+runs[0].Context, 1);
    EXPECT_EQ(+runs[1].Context, 3);
    EXPECT_EQ(+runs[1].Offset, 5);
    EXPECT_TRUE(r.RunsRemoved);
    EXPECT_EQ(bench.E.RunIndex(), 1); // the run at the old E begins after the new text
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.E));
}

// S may have counted the runs at its own offset as passed (CharWidth does, to measure the character
// there); after an edit inside the paragraph those runs are gone or follow the text after the new
// one, so S counts only the runs before it again.
struct PassedRunsRow {
    const char* Name;
    int32_t E;
    const char* With;
};

class SPassedTheRunsAtItsOffset : public ::testing::TestWithParam<PassedRunsRow> {};

TEST_P(SPassedTheRunsAtItsOffset, AndAfterTheEditSeesTheRunBeforeIt) {
    const PassedRunsRow& row = GetParam();
    ReplaceBench bench;
    LoadText(bench.Core, "0123456789");
    AddRun(bench.Core, 0, 1, sfContext, 1);
    AddRun(bench.Core, 0, 4, sfContext, 2);
    bench.S.SetPos(4);
    bench.S.SkipRunsHere();
    ASSERT_EQ(+bench.S.CurrentRun()->Context, 2);
    bench.E.SetPos(row.E);
    ReplaceText(bench.Core, bench.S, bench.E, row.With);
    EXPECT_EQ(+bench.S.CurrentRun()->Context, 1);
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.S));
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.E));
}

INSTANTIATE_TEST_SUITE_P(ReplaceRange, SPassedTheRunsAtItsOffset,
                         ::testing::Values(PassedRunsRow{"Typing", 4, "ab"}, PassedRunsRow{"Deleting", 6, ""},
                                           PassedRunsRow{"Overwriting", 5, "x"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ReplaceRange, RunsOnlyBeforeSAreNotReportedRemoved) {
    ReplaceBench bench;
    LoadText(bench.Core, "0123456789\r\nxyz");
    AddRun(bench.Core, 0, 1, sfContext, 1);
    EXPECT_FALSE(bench.Replace(4, 4, "a").RunsRemoved);
    EXPECT_FALSE(bench.Replace(4, 4, "\r\n").RunsRemoved);
    EXPECT_EQ(RunCount(bench.List().Par(0)), 1);
    EXPECT_EQ(RunCount(bench.List().Par(1)), 0);
}

TEST(ReplaceRange, NewParagraphsStartInTheContextInForceAtS) {
    ReplaceBench bench;
    LoadText(bench.Core, "abcdef");
    AddRun(bench.Core, 0, 2, sfContext | sfItalic, 42);
    bench.Replace(4, 4, "1\r\n2\r\n3");
    EXPECT_EQ(bench.Text(), "abcd1\r\n2\r\n3ef");
    const TParagraphsList& list = bench.List();
    const TDynInfo* shared = BaseStyleOf(list.Par(1));
    EXPECT_EQ(+shared->Context, 42);
    EXPECT_EQ(+shared->Offset, 2) << "one copy held by both new paragraphs";
    EXPECT_EQ(BaseStyleOf(list.Par(2)), shared);
    EXPECT_EQ(BaseStyleOf(list.Par(0)), &kDefaultRunState);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(ReplaceRange, WithoutARunBeforeSNewParagraphsShareTheBaseStyleOfSsParagraph) {
    ReplaceBench bench;
    LoadText(bench.Core, "abc\r\ndef");
    TDynInfo comment = kDefaultRunState;
    comment.StyleFlags = sfContext;
    comment.Context = 5;
    SetBaseStyle(bench.List().Par(1), &comment, true);
    AddRun(bench.Core, 1, 1, sfBold, 0); // a plain run after S does not count
    bench.Replace(5, 5, "x\r\ny\r\n");
    const TDynInfo* base = BaseStyleOf(bench.List().Par(1));
    ASSERT_EQ(+base->Context, 5);
    for (int p = 2; p <= 3; ++p)
        EXPECT_EQ(BaseStyleOf(bench.List().Par(p)), base);
    EXPECT_EQ(+base->Offset, 3);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
    // A run without a context in force at S gives the default.
    LoadText(bench.Core, "abcdef");
    AddRun(bench.Core, 0, 1, sfBold, 0);
    bench.Replace(3, 3, "\r\n");
    EXPECT_EQ(BaseStyleOf(bench.List().Par(1)), &kDefaultRunState);
}

TEST(ReplaceRange, TheFirstNewParagraphKeepsWhatSsParagraphCarried) {
    ReplaceBench bench;
    LoadText(bench.Core, "abcdef\r\nxyz");
    ParInfo& par = bench.List().Par(0);
    par.Flags |= pfParsed | pfKeywords | pfNoWrap | pfLinesValid;
    ExtendPar(par).ParColor = 0x123456;
    par.Extra->Obj = 99;
    LineInfo line0 = LoadFirstLine(par);
    line0.StartStyle = sfBold;
    StoreFirstLine(par, line0);
    bench.Replace(2, 9, "Q\r\nR");
    const ParInfo& first = bench.List().Par(0);
    EXPECT_EQ(first.Flags & (pfParsed | pfKeywords | pfLinesValid | pfNoWrap), pfParsed | pfKeywords);
    EXPECT_EQ(ParColorOf(first), 0x123456);
    EXPECT_EQ(first.Extra->Obj, 99);
    EXPECT_EQ(LoadFirstLine(first).StartStyle, sfBold);
    const ParInfo& second = bench.List().Par(1);
    EXPECT_EQ(second.Flags & (pfParsed | pfKeywords | pfLinesValid), 0);
    EXPECT_EQ(ParColorOf(second), kColorUnset);
    EXPECT_EQ(bench.Text(), "abQ\r\nRyz");
}

// ---- static format codes

struct CodesRow {
    const char* Name;
    std::string Before;
    int32_t A, E;
    std::string With;
    bool Reinsert;
    std::string After;
};

class CompensationCodes_ : public ::testing::TestWithParam<CodesRow> {};

TEST_P(CompensationCodes_, KeepTheStyleOfTheFollowingText) {
    const CodesRow& row = GetParam();
    ReplaceBench bench;
    bench.Core.SetStaticFormat(true);
    LoadText(bench.Core, row.Before);
    bench.Replace(row.A, row.E, row.With.c_str(), row.Reinsert);
    EXPECT_EQ(bench.Text(), row.After);
    EXPECT_EQ(bench.E.Pos(), row.A + int32_t(row.After.size() - row.Before.size()) + (row.E - row.A));
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

INSTANTIATE_TEST_SUITE_P(ReplaceRange, CompensationCodes_,
                         ::testing::Values(CodesRow{"DeletedBoldCodeIsPutBack",
                                                    "a\x02"
                                                    "bc",
                                                    1, 3, "", true,
                                                    "a\x02"
                                                    "c"},
                                           CodesRow{"DeletedPairLeavesNothing",
                                                    "a\x02"
                                                    "b\x02"
                                                    "c",
                                                    1, 4, "", true, "ac"},
                                           CodesRow{"WithoutReinsertNothingIsAdded",
                                                    "a\x02"
                                                    "bc",
                                                    1, 3, "", false, "ac"},
                                           CodesRow{"InsertedCodeIsClosed", "ab", 1, 1, "\x01x", true,
                                                    "a\x01x\x01"
                                                    "b"},
                                           CodesRow{"RemovedAndInsertedCancel",
                                                    "a\x02"
                                                    "b",
                                                    1, 2, "\x02", true,
                                                    "a\x02"
                                                    "b"},
                                           CodesRow{"ClosingOrderUnderlineItalicBoldHighlightAlt", "x", 0, 0,
                                                    "\x04\x03\x02\x01\x15", true,
                                                    "\x04\x03\x02\x01\x15\x15\x01\x02\x03\x04x"},
                                           CodesRow{"CodesAcrossParagraphsCount",
                                                    "a\x03\r\nb\x02"
                                                    "c",
                                                    1, 5, "\r\n", true,
                                                    "a\r\n\x03\x02"
                                                    "c"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ReplaceRange, NewParagraphsStartInTheStaticStyleOfTheTextBeforeThem) {
    ReplaceBench bench;
    bench.Core.SetStaticFormat(true);
    LoadText(bench.Core, "x\x02y");
    bench.Replace(3, 3, "\r\n\x01z\r\nw");
    EXPECT_EQ(bench.Text(), "x\x02y\r\n\x01z\r\nw\x01");
    const TParagraphsList& list = bench.List();
    EXPECT_EQ(+LoadFirstLine(list.Par(1)).StartStyle, sfBold);
    EXPECT_EQ(+LoadFirstLine(list.Par(2)).StartStyle, sfBold | sfItalic);
}

TEST(ReplaceRange, FormatCodesAreOrdinaryTextWithoutStaticFormat) {
    ReplaceBench bench;
    LoadText(bench.Core, "a\x02"
                         "bc");
    bench.Replace(1, 3, "\x01\r\n");
    EXPECT_EQ(bench.Text(), "a\x01\r\nc");
    EXPECT_EQ(LoadFirstLine(bench.List().Par(1)).StartStyle, 0);
}

// ---- trailing blanks

struct BlanksRow {
    const char* Name;
    std::string Before;
    int32_t A, E;
    std::string With;
    std::string After;
};

class DiscardTrailing : public ::testing::TestWithParam<BlanksRow> {};

TEST_P(DiscardTrailing, DropsBlanksThatWouldEndAParagraph) {
    const BlanksRow& row = GetParam();
    ReplaceBench bench;
    LoadText(bench.Core, row.Before);
    bench.Replace(row.A, row.E, row.With.c_str(), true, true);
    EXPECT_EQ(bench.Text(), row.After);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.S));
    EXPECT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.E));
}

INSTANTIATE_TEST_SUITE_P(
    ReplaceRange, DiscardTrailing,
    ::testing::Values(BlanksRow{"EnterAfterBlanksRemovesThem", "ab \t ", 5, 5, "\r\n", "ab\r\n"},
                      BlanksRow{"EnterInsideBlanksTakesThoseBeforeIt", "ab  cd", 3, 3, "\r\n", "ab\r\n cd"},
                      BlanksRow{"BlankFirstPieceGoesToo", "ab ", 3, 3, " \t\r\nx", "ab\r\nx"},
                      BlanksRow{"PiecesLoseTheirBlanks", "", 0, 0, "a \r\nb\t\r\nc ", "a\r\nb\r\nc"},
                      BlanksRow{"LastPieceBeforeTextKeepsThem", "XY", 1, 1, "a \r\nb ", "Xa\r\nb Y"},
                      BlanksRow{"WithoutABreakNothingIsDropped", "ab", 2, 2, "  ", "ab  "}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- display lines inside one paragraph

class LineTables : public ::testing::Test {
protected:
    void SetUp() override {
        LoadText(bench.Core, "first\r\n0123456789abcdefghij\r\nlast");
        WrapAt(bench.Core, 1, {5, 10, 15}); // lines 01234 / 56789 / abcde / fghij
        bench.List().ResetDirty();
    }
    std::vector<std::pair<int32_t, int32_t>> Lines(int par) {
        TLinesList lines(&bench.List().Par(par));
        std::vector<std::pair<int32_t, int32_t>> out;
        for (int k = 0; k < lines.LineCount(); ++k)
            out.emplace_back(+lines.LineAt(k)->Start, +lines.LineAt(k)->Stop);
        return out;
    }
    ReplaceBench bench;
};

TEST_F(LineTables, AnEditInsideOneLineMovesTheLaterLines) {
    const TReplaceResult r = bench.Replace(7 + 6, 7 + 7, "XYZ"); // '6' -> XYZ
    EXPECT_EQ(Lines(1), (std::vector<std::pair<int32_t, int32_t>>{{0, 5}, {5, 12}, {12, 17}, {17, 22}}));
    EXPECT_EQ(r.LineDelta, 0);
    EXPECT_TRUE(bench.List().LinesReusable);
    EXPECT_EQ(bench.List().DirtyFirstLine, 2);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

TEST_F(LineTables, AnEditAcrossLinesMergesThem) {
    const TReplaceResult r = bench.Replace(7 + 3, 7 + 12, "-"); // "3456789ab" -> "-"
    EXPECT_EQ(Lines(1), (std::vector<std::pair<int32_t, int32_t>>{{0, 7}, {7, 12}}));
    EXPECT_EQ(r.LineDelta, -2);
    EXPECT_EQ(bench.List().LineCount, 1 + 2 + 1);
    EXPECT_EQ(bench.List().VisibleLineCount, 4);
    EXPECT_EQ(+bench.List().Par(2).FirstLine, 3);
    EXPECT_TRUE(bench.List().LinesReusable);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

TEST_F(LineTables, RunsAfterTheEditDropTheLinesAfterIt) {
    AddRun(bench.Core, 1, 12, sfContext, 3);
    const TReplaceResult r = bench.Replace(7 + 6, 7 + 6, "+");
    EXPECT_EQ(Lines(1), (std::vector<std::pair<int32_t, int32_t>>{{0, 5}, {5, 21}}));
    EXPECT_EQ(r.LineDelta, -2);
    EXPECT_TRUE(r.RunsRemoved);
    EXPECT_FALSE(bench.List().LinesReusable);
    EXPECT_EQ(bench.List().DirtyLineDelta, -2);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

TEST_F(LineTables, ABreakReplacesTheLineTablesOfTheChangedParagraphs) {
    const TReplaceResult r = bench.Replace(7 + 12, 7 + 12, "\r\n");
    EXPECT_EQ(Lines(1), (std::vector<std::pair<int32_t, int32_t>>{{0, 12}}));
    EXPECT_EQ(Lines(2), (std::vector<std::pair<int32_t, int32_t>>{{0, 8}}));
    EXPECT_EQ(r.LineDelta, -2);
    EXPECT_FALSE(bench.List().LinesReusable);
    EXPECT_EQ(+bench.List().Par(3).FirstLine, 3);
    EXPECT_EQ(bench.E.LineIndex(), 0);
    EXPECT_EQ(bench.E.RunIndex(), 0);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

// ---- buffers

TEST(ReplaceRange, TypingMovesTheTailInsideTheParagraphsOwnBuffer) {
    ReplaceBench bench;
    LoadText(bench.Core, std::string(100, 'a'));
    bench.Replace(50, 50, "b"); // leaves the load block: a buffer with slack
    const char* buffer = bench.List().Par(0).Text;
    EXPECT_TRUE(bench.List().Par(0).Flags & pfOwnText);
    EXPECT_EQ(ParTextCapacity(buffer), TextBufferSizeFor(101));
    bench.Replace(10, 10, "c"); // 102 characters fit 101 + 1 + 1 bytes
    EXPECT_EQ(bench.List().Par(0).Text, buffer);
    bench.Replace(10, 11, ""); // one free byte is no reason to move
    EXPECT_EQ(bench.List().Par(0).Text, buffer);
    bench.Replace(0, 0, "xy"); // overflow: a new buffer with slack
    EXPECT_NE(bench.List().Par(0).Text, buffer);
    EXPECT_EQ(ParTextCapacity(bench.List().Par(0).Text), TextBufferSizeFor(103));
    bench.Replace(0, 90, ""); // most of it free: a small buffer takes over
    EXPECT_EQ(ParTextCapacity(bench.List().Par(0).Text), TextBufferSizeFor(13));
    EXPECT_EQ(bench.Text(), std::string(13, 'a'));
}

TEST(ReplaceRange, ANewTextInsideTheEditedBufferIsCopiedBeforeTheTailMoves) {
    ReplaceBench bench;
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += static_cast<char>('a' + i % 26);
    LoadText(bench.Core, text);
    bench.Replace(0, 0, "-"); // own buffer with room for a few more
    const char* buffer = bench.List().Par(0).Text;
    bench.S.SetPos(0);
    bench.E.SetPos(0);
    ReplaceText(bench.Core, bench.S, bench.E, buffer + 996); // its own last five characters
    EXPECT_EQ(bench.List().Par(0).Text, buffer);
    EXPECT_EQ(bench.Text(), text.substr(995) + "-" + text);
}

TEST(ReplaceRange, TheParagraphArrayShrinksWhenMostOfItIsFree) {
    ReplaceBench bench;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "p\r\n";
    LoadText(bench.Core, text);
    const int32_t capacity = bench.List().Capacity();
    bench.Replace(0, 4000 * 3, "");
    EXPECT_EQ(bench.List().Count(), 1001);
    EXPECT_LT(bench.List().Capacity(), capacity);
    EXPECT_GE(bench.List().Capacity(), 1001 + 1001 / 32 + 4);
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

// ---- bookkeeping

TEST(ReplaceRange, CountersAndThePendingFormatRangeFollowTheChange) {
    ReplaceBench bench;
    LoadText(bench.Core, "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6");
    TParagraphsList& list = bench.List();
    list.ResetDirty();
    list.ParsedTo = 5;
    list.BgNext = 2;                         // inside the range below
    list.BgLast = 5;                         // after it
    bench.Replace(3, 9, "a\r\nb\r\nc\r\nd"); // paragraphs 1 .. 3 become four
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.BgNext, 1);
    EXPECT_EQ(list.BgLast, 6);
    EXPECT_EQ(list.DirtyFrom, 1);
    EXPECT_EQ(list.DirtyTo, 4);
    EXPECT_EQ(list.DirtyFirstLine, 1);
    EXPECT_EQ(list.DirtyLineDelta, 1);
    EXPECT_EQ(list.ParsedTo, 0);
    list.BgNext = list.Count(); // nothing pending stays nothing pending
    list.BgLast = 1;            // inside: ends with the new paragraphs
    bench.Replace(0, 4, "");
    EXPECT_EQ(list.BgNext, list.Count());
    EXPECT_EQ(list.BgLast, 0);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(ReplaceRange, HiddenParagraphsAddNoVisibleLines) {
    ReplaceBench bench;
    LoadText(bench.Core, "a\r\nb\r\nc");
    HidePar(bench.Core, 1);
    bench.Replace(4, 4, "x\r\ny"); // inside the hidden paragraph
    EXPECT_EQ(bench.List().VisibleLineCount, 2);
    EXPECT_EQ(bench.List().LineCount, 4);
    EXPECT_TRUE(IsHidden(bench.List().Par(2)));
    EXPECT_TRUE(StoreInvariantsHold(bench.List()));
}

// ---- 32-bit limits

// A paragraph of length characters whose buffer is reserved but never written, so a text near
// the 32-bit limit costs address space only.
void LoadHugeParagraphs(TParagraphsList& list, const std::vector<int32_t>& lengths) {
    list.ClearAll();
    int32_t start = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
        char* block = list.AddLoadBlock(static_cast<size_t>(lengths[i]) + 1);
        if (lengths[i] < 4096)
            std::memset(block, 'a', static_cast<size_t>(lengths[i]));
        block[lengths[i]] = '\0';
        ParInfo par{};
        par.Text = block;
        par.Start = start;
        par.FirstLine = static_cast<int32_t>(i);
        const int index = list.Add(&par);
        SetParLength(list.Par(index), lengths[i]);
        LineInfo line{0, lengths[i], 0, 0, 0, lengths[i], 0, 0};
        StoreFirstLine(list.Par(index), line);
        start += lengths[i] + 2;
    }
    list.TextLength = start - 2;
    list.LineCount = list.VisibleLineCount = static_cast<int32_t>(lengths.size());
    list.ResetDirty();
}

TEST(ReplaceRange, AParagraphBeyondThirtyTwoBitsIsTooLongAndChangesNothing) {
    // The longest paragraph whose buffer (with its slack and terminator) still fits 32 bits.
    const auto bufferSize = [](int64_t n) { return n + n / 64 + 1; };
    int64_t n = int64_t(INT32_MAX) * 64 / 65;
    while (bufferSize(n + 1) <= INT32_MAX)
        ++n;
    while (bufferSize(n) > INT32_MAX)
        --n;
    const auto longest = static_cast<int32_t>(n);
    ASSERT_EQ(TextBufferSizeFor(longest), bufferSize(longest));
    ReplaceBench bench;
    TParagraphsList& list = bench.List();
    LoadHugeParagraphs(list, {longest});
    const char* text = list.Par(0).Text;
    bench.S.SetPos(longest);
    bench.E.SetPos(longest);
    EXPECT_THROW(ReplaceText(bench.Core, bench.S, bench.E, "x"), ETextTooLong);
    bench.S.SetPos(0);
    bench.E.SetPos(0);
    EXPECT_THROW(ReplaceText(bench.Core, bench.S, bench.E, "\r\nx"), ETextTooLong);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Par(0).Text, text);
    EXPECT_EQ(ParLength(list.Par(0)), longest);
    EXPECT_EQ(list.TextLength, longest);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(bench.E.Pos(), 0);
}

TEST(ReplaceRange, ATextLengthBeyondThirtyTwoBitPositionsIsTooLong) {
    ReplaceBench bench;
    TParagraphsList& list = bench.List();
    LoadHugeParagraphs(list, {1073741000, 1073740000, 8});
    const auto room = static_cast<int32_t>(kMaxTextLength - list.TextLength);
    const std::string fits(static_cast<size_t>(room), 'a');
    const std::string tooMuch(static_cast<size_t>(room) + 1, 'a');
    bench.S.SetPos(3);
    bench.E.SetPos(3);
    EXPECT_THROW(ReplaceText(bench.Core, bench.S, bench.E, tooMuch.c_str()), ETextTooLong);
    EXPECT_EQ(list.TextLength, kMaxTextLength - room);
    EXPECT_FALSE(list.Modified);
    bench.S.SetPos(list.TextLength);
    bench.E.SetPos(list.TextLength);
    ReplaceText(bench.Core, bench.S, bench.E, fits.c_str()); // exactly to the limit
    EXPECT_EQ(list.TextLength, kMaxTextLength);
    EXPECT_EQ(bench.E.Pos(), kMaxTextLength);
    bench.S.SetPos(bench.E.Pos());
    EXPECT_THROW(ReplaceText(bench.Core, bench.S, bench.E, "\r\n"), ETextTooLong);
}

TEST(ReplaceRange, SplittingOrJoiningParagraphsUpToTheLimitKeepsPositionsIn32Bits) {
    ReplaceBench bench;
    TParagraphsList& list = bench.List();
    LoadHugeParagraphs(list, {1073741000, 1073740000, 8});
    const auto room = static_cast<size_t>(kMaxTextLength - list.TextLength);
    const int32_t lastStart = list.Par(2).Start;
    // A break and text that end exactly at the limit: the new last paragraph ends there.
    const std::string split = "\r\n" + std::string(room - 2, 'b');
    bench.S.SetPos(list.TextLength);
    bench.E.SetPos(list.TextLength);
    ReplaceText(bench.Core, bench.S, bench.E, split.c_str());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.TextLength, kMaxTextLength);
    EXPECT_EQ(+list.Par(3).Start, lastStart + 10);
    EXPECT_EQ(list.Par(3).Start + ParLength(list.Par(3)), kMaxTextLength);
    EXPECT_EQ(bench.E.Pos(), kMaxTextLength);
    // Replacing that break by two characters joins the paragraphs and keeps the length. (The
    // store's invariant check would read the untouched gigabytes of the first two paragraphs.)
    bench.S.SetPos(lastStart + 8);
    bench.E.SetPos(lastStart + 10);
    ReplaceText(bench.Core, bench.S, bench.E, "cc");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.TextLength, kMaxTextLength);
    EXPECT_EQ(+list.Par(2).Start, lastStart);
    EXPECT_EQ(ParText(list.Par(2)), "aaaaaaaacc" + std::string(room - 2, 'b'));
}

} // namespace
} // namespace zandor::test
