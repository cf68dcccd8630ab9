// Case folding, the folded-text cache and the control's text search.
#include "NavigatorTestText.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"
#include "editor/engine/TextSearch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

// ---- upper-casing rules

struct FoldRow {
    const char* Name;
    TamUpperCase Kind;
    std::string In;
    std::string Out;
};

class UpperCaseRules : public ::testing::TestWithParam<FoldRow> {};

TEST_P(UpperCaseRules, FoldEveryByteByTheChosenRule) {
    const FoldRow& row = GetParam();
    EXPECT_EQ(UpperCased(row.Kind, row.In), row.Out);
}

// é/É 0xE9/0xC9, ÿ/Ÿ 0xFF/0x9F, š/Š 0x9A/0x8A, œ/Œ 0x9C/0x8C, ß 0xDF, µ 0xB5, ÷ 0xF7.
INSTANTIATE_TEST_SUITE_P(
    CaseFolding, UpperCaseRules,
    ::testing::Values(FoldRow{"AsciiLettersOnly", amuAscii, "az AZ 09 {}\xE9\xFF", "AZ AZ 09 {}\xE9\xFF"},
                      FoldRow{"AnsiAccentedLetters", amuAnsi, "a\xE9\xFF\x9A\x9C", "A\xC9\x9F\x8A\x8C"},
                      FoldRow{"AnsiLettersWithoutCapitalStay", amuAnsi, "\xDF\xB5\xF7\xC9",
                              "\xDF\xB5\xF7\xC9"},
                      FoldRow{"UnsetUserRuleIsAscii", amuUserDefined, "a\xE9", "A\xE9"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Restores the process-wide procedure whatever a test does.
class UserProcGuard {
public:
    explicit UserProcGuard(TUpperCaseProc proc) : FOld(UserUpperCaseProc) { UserUpperCaseProc = proc; }
    ~UserProcGuard() { UserUpperCaseProc = FOld; }

private:
    TUpperCaseProc FOld;
};

std::vector<std::string> gFolded; // what the user procedure was handed, one entry per call

void RecordingUpper(char* text) {
    gFolded.emplace_back(text);
    for (char* p = text; *p; ++p)
        *p = *p == '1' ? '!' : static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
}

TEST(CaseFolding, TheUserRuleSeesOnlyTheRequestedBytesTerminated) {
    UserProcGuard guard(&RecordingUpper);
    gFolded.clear();
    char text[] = "ab1cd";
    UpperCaseText(amuUserDefined, text + 1, 3);
    EXPECT_STREQ(text, "aB!Cd");
    ASSERT_EQ(gFolded.size(), 1u);
    EXPECT_EQ(gFolded[0], "b1c");
}

// ---- folded-text cache

class FoldedCache : public ::testing::Test {
protected:
    void SetUp() override {
        LoadText(core, "zero\r\nabcdefghij\r\ntwo");
        gFolded.clear();
        cache.SetUpperCase(amuUserDefined);
    }
    std::string Fold(int par, int32_t length, int32_t offset) {
        const char* folded = cache.FoldedText(core.Paragraphs().Par(par), par, length, offset);
        return std::string(folded,
                           std::strlen(folded) < size_t(length) ? std::strlen(folded) : size_t(length));
    }

    TArtMemoCore core;
    TFoldedTextCache cache;
    UserProcGuard guard{&RecordingUpper};
};

TEST_F(FoldedCache, GrowsAtBothEndsFoldingOnlyTheAddedBytes) {
    EXPECT_EQ(Fold(1, 3, 4), "EFG");
    EXPECT_EQ(Fold(1, 3, 6), "GHI"); // overlaps: grows at the end
    EXPECT_EQ(Fold(1, 2, 2), "CD");  // touches the front
    EXPECT_EQ(cache.Start(), 2);
    EXPECT_EQ(cache.Length(), 7);
    EXPECT_EQ(gFolded, (std::vector<std::string>{"efg", "hi", "cd"}));
    // The result is terminated at the end of the cached range, not of the request.
    EXPECT_STREQ(cache.FoldedText(core.Paragraphs().Par(1), 1, 1, 3), "DEFGHI");
}

TEST_F(FoldedCache, ADisjointRangeOrAnotherParagraphReplacesTheCache) {
    Fold(1, 2, 0);
    EXPECT_EQ(Fold(1, 2, 5), "FG");
    EXPECT_EQ(cache.Start(), 5);
    EXPECT_EQ(cache.Length(), 2);
    EXPECT_EQ(Fold(2, 2, 0), "TW");
    EXPECT_EQ(cache.ParIndex(), 2);
    EXPECT_EQ(gFolded, (std::vector<std::string>{"ab", "fg", "tw"}));
}

TEST_F(FoldedCache, RequestsBeyondTheParagraphAreClamped) {
    EXPECT_EQ(Fold(2, 50, 1), "WO");
    EXPECT_EQ(cache.Length(), 2);
    EXPECT_STREQ(cache.FoldedText(core.Paragraphs().Par(2), 2, 5, 9), "");
}

TEST_F(FoldedCache, ANewRuleDropsWhatTheOldOneFolded) {
    Fold(1, 3, 0);
    cache.SetUpperCase(amuAscii);
    EXPECT_EQ(cache.ParIndex(), -1);
}

struct AdjustRow {
    const char* Name;
    int CachedPar;
    int FirstPar, LastPar, ParDelta;
    int Expected; // -1 = dropped
};

class FoldedCacheAdjust : public ::testing::TestWithParam<AdjustRow> {};

TEST_P(FoldedCacheAdjust, FollowsTheParagraphNumbering) {
    const AdjustRow& row = GetParam();
    TArtMemoCore core;
    LoadText(core, "0\r\n1\r\n2\r\n3\r\n4\r\n5");
    TFoldedTextCache cache;
    cache.FoldedText(core.Paragraphs().Par(row.CachedPar), row.CachedPar, 1, 0);
    TReplacedRange range;
    range.FirstPar = row.FirstPar;
    range.OldLastPar = row.LastPar;
    range.ParDelta = row.ParDelta;
    cache.AdjustAfterReplace(range);
    EXPECT_EQ(cache.ParIndex(), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(CaseFolding, FoldedCacheAdjust,
                         ::testing::Values(AdjustRow{"BeforeTheRangeStays", 1, 2, 3, -1, 1},
                                           AdjustRow{"AtTheRangeStartIsDropped", 2, 2, 3, -1, -1},
                                           AdjustRow{"AtTheRangeEndIsDropped", 3, 2, 3, 2, -1},
                                           AdjustRow{"AfterTheRangeShiftsDown", 5, 2, 3, -1, 4},
                                           AdjustRow{"AfterTheRangeShiftsUp", 4, 2, 3, 3, 7}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CaseFolding, AReplacementThroughTheControlAdjustsItsCache) {
    TArtMemoCore core;
    LoadText(core, "one\r\ntwo\r\nthree");
    TFoldedTextCache& cache = core.FoldedText();
    cache.FoldedText(core.Paragraphs().Par(2), 2, 5, 0);
    TArtNavigator s(&core), e(&core);
    s.SetPos(1);
    e.SetPos(1);
    ReplaceText(core, s, e, "z\r\n");
    EXPECT_EQ(cache.ParIndex(), 3);
    EXPECT_STREQ(cache.FoldedText(core.Paragraphs().Par(3), 3, 5, 0), "THREE");
    s.SetPos(0);
    e.SetPos(core.CharCount());
    ReplaceText(core, s, e, "");
    EXPECT_EQ(cache.ParIndex(), -1);
}

// ---- FindText

class Search : public ::testing::Test {
protected:
    bool Find(std::string_view what, bool forward, bool matchCase = true, bool wholeWord = false,
              bool fromBoundary = false) {
        return FindText(core, what, forward, matchCase, wholeWord, fromBoundary, sel);
    }

    TArtMemoCore core;
    TSelection sel;
};

TEST_F(Search, WholeWordsSkipACandidateInsideAWord) {
    LoadText(core, "xab ab");
    ASSERT_TRUE(Find("ab", true, true, true, true));
    EXPECT_EQ(sel.SelStart, 6);
    EXPECT_EQ(sel.SelLength, -2);
}

TEST_F(Search, WholeWordsAcceptTheParagraphEdgesAndSeparators) {
    LoadText(core, "q\r\nab\r\nab,abc");
    ASSERT_TRUE(Find("ab", true, true, true, true));
    EXPECT_EQ(sel.SelStart, 5);
    sel.SelStart = 5;
    ASSERT_TRUE(Find("ab", true, true, true));
    EXPECT_EQ(sel.SelStart, 9); // "ab," qualifies, "abc" would not
    ASSERT_FALSE(Find("ab", true, true, true));
    EXPECT_EQ(sel.SelStart, 9);
}

TEST_F(Search, ForwardHitsFollowEachOtherAndAMissChangesNothing) {
    LoadText(core, "a.a\r\n\r\na");
    std::vector<int32_t> carets;
    while (Find("a", true))
        carets.push_back(sel.SelStart);
    EXPECT_EQ(carets, (std::vector<int32_t>{1, 3, 8}));
    EXPECT_EQ(sel.SelStart, 8);
    EXPECT_EQ(sel.SelLength, -1);
}

TEST_F(Search, BackwardFromTheStartOfAHitFindsThePreviousOne) {
    LoadText(core, "ab ab\r\nab");
    ASSERT_TRUE(Find("ab", false, true, false, true));
    EXPECT_EQ(sel.SelStart, 7);
    EXPECT_EQ(sel.SelLength, 2);
    ASSERT_TRUE(Find("ab", false));
    EXPECT_EQ(sel.SelStart, 3);
    ASSERT_TRUE(Find("ab", false));
    EXPECT_EQ(sel.SelStart, 0);
    EXPECT_FALSE(Find("ab", false));
    EXPECT_EQ(sel.SelStart, 0);
}

TEST_F(Search, BackwardHitsMayOverlap) {
    LoadText(core, "aaaa");
    sel.SelStart = 4;
    ASSERT_TRUE(Find("aa", false));
    EXPECT_EQ(sel.SelStart, 2);
    ASSERT_TRUE(Find("aa", false));
    EXPECT_EQ(sel.SelStart, 1);
}

TEST_F(Search, ACaretOnTheBreakGoesOnInTheNextParagraph) {
    LoadText(core, "ab\r\nab");
    sel.SelStart = 2; // on the CR
    ASSERT_TRUE(Find("ab", true));
    EXPECT_EQ(sel.SelStart, 6);
    sel.SelStart = 2;
    ASSERT_TRUE(Find("ab", false)); // every hit of the caret's paragraph begins before it
    EXPECT_EQ(sel.SelStart, 0);
}

TEST_F(Search, MatchesNeverSpanABreak) {
    LoadText(core, "ab\r\ncd");
    EXPECT_FALSE(Find("b\r\nc", true, true, false, true));
    EXPECT_FALSE(Find("bc", true, true, false, true));
    EXPECT_FALSE(Find("", true, true, false, true));
}

TEST_F(Search, CaseIsFoldedByTheControlsRule) {
    LoadText(core, "x\r\nSommer \xC9T\xC9");
    EXPECT_FALSE(Find("sommer", true, true, false, true));
    ASSERT_TRUE(Find("sommer", true, false, false, true));
    EXPECT_EQ(sel.SelStart, 9);
    EXPECT_FALSE(Find("\xE9t\xE9", true, false, false, true)); // ASCII folding leaves é alone
    core.SetUpperCaseType(amuAnsi);
    ASSERT_TRUE(Find("\xE9t\xE9", true, false, true, true));
    EXPECT_EQ(sel.SelStart, 13);
    ASSERT_TRUE(Find("SOMMER", false, false, true, true));
    EXPECT_EQ(sel.SelStart, 3);
}

} // namespace
} // namespace zandor::test
