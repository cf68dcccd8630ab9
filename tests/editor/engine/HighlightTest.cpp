// Keyword matching, the start/stop key parser, ApplyRun and the highlighter hooks on small texts.
#include "HighlightTestText.h"
#include "editor/engine/ArtHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/RunState.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::ContextMap;
using test::DescribeParagraph;
using test::HighlightFixture;

constexpr uint8_t kWhole = koWholeWord;

TEST(Keywords, EarlierKeywordWinsAndWholeWordRejectsThePrefix) {
    HighlightFixture f("format form");
    f.Hl.Keywords().AddKeyWord("form", 0, sfBold, 1, 0, -1, -1);
    f.Hl.Keywords().AddKeyWord("format", 0, 0, 2, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "1111...1111");

    HighlightFixture g("format form");
    g.Hl.Keywords().AddKeyWord("form", kWhole, 0, 1, 0, -1, -1);
    g.Hl.Keywords().AddKeyWord("format", 0, 0, 2, 0, -1, -1);
    g.HighlightAll();
    EXPECT_EQ(ContextMap(g.List(), 0), "222222.1111");
}

TEST(Keywords, KeywordWithContextZeroIsNeverHighlighted) {
    HighlightFixture f("abc abc");
    f.Hl.Keywords().AddKeyWord("abc", 0, sfBold, 0, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(RunCount(f.List().Par(0)), 0);
}

TEST(Keywords, RunCarriesTheKeywordsLookAndStack) {
    HighlightFixture f("x end");
    f.Hl.Keywords().AddKeyWord("zzz", 0, 0, 9, 0, -1, -1);
    f.Hl.Keywords().AddKeyWord("END", 0, sfBold, 7, 3, 0x112233, 0x445566);
    f.HighlightAll();
    const ParInfo& par = f.List().Par(0);
    ASSERT_EQ(RunCount(par), 1); // the state after the end of the text needs no run
    const TDynInfo& r = par.Extra->Runs[0];
    EXPECT_EQ(+r.Offset, 2);
    EXPECT_EQ(+r.StyleFlags, sfBold | sfKeyed | sfContext);
    EXPECT_EQ(+r.Depth, 0);
    EXPECT_EQ(+r.Stack[0], 1);
    EXPECT_EQ(+r.Context, 7);
    EXPECT_EQ(+r.Cursor, 3);
    EXPECT_EQ(+r.Background, 0x112233);
    EXPECT_EQ(+r.StartLen, 3);
    EXPECT_EQ(+r.StopLen, 3);
}

TEST(Keywords, SelfOverlappingKeywordIsMatchedFromThePreviousMatchOn) {
    HighlightFixture f("aaaaa\r\naaaaa");
    f.Hl.Keywords().AddKeyWord("aa", 0, 0, 1, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "1111.");
    EXPECT_EQ(DescribeParagraph(f.List(), 0), DescribeParagraph(f.List(), 1));
}

struct FoldRow {
    TamUpperCase Kind;
    bool Matches;
};

class KeywordFolding : public ::testing::TestWithParam<FoldRow> {};

TEST_P(KeywordFolding, AccentedCapitalsMatchOnlyUnderTheAnsiRule) {
    HighlightFixture f("\xC9T\xC9 ete");
    f.Core.SetUpperCaseType(GetParam().Kind); // the control passes its rule on to the lists
    f.Hl.Keywords().AddKeyWord("\xE9t\xE9", 0, 0, 1, 0, -1, -1);
    f.Hl.Keywords().AddKeyWord("ETE", 0, 0, 2, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), GetParam().Matches ? "111.222" : "....222");
}

INSTANTIATE_TEST_SUITE_P(Rules, KeywordFolding,
                         ::testing::Values(FoldRow{amuAscii, false}, FoldRow{amuAnsi, true}));

TEST(Keywords, ManyMatchesInOneParagraphAreAllApplied) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "ab ";
    HighlightFixture f(text);
    f.Hl.Keywords().AddKeyWord("ab", 0, 0, 1, 0, -1, -1);
    f.HighlightAll();
    std::string expected;
    for (int i = 0; i < 40; ++i)
        expected += "11.";
    EXPECT_EQ(ContextMap(f.List(), 0), expected);
}

TEST(Keywords, NoKeywordIsOpenedAtTheDepthLimit) {
    HighlightFixture f("abc\r\nabc");
    TDynInfo deep = kDefaultRunState;
    deep.StyleFlags = sfKeyed | sfContext;
    deep.Depth = kMaxDepth;
    deep.Context = 0;
    SetBaseStyle(f.List().Par(1), &deep, true);
    f.Hl.Keywords().AddKeyWord("abc", 0, 0, 1, 0, -1, -1);
    f.Hl.StartStopKeys().AddKey("b", "", 0, 0, 3, 0, -1, -1, true);
    f.Hl.ParseParagraphs(1, 1);
    f.Hl.ApplyKeywordsToPar(1);
    EXPECT_EQ(RunCount(f.List().Par(1)), 0); // neither the start key nor the keyword
    f.Hl.ParseParagraphs(0, 0);
    f.Hl.ApplyKeywordsToPar(0);
    EXPECT_EQ(ContextMap(f.List(), 0), ".33"); // the start key wins: keywords come after contexts
}

TEST(StartStopKeys, AlternativeContinuationAtTheDepthLimitStaysInTheStack) {
    HighlightFixture f("a */ b");
    f.Hl.StartStopKeys().AddKey("<<", "*/", 0, 0, 5, 0, -1, -1, false);
    f.Hl.StartStopKeys().AddKey("<<", "!!", 0, 0, 6, 0, -1, -1, false);
    TDynInfo deep = kDefaultRunState;
    deep.StyleFlags = sfKeyed | sfContext;
    deep.Depth = kMaxDepth;
    for (int d = 0; d <= kMaxDepth; ++d)
        deep.Stack[d] = 100;
    deep.Stack[kMaxDepth] = KeyEntry(0);
    deep.Context = 5;
    SetBaseStyle(f.List().Par(0), &deep, true);
    f.Hl.ParseParagraphs(0, 0);
    const TDynInfo& after = StateAt(f.List().Par(0), 4);
    EXPECT_EQ(+after.Depth, kMaxDepth);
    EXPECT_EQ(+after.Stack[kMaxDepth], KeyEntry(1));
    EXPECT_EQ(+after.Stack[0], 100);
    EXPECT_EQ(+after.Context, 6);
    EXPECT_EQ(+after.StartLen, 0);
}

TEST(Keywords, InsideACommentWithoutContextNumberKeywordsStackOnTop) {
    HighlightFixture f("/* if */ if");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 0, 0, -1, -1, false); // context number 0
    f.Hl.Keywords().AddKeyWord("if", kWhole, 0, 1, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "...11....11");
    const TDynInfo& inside = StateAt(f.List().Par(0), 3);
    EXPECT_EQ(+inside.Depth, 1);
    EXPECT_EQ(+inside.Stack[0], KeyEntry(0));
    EXPECT_EQ(+inside.Stack[1], 0);

    HighlightFixture g("/* if */ if");
    g.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 5, 0, -1, -1, false); // masks keywords
    g.Hl.Keywords().AddKeyWord("if", kWhole, 0, 1, 0, -1, -1);
    g.HighlightAll();
    EXPECT_EQ(ContextMap(g.List(), 0), "55555555.11");
}

// ---- the key parser

TEST(StartStopKeys, ContextWithoutStopKeyRunsToTheEndOfTheText) {
    HighlightFixture f("a /* b\r\nc\r\n\r\nd */ e /* f");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..3333");
    EXPECT_EQ(ContextMap(f.List(), 1), "3");
    EXPECT_EQ(ContextMap(f.List(), 3), "3333...3333");
    EXPECT_EQ(f.List().ParsedTo, 3);
    for (int p = 0; p < 4; ++p)
        EXPECT_TRUE(f.List().Par(p).Flags & pfParsed);
}

TEST(StartStopKeys, EndsAtLineEndStopsAtTheParagraphEnd) {
    HighlightFixture f("a // b /* c\r\nnext");
    f.Hl.StartStopKeys().AddKey("//", "", 0, 0, 4, 0, -1, -1, true);
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..444444444");
    EXPECT_EQ(ContextMap(f.List(), 1), "....");
    EXPECT_FALSE(BaseStyleOf(f.List().Par(1))->StyleFlags & sfContext);
}

TEST(StartStopKeys, StartKeyRightAfterAStopKeyOpensOnTheStateRestoredThere) {
    HighlightFixture f("/*a*/\"b\" c");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.Hl.StartStopKeys().AddKey("\"", "\"", 0, 0, 2, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "33333222..");
    EXPECT_EQ(+StateAt(f.List().Par(0), 5).Depth, 0);
    EXPECT_EQ(+f.List().Par(0).Extra->Runs[0].StopLen, 2); // the comment keeps its stop key length
}

TEST(StartStopKeys, AlternativeStopKeyContinuesTheContextAsTheLaterKey) {
    HighlightFixture f("<<a>>b!!c");
    f.Hl.StartStopKeys().AddKey("<<", ">>", 0, 0, 5, 0, -1, -1, false);
    f.Hl.StartStopKeys().AddKey("<<", "!!", 0, 0, 6, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "55555666.");
}

TEST(StartStopKeys, WholeWordKeysNeedSeparatorsAround) {
    HighlightFixture f("remark rem x\r\nbegin bend ends end y");
    f.Hl.StartStopKeys().AddKey("rem", "", kWhole, 0, 7, 0, -1, -1, true);
    f.Hl.StartStopKeys().AddKey("begin", "end", kWhole, 0, 8, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), ".......77777");
    EXPECT_EQ(ContextMap(f.List(), 1), "8888888888888888888..");
}

TEST(StartStopKeys, CaseInsensitiveKeysMatchInAnyCase) {
    HighlightFixture f("x Rem y\r\nz");
    f.Hl.StartStopKeys().AddKey("rEM", "", 0, 0, 7, 0, -1, -1, true);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..77777");
}

TEST(StartStopKeys, KeysDoNotNestAndSmallestOffsetWins) {
    HighlightFixture f("x \"a /* b\" /* \" */");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.Hl.StartStopKeys().AddKey("\"", "\"", 0, 0, 2, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..22222222.3333333");
}

TEST(StartStopKeys, SwitchedOffKeysParseNothingButStillClearOldRuns) {
    HighlightFixture f("/* a */");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    ASSERT_GT(RunCount(f.List().Par(0)), 0);
    f.Hl.SetApplyStartStopKeys(false);
    f.Hl.ParseParagraphs(0, 0);
    EXPECT_EQ(RunCount(f.List().Par(0)), 0);
}

TEST(StartStopKeys, NavigatorStepsFindStartThenEnd) {
    HighlightFixture f("ab /* c */ d");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    TArtNavigator a(&f.Core), c(&f.Core);
    a.SetPos(0);
    c.SetPos(12);
    EXPECT_FALSE(f.Hl.FindContextEnd(a, c));
    EXPECT_TRUE(f.Hl.FindContextStart(a, c));
    EXPECT_EQ(c.Pos(), 5);
    a.SetPos(5);
    c.SetPos(12);
    EXPECT_TRUE(f.Hl.FindContextEnd(a, c));
    EXPECT_EQ(c.Pos(), 10);
    EXPECT_EQ(ContextMap(f.List(), 0), "...3333333..");
    const TDynInfo& opening = f.List().Par(0).Extra->Runs[0];
    EXPECT_EQ(+opening.StopLen, 2);
}

TEST(StartStopKeys, NavigatorStepsCompareCaseInsensitiveKeysFolded) {
    HighlightFixture f("x Begin y eNd z");
    f.Hl.StartStopKeys().AddKey("bEGIN", "End", 0, 0, 4, 0, -1, -1, false);
    TArtNavigator a(&f.Core), c(&f.Core);
    c.SetPos(15);
    EXPECT_TRUE(f.Hl.FindContextStart(a, c));
    EXPECT_EQ(c.Pos(), 7);
    a.SetPos(7);
    c.SetPos(15);
    EXPECT_TRUE(f.Hl.FindContextEnd(a, c));
    EXPECT_EQ(c.Pos(), 13);
    EXPECT_EQ(ContextMap(f.List(), 0), "..44444444444..");
}

// ---- ApplyRun

TEST(ApplyRun, RangeOverParagraphsSharesOneBaseStyleAndRestoresTheStateAfter) {
    HighlightFixture f("abcdef\r\nghi\r\njkl\r\nmno");
    TDynInfo s = kDefaultRunState;
    s.StyleFlags = sfBold | sfKeyed;
    s.Depth = 0;
    s.Stack[0] = 100;
    s.Context = 4;
    TArtNavigator a(&f.Core), b(&f.Core), later(&f.Core);
    a.SetPos(3);
    b.SetPos(8 + 5 + 2); // "jkl" offset 2
    later.SetPos(20);
    later.RunIndex();
    ApplyRun(f.List(), a, b, true, true, s);
    EXPECT_EQ(ContextMap(f.List(), 0), "...444");
    EXPECT_EQ(ContextMap(f.List(), 1), "444");
    EXPECT_EQ(ContextMap(f.List(), 2), "44.");
    EXPECT_EQ(ContextMap(f.List(), 3), "...");
    EXPECT_EQ(BaseStyleOf(f.List().Par(1)), BaseStyleOf(f.List().Par(2)));
    EXPECT_EQ(+BaseStyleOf(f.List().Par(1))->Offset, 2); // reference count: two holders
    EXPECT_FALSE(f.List().Par(1).Flags & pfLinesValid);
    EXPECT_EQ(f.List().DirtyFrom, 0);
    EXPECT_EQ(f.List().DirtyTo, 2);
    EXPECT_EQ(a.Pos(), 3);
    EXPECT_EQ(b.Pos(), 15);

    // Applying the plain state over part of it leaves the context on both sides.
    TArtNavigator c(&f.Core), d(&f.Core);
    c.SetPos(4);
    d.SetPos(5);
    ApplyRun(f.List(), c, d, false, false, kDefaultRunState);
    EXPECT_EQ(ContextMap(f.List(), 0), "...4.4");
}

TEST(ApplyRun, RestoredStateForgetsTheKeyLengthAlreadyBehindIt) {
    HighlightFixture f("0123456789");
    TDynInfo outer = kDefaultRunState;
    outer.StyleFlags = sfKeyed | sfContext;
    outer.Context = 1;
    outer.StartLen = 5;
    TArtNavigator a(&f.Core), b(&f.Core);
    a.SetPos(0);
    b.SetPos(9);
    ApplyRun(f.List(), a, b, false, true, outer);
    TDynInfo inner = outer;
    inner.Context = 2;
    a.SetPos(1);
    b.SetPos(3);
    ApplyRun(f.List(), a, b, false, true, inner);
    const TDynInfo& restored = StateAt(f.List().Par(0), 3);
    EXPECT_EQ(+restored.Context, 1);
    EXPECT_EQ(+restored.StartLen, 2); // 5 minus the 3 characters from its beginning to the stop
}

// ---- highlighters

// Marks "http" up to the next blank as an address (a stacked context the keyword matcher may not
// enter), and a '#' as the start of a region the highlighter keeps for itself to the paragraph end.
class TestHighlighter : public TArtHighlighter {
public:
    void ApplyHighlight(TArtNavigator& start, TArtNavigator& stop, int32_t keywordCount) override {
        ++ApplyCalls;
        TArtMemoCore* memo = start.Memo();
        const ParInfo& par = *start.Par();
        const std::string text(par.Text ? par.Text : "", static_cast<size_t>(ParLength(par)));
        for (size_t at = text.find("http"); at != std::string::npos; at = text.find("http", at + 1)) {
            size_t end = text.find(' ', at);
            if (end == std::string::npos)
                end = text.size();
            TArtNavigator a(memo), b(memo);
            a.SetPos(par.Start + static_cast<int32_t>(at));
            b.SetPos(par.Start + static_cast<int32_t>(end));
            TDynInfo s = kDefaultRunState;
            s.StyleFlags = sfUnderline | sfKeyed | sfContext;
            s.Depth = 0;
            s.Stack[0] = static_cast<int16_t>(keywordCount);
            s.Context = 1024;
            ApplyRun(memo->Paragraphs(), a, b, false, true, s);
        }
        (void)stop;
    }
    bool FindContextStart(TArtNavigator& start, TArtNavigator& stop, int32_t) override {
        ++StartCalls;
        const ParInfo& par = *start.Par();
        const std::string_view text(par.Text ? par.Text : "", static_cast<size_t>(ParLength(par)));
        const size_t hash = text.find('#', static_cast<size_t>(start.ParOffset()));
        if (hash == std::string_view::npos || static_cast<int32_t>(hash) >= stop.ParOffset())
            return false;
        start.SetParOffset(static_cast<int32_t>(hash));
        TDynInfo region = kDefaultRunState;
        region.StyleFlags = sfItalic | sfContext;
        region.Depth = -1;
        region.Context = 9;
        start.InsertRun(region);
        stop.SetPos(par.Start + ParLength(par));
        return true;
    }
    int ApplyCalls = 0;
    int StartCalls = 0;
};

TEST(Highlighter, AddressRunMasksKeywordsInside) {
    HighlightFixture f("form http://x/form form");
    TestHighlighter h;
    f.Hl.SetHighlighter(&h);
    f.Hl.Keywords().AddKeyWord("form", 0, 0, 1, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "1111.4444444444444.1111");
    EXPECT_EQ(h.ApplyCalls, 1);
}

TEST(Highlighter, IsAskedWhereNoKeyStartsAndItsRegionIsKept) {
    HighlightFixture f("a /* b */ # c\r\nd");
    TestHighlighter h;
    f.Hl.SetHighlighter(&h);
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..3333333.999");
    EXPECT_GT(h.StartCalls, 0);
    const std::string once = DescribeParagraph(f.List(), 0);
    f.Hl.ParseParagraphs(0, 0);
    EXPECT_EQ(DescribeParagraph(f.List(), 0), once);
    EXPECT_EQ(ContextMap(f.List(), 1), "9"); // the region lasts until its highlighter ends it
}

TEST(Highlighter, DestroyingItDetachesItFromEveryControl) {
    HighlightFixture f, g;
    {
        TestHighlighter h;
        f.Hl.SetHighlighter(&h);
        g.Hl.SetHighlighter(&h);
        EXPECT_EQ(h.Memos().size(), 2u);
        g.Hl.SetHighlighter(nullptr);
        EXPECT_EQ(h.Memos().size(), 1u);
        g.Hl.SetHighlighter(&h);
    }
    EXPECT_EQ(f.Hl.Highlighter(), nullptr);
    EXPECT_EQ(g.Hl.Highlighter(), nullptr);
}

TEST(Highlighter, ReApplyKeywordsDropsEverythingAndRedoesItOnDemand) {
    HighlightFixture f("/* a\r\nb */ if");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.Hl.Keywords().AddKeyWord("if", 0, 0, 1, 0, -1, -1);
    f.HighlightAll();
    const auto before = test::Snapshot(f.List());
    f.Hl.ReApplyKeywords();
    EXPECT_EQ(f.List().ParsedTo, -1);
    EXPECT_EQ(RunCount(f.List().Par(0)), 0);
    EXPECT_FALSE(BaseStyleOf(f.List().Par(1))->StyleFlags & sfContext);
    f.HighlightAll();
    EXPECT_EQ(test::SnapshotDiff(before, test::Snapshot(f.List())), "");
}

} // namespace
} // namespace zandor
