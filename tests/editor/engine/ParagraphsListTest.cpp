// The paragraph record helpers and the list's bookkeeping: compact and extended forms, base-style
// references, owned text, shifts across blocks, the dirty range and releasing everything.
#include "StoreInvariants.h"

#include "editor/engine/EngineErrors.h"
#include "editor/engine/LinesList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zandor {
namespace {

using test::FillParagraphs;
using test::ParText;
using test::StoreInvariantsHold;

std::vector<std::string> NumberedTexts(int n) {
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i)
        texts.push_back("par " + std::to_string(i) + std::string(static_cast<size_t>(i % 7), 'x'));
    return texts;
}

TDynInfo ContextState(int32_t context) {
    TDynInfo state = kDefaultRunState;
    state.StyleFlags = sfContext | sfBold;
    state.Context = context;
    state.Depth = 0;
    state.Stack[0] = static_cast<int16_t>(context);
    return state;
}

// ---- compact and extended forms --------------------------------------------------------------

struct LengthRow {
    int32_t Length;
    bool Extended;
};

class ParLengthForm : public ::testing::TestWithParam<LengthRow> {};

TEST_P(ParLengthForm, LengthsFrom65535OnNeedTheExtendedForm) {
    TParagraphsList list;
    FillParagraphs(list, {"abc"});
    ParInfo& par = list.Par(0);
    SetParLength(par, GetParam().Length);
    EXPECT_EQ(IsExtended(par), GetParam().Extended);
    EXPECT_EQ(ParLength(par), GetParam().Length);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParLengthForm,
                         ::testing::Values(LengthRow{0, false}, LengthRow{65534, false},
                                           LengthRow{65535, true}, LengthRow{65536, true},
                                           LengthRow{1 << 30, true}));

TEST(ParagraphsList, ExtendedParagraphKeepsExtendedFormWhenItShrinks) {
    TParagraphsList list;
    FillParagraphs(list, {"abc"});
    SetParLength(list.Par(0), 70000);
    SetParLength(list.Par(0), 3);
    EXPECT_TRUE(IsExtended(list.Par(0)));
    EXPECT_EQ(ParLength(list.Par(0)), 3);
}

struct FirstLineRow {
    const char* Name;
    LineInfo Line; // for a paragraph of 10 characters
    bool Extended;
};

class StoreFirstLineForm : public ::testing::TestWithParam<FirstLineRow> {};

TEST_P(StoreFirstLineForm, StaysCompactOnlyWhenTheCompactFormHoldsTheLine) {
    TParagraphsList list;
    FillParagraphs(list, {"0123456789"});
    ParInfo& par = list.Par(0);
    const LineInfo& line = GetParam().Line;
    StoreFirstLine(par, line);
    EXPECT_EQ(IsExtended(par), GetParam().Extended);
    const LineInfo back = LoadFirstLine(par);
    EXPECT_EQ(+back.Start, +line.Start);
    EXPECT_EQ(+back.Stop, +line.Stop);
    EXPECT_EQ(+back.TextWidth, +line.TextWidth);
    EXPECT_EQ(+back.JustifyFrom, +line.JustifyFrom);
    EXPECT_EQ(+back.StartStyle, +line.StartStyle);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreFirstLineForm,
    ::testing::Values(FirstLineRow{"plain", {0, 10, 80, 80, 0, 10, 0, 0}, false},
                      FirstLineRow{"widest16bit", {0, 10, 65535, 65535, 0, 10, 0, 0}, false},
                      FirstLineRow{"wider", {0, 10, 65536, 65536, 0, 10, 0, 0}, true},
                      FirstLineRow{"justifyInside", {0, 10, 80, 80, 2, 4, 0, 0}, true},
                      FirstLineRow{"staticStyle", {0, 10, 80, 80, 0, 10, sfBold, 0}, true},
                      FirstLineRow{"shortLine", {0, 6, 48, 48, 0, 6, 0, 0}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ParagraphsList, ExtendingCarriesTheCompactStateOver) {
    TParagraphsList list;
    FillParagraphs(list, {"hello"});
    ParInfo& par = list.Par(0);
    par.Level = 3 | plCollapseFromUsed;
    StoreFirstLine(par, LineInfo{0, 5, 40, 40, 0, 5, 0, 0});
    const ParExtraInfo& extra = ExtendPar(par);
    EXPECT_EQ(+extra.Length, 5);
    EXPECT_EQ(+extra.FirstLineInfo.Stop, 5);
    EXPECT_EQ(+extra.FirstLineInfo.TextWidth, 40);
    EXPECT_EQ(+extra.FirstLineInfo.FullWidth, 40);
    EXPECT_EQ(+extra.FirstLineInfo.JustifyFrom, 5);
    EXPECT_EQ(extra.CollapseFrom, 1);
    EXPECT_EQ(extra.CollapseTo, 0);
    EXPECT_EQ(ParColorOf(par), kColorUnset);
    EXPECT_EQ(ParBackColorOf(par), kColorUnset);
    EXPECT_EQ(BaseStyleOf(par), &kDefaultRunState);
    EXPECT_EQ(LineCountOf(par), 1);
    EXPECT_EQ(RunCount(par), 0);
    EXPECT_EQ(&ExtendPar(par), &extra); // one way: a second call changes nothing
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(ParagraphsList, RunCountExtendsOnlyForRuns) {
    TParagraphsList list;
    FillParagraphs(list, {"abc", "def"});
    SetRunCount(list.Par(0), 0);
    SetRunCount(list.Par(0), -2);
    EXPECT_FALSE(IsExtended(list.Par(0)));
    SetRunCount(list.Par(1), 2);
    EXPECT_TRUE(IsExtended(list.Par(1)));
    EXPECT_EQ(RunCount(list.Par(1)), 2);
    EXPECT_EQ(+list.Par(1).Extra->Runs[1].Offset, 0);
    SetRunCount(list.Par(1), 0);
    EXPECT_EQ(RunCount(list.Par(1)), 0);
    EXPECT_TRUE(IsExtended(list.Par(1)));
}

// ---- line view -------------------------------------------------------------------------------

TEST(LinesList, CompactLineZeroReadsAsTheWholeParagraph) {
    TParagraphsList list;
    FillParagraphs(list, {"abcdefg"});
    TLinesList lines(&list.Par(0));
    ASSERT_EQ(lines.LineCount(), 1);
    const LineInfo* line = lines.LineAt(0);
    EXPECT_EQ(+line->Start, 0);
    EXPECT_EQ(+line->Stop, 7);
    EXPECT_EQ(+line->JustifyFrom, 7);
    EXPECT_EQ(+line->TextWidth, 7);
    EXPECT_EQ(+line->FullWidth, 7);
    EXPECT_EQ(+line->Spaces, 0);
    EXPECT_EQ(+line->RunIndex, 0);
    EXPECT_THROW(lines.LineAt(1), ERangeError);
    EXPECT_THROW(lines.LineAt(-1), ERangeError);
}

TEST(LinesList, PutLineZeroOnACompactParagraphIsKept) {
    TParagraphsList list;
    FillParagraphs(list, {"abcdefg"});
    TLinesList lines(&list.Par(0));
    lines.PutLine(0, LineInfo{0, 7, 99, 99, 0, 7, 0, 0});
    EXPECT_FALSE(IsExtended(list.Par(0)));
    EXPECT_EQ(+lines.LineAt(0)->TextWidth, 99);
    lines.PutLine(0, LineInfo{0, 7, 99, 120, 1, 3, sfItalic, 0});
    EXPECT_TRUE(IsExtended(list.Par(0)));
    LineInfo back{};
    lines.GetLine(0, back);
    EXPECT_EQ(+back.JustifyFrom, 3);
    EXPECT_EQ(+back.StartStyle, sfItalic);
}

TEST(LinesList, SetLineCountSizesTheLineTable) {
    TParagraphsList list;
    FillParagraphs(list, {"abcdefghij"});
    TLinesList lines(&list.Par(0));
    lines.SetLineCount(0);
    EXPECT_EQ(lines.LineCount(), 1);
    EXPECT_FALSE(IsExtended(list.Par(0)));
    lines.SetLineCount(3);
    EXPECT_EQ(lines.LineCount(), 3);
    lines.PutLine(0, LineInfo{0, 4, 4, 4, 0, 4, 0, 0});
    lines.PutLine(1, LineInfo{4, 8, 4, 4, 0, 8, 0, 0});
    lines.PutLine(2, LineInfo{8, 10, 2, 2, 0, 10, 0, 0});
    EXPECT_TRUE(StoreInvariantsHold(list, {.Counters = false}));
    EXPECT_EQ(+lines.LineAt(2)->Start, 8);
    EXPECT_THROW(lines.LineAt(3), ERangeError);
    lines.SetLineCount(1);
    EXPECT_EQ(lines.LineCount(), 1);
    EXPECT_THROW(lines.LineAt(1), ERangeError);
}

TEST(LinesList, WithoutAParagraphEveryLineIsOutOfRange) {
    TLinesList lines;
    EXPECT_EQ(lines.LineCount(), 0);
    EXPECT_THROW(lines.LineAt(0), ERangeError);
    EXPECT_THROW(lines.PutLine(0, LineInfo{}), ERangeError);
}

// ---- base styles -----------------------------------------------------------------------------

TEST(ParagraphsList, StateWithoutContextMeansTheDefaultAndExtendsNothing) {
    TParagraphsList list;
    FillParagraphs(list, {"abc"});
    TDynInfo bold = kDefaultRunState;
    bold.StyleFlags = sfBold;
    SetBaseStyle(list.Par(0), &bold, true);
    SetBaseStyle(list.Par(0), nullptr, false);
    EXPECT_FALSE(IsExtended(list.Par(0)));
    EXPECT_EQ(BaseStyleOf(list.Par(0)), &kDefaultRunState);
}

TEST(ParagraphsList, CopiedBaseStyleIsCountedOnceAndSharedOnesCountEveryHolder) {
    TParagraphsList list;
    FillParagraphs(list, {"a", "b", "c"});
    const TDynInfo run = ContextState(42);
    SetBaseStyle(list.Par(0), &run, true);
    const TDynInfo* copy = BaseStyleOf(list.Par(0));
    EXPECT_NE(copy, &run);
    EXPECT_EQ(+copy->Offset, 1);
    EXPECT_EQ(+copy->Context, 42);
    SetBaseStyle(list.Par(1), copy, false);
    SetBaseStyle(list.Par(2), copy, false);
    EXPECT_EQ(BaseStyleOf(list.Par(2)), copy);
    EXPECT_EQ(+copy->Offset, 3);
    EXPECT_TRUE(StoreInvariantsHold(list));

    // Dropping holders one by one; the last one frees the record (the sanitizer build sees a leak
    // or a double free if the count is wrong).
    SetBaseStyle(list.Par(0), nullptr, false);
    EXPECT_EQ(+copy->Offset, 2);
    ReleasePar(list.Par(1)); // leaves paragraph 1 empty
    list.ShiftStarts(2, -1);
    EXPECT_EQ(+copy->Offset, 1);
    EXPECT_EQ(+BaseStyleOf(list.Par(2))->Context, 42);
    EXPECT_TRUE(StoreInvariantsHold(list, {.Counters = false}));
}

TEST(ParagraphsList, ReassigningTheOnlyReferenceToItselfKeepsTheRecord) {
    TParagraphsList list;
    FillParagraphs(list, {"a"});
    const TDynInfo run = ContextState(7);
    SetBaseStyle(list.Par(0), &run, true);
    const TDynInfo* held = BaseStyleOf(list.Par(0));
    SetBaseStyle(list.Par(0), held, false);
    EXPECT_EQ(+BaseStyleOf(list.Par(0))->Context, 7);
    EXPECT_EQ(+BaseStyleOf(list.Par(0))->Offset, 1);
    SetBaseStyle(list.Par(0), BaseStyleOf(list.Par(0)), true);
    EXPECT_EQ(+BaseStyleOf(list.Par(0))->Context, 7);
    EXPECT_EQ(+BaseStyleOf(list.Par(0))->Offset, 1);
}

// ---- owned text ------------------------------------------------------------------------------

TEST(ParagraphsList, OwnTextCopiesOutOfTheLoadBlock) {
    TParagraphsList list;
    FillParagraphs(list, {"shared text", ""});
    ParInfo& par = list.Par(0);
    char* loaded = par.Text;
    OwnText(par);
    EXPECT_NE(+par.Text, loaded);
    EXPECT_TRUE(par.Flags & pfOwnText);
    EXPECT_GE(ParTextCapacity(par.Text), 12);
    loaded[0] = 'X';
    EXPECT_EQ(ParText(par), "shared text");
    char* owned = par.Text;
    OwnText(par);
    EXPECT_EQ(+par.Text, owned);

    OwnText(list.Par(1));
    EXPECT_EQ(+list.Par(1).Text, nullptr);
    EXPECT_TRUE(list.Par(1).Flags & pfOwnText);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(ParagraphsList, TextBuffersBeyondThe32BitRangeAreTooLong) {
    EXPECT_EQ(TextBufferSizeFor(0), 1);
    EXPECT_EQ(TextBufferSizeFor(640), 651);
    EXPECT_EQ(TextBufferSizeFor(2114445437), INT32_MAX); // the longest text whose buffer fits
    EXPECT_THROW(TextBufferSizeFor(2114445438), ETextTooLong);
    EXPECT_THROW(AllocParText(int64_t{INT32_MAX} + 1), ETextTooLong);
    EXPECT_THROW(TextBufferSizeFor(-1), ETextTooLong);
}

// ---- shifts across blocks --------------------------------------------------------------------

class ShiftFrom : public ::testing::TestWithParam<int> {};

TEST_P(ShiftFrom, ShiftsExactlyTheParagraphsFromTheIndexOn) {
    TParagraphsList list;
    const int count = 3 * TParagraphsList::kParsPerBlock + 5;
    FillParagraphs(list, std::vector<std::string>(static_cast<size_t>(count), "ab"));
    const int from = GetParam();
    list.ShiftStarts(from, 1000);
    list.ShiftFirstLines(from, -3);
    list.ShiftStartsAndLines(from, 7, 2);
    for (int p = 0; p < count; ++p) {
        const bool moved = p >= from;
        ASSERT_EQ(+list.Par(p).Start, p * 4 + (moved ? 1007 : 0)) << p;
        ASSERT_EQ(+list.Par(p).FirstLine, p + (moved ? -1 : 0)) << p;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ShiftFrom,
                         ::testing::Values(0, 1, TParagraphsList::kParsPerBlock - 1,
                                           TParagraphsList::kParsPerBlock, TParagraphsList::kParsPerBlock + 1,
                                           3 * TParagraphsList::kParsPerBlock + 4,
                                           3 * TParagraphsList::kParsPerBlock + 5, -5));

TEST(ParagraphsList, ShiftFromCountChangesNothing) {
    TParagraphsList list;
    FillParagraphs(list, NumberedTexts(30));
    list.ShiftStarts(list.Count(), 5);
    list.ShiftFirstLines(list.Count(), 5);
    list.ShiftStartsAndLines(list.Count() + 3, 5, 5);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

// ---- dirty range and format state ------------------------------------------------------------

TEST(ParagraphsList, MarkDirtyWidensTheRangeAndDropsParsedContexts) {
    TParagraphsList list;
    FillParagraphs(list, NumberedTexts(20));
    TLinesList lines(&list.Par(5));
    lines.SetLineCount(3);
    list.ShiftFirstLines(6, 2);
    list.LineCount = list.VisibleLineCount = 22;
    list.Modified = true;
    EXPECT_TRUE(list.ResetDirty());
    EXPECT_FALSE(list.ResetDirty());
    EXPECT_EQ(list.DirtyTo, -1);
    EXPECT_EQ(list.DirtyFrom, 20);
    EXPECT_EQ(list.DirtyFirstLine, 22);

    list.ParsedTo = 15;
    list.LinesReusable = true;
    list.MarkDirty(5, 2, 7);
    EXPECT_EQ(list.DirtyFrom, 5);
    EXPECT_EQ(list.DirtyTo, 7);
    EXPECT_EQ(list.DirtyFirstLine, 7); // FirstLine 5 + line 2
    EXPECT_EQ(list.ParsedTo, 4);
    EXPECT_FALSE(list.LinesReusable);

    list.MarkDirty(9, 0, 12); // later: only the end moves
    EXPECT_EQ(list.DirtyFrom, 5);
    EXPECT_EQ(list.DirtyTo, 12);
    EXPECT_EQ(list.DirtyFirstLine, 7);
    EXPECT_EQ(list.ParsedTo, 4);

    list.MarkDirty(2, 0, 3); // earlier: the start moves, the end stays
    EXPECT_EQ(list.DirtyFrom, 2);
    EXPECT_EQ(list.DirtyTo, 12);
    EXPECT_EQ(list.DirtyFirstLine, 2);
    EXPECT_EQ(list.ParsedTo, 1);

    list.ResetDirty();
    list.ParsedTo = 19;
    EXPECT_THROW(list.MarkDirty(20, 0, 20), ERangeError);
    EXPECT_EQ(list.DirtyTo, -1);
    EXPECT_EQ(list.DirtyFrom, 20);
    EXPECT_EQ(list.ParsedTo, 19);
}

TEST(ParagraphsList, InvalidateFormatClearsEveryLineFlagAndQueuesTheWholeText) {
    TParagraphsList list;
    const int count = 2 * TParagraphsList::kParsPerBlock + 3;
    FillParagraphs(list, std::vector<std::string>(static_cast<size_t>(count), "x"));
    list.ForEachPar(0, count, [](ParInfo& par) { par.Flags |= pfLinesValid | pfParsed; });
    list.InvalidateFormat();
    int stillValid = 0, parsed = 0;
    list.ForEachPar(0, count, [&](ParInfo& par) {
        stillValid += (par.Flags & pfLinesValid) != 0;
        parsed += (par.Flags & pfParsed) != 0;
    });
    EXPECT_EQ(stillValid, 0);
    EXPECT_EQ(parsed, count);
    EXPECT_EQ(list.BgNext, 0);
    EXPECT_EQ(list.BgLast, count - 1);
}

// ---- releasing -------------------------------------------------------------------------------

TEST(ParagraphsList, ClearAllReleasesEverythingAndKeepsOneBlock) {
    TParagraphsList list;
    FillParagraphs(list, NumberedTexts(3000));
    const TDynInfo run = ContextState(3);
    for (int p = 0; p < 2990; p += 7) {
        OwnText(list.Par(p));
        SetRunCount(list.Par(p + 1), 2);
        SetBaseStyle(list.Par(p + 2), &run, true);
        SetBaseStyle(list.Par(p + 3), BaseStyleOf(list.Par(p + 2)), false);
        list.Par(p + 4).Level = 5;
    }
    list.BgLast = 17;
    list.ClearAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.BlockCount(), 1);
    EXPECT_EQ(list.Capacity(), TParagraphsList::kParsPerBlock);
    EXPECT_TRUE(list.LoadBlocks.empty());
    EXPECT_EQ(list.BgLast, -1);
    EXPECT_EQ(list.TextLength, 0);
    EXPECT_EQ(list.LineCount, 0);
    EXPECT_EQ(list.VisibleLineCount, 0);
    EXPECT_THROW(list.Items(0), ERangeError);
    EXPECT_THROW(list.Par(0), ERangeError);
    EXPECT_TRUE(StoreInvariantsHold(list, {.NonEmpty = false}));
}

struct ShrinkRow {
    int Count;
    int CapacityBlocks; // before
    int BlocksAfter;
};

class ShrinkAfterReplace : public ::testing::TestWithParam<ShrinkRow> {};

TEST_P(ShrinkAfterReplace, GivesBackBlocksOnlyWhenMoreThanASixteenthIsFree) {
    TParagraphsList list;
    const int per = TParagraphsList::kParsPerBlock;
    FillParagraphs(list, std::vector<std::string>(static_cast<size_t>(GetParam().Count), "a"));
    list.SetCapacity(GetParam().CapacityBlocks * per);
    list.ShrinkAfterReplace();
    EXPECT_EQ(list.BlockCount(), GetParam().BlocksAfter);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

// The new capacity keeps a 1/32 reserve, so a count that fills whole blocks keeps one spare block.
INSTANTIATE_TEST_SUITE_P(Rows, ShrinkAfterReplace,
                         ::testing::Values(ShrinkRow{1, 1, 1}, ShrinkRow{1, 4, 1},
                                           ShrinkRow{TParagraphsList::kParsPerBlock * 3, 3, 3},
                                           ShrinkRow{TParagraphsList::kParsPerBlock * 3, 4, 4},
                                           ShrinkRow{TParagraphsList::kParsPerBlock * 2, 4, 3},
                                           ShrinkRow{TParagraphsList::kParsPerBlock, 2, 2}));

} // namespace
} // namespace zandor
