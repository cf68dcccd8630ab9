// Highlighting after edits: the re-parse of the edited paragraph, the lazy spread of a changed
// context down the text, and the property everything else rests on: after any sequence of edits
// the runs and base styles equal those a fresh parse of the same text gives.
#include "HighlightTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ReplaceRange.h"
#include "editor/engine/RunState.h"

#include <gtest/gtest.h>

#include <random>

namespace zandor {
namespace {

using test::ContextMap;
using test::HighlightFixture;

// Replaces [from, to) by text the way the control does, then brings highlighting up to date as
// far as the control would (the edit itself, then formatting of the whole text).
void Edit(HighlightFixture& f, int32_t from, int32_t to, const char* text, bool inUpdate = false,
          bool format = true) {
    TArtNavigator s(&f.Core), e(&f.Core);
    s.SetPos(from);
    e.SetPos(to);
    const TReplaceResult r = ReplaceText(f.Core, s, e, text);
    f.Hl.AfterReplace(s, e, r.RunsRemoved, inUpdate);
    if (format)
        f.HighlightAll();
}

void AddSampleKeys(THighlighting& hl) {
    TStartStopKeyList& keys = hl.StartStopKeys();
    keys.AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    keys.AddKey("\"", "\"", 0, sfItalic, 2, 0, -1, -1, true);
    keys.AddKey("rem", "", koWholeWord, 0, 4, 0, -1, -1, true);
    keys.AddKey("/*", "!/", 0, 0, 5, 0, -1, -1, false); // closes the context "/*" reopens as
    TKeywordList& kw = hl.Keywords();
    kw.AddKeyWord("if", koWholeWord, sfBold, 6, 0, -1, -1);
    kw.AddKeyWord("fi", 0, 0, 7, 0, -1, -1);
    kw.AddKeyWord("iff", 0, 0, 8, 0, -1, -1);
    kw.AddKeyWord("A", 0, 0, 9, 0, -1, -1); // ignores case
    kw.AddKeyWord("x", 0, 0, 0, 0, -1, -1); // context 0: never
    kw.AddKeyWord("aa", koCaseSensitive, 0, 1, 0, -1, -1);
}

TEST(HighlightAfterEdit, TypingAStartKeySpreadsParagraphByParagraphUntilTheStateHolds) {
    HighlightFixture f("zero\r\none\r\ntwo\r\nthree\r\nfour */ end\r\nfive\r\nsix");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    f.List().ResetDirty();
    f.List().BgNext = f.List().Count();
    f.List().BgLast = -1;
    const int32_t at = f.List().Par(1).Start + 3;
    Edit(f, at, at, "/*", false, false);
    // Only the edited paragraph is parsed now; the next one is marked to carry the change on.
    EXPECT_EQ(ContextMap(f.List(), 1), "...33");
    EXPECT_FALSE(f.List().Par(2).Flags & pfParsed);
    EXPECT_TRUE(f.List().Par(3).Flags & pfParsed);
    EXPECT_EQ(f.List().ParsedTo, 1);
    EXPECT_GE(f.List().DirtyTo, 2);
    EXPECT_LE(f.List().BgNext, 2);
    EXPECT_GE(f.List().BgLast, 2);

    f.Hl.ParseUpTo(6);
    for (int p = 2; p <= 4; ++p)
        EXPECT_TRUE(f.List().Par(p).Flags & pfParsed) << p;
    EXPECT_EQ(ContextMap(f.List(), 3), "33333");
    EXPECT_EQ(ContextMap(f.List(), 4), "3333333....");
    // Paragraph 5 began in the plain state before and after: it was never touched.
    EXPECT_FALSE(BaseStyleOf(f.List().Par(5))->StyleFlags & sfContext);
    EXPECT_EQ(f.List().ParsedTo, 6);
}

TEST(HighlightAfterEdit, DeletingACharacterOfTheStopKeyReopensToTheNextStopKey) {
    HighlightFixture f("a /* b */ c\r\nd\r\ne */ f");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "..3333333..");
    EXPECT_EQ(ContextMap(f.List(), 1), ".");
    Edit(f, 8, 9, "");
    EXPECT_EQ(ContextMap(f.List(), 0), "..33333333");
    EXPECT_EQ(ContextMap(f.List(), 1), "3");
    EXPECT_EQ(ContextMap(f.List(), 2), "3333..");
    Edit(f, 8, 8, "/");
    EXPECT_EQ(ContextMap(f.List(), 1), ".");
    EXPECT_EQ(ContextMap(f.List(), 2), "......");
}

TEST(HighlightAfterEdit, KeywordsOfTheEditedParagraphAreMatchedAgain) {
    HighlightFixture f("if x\r\nif");
    f.Hl.Keywords().AddKeyWord("if", koWholeWord, 0, 6, 0, -1, -1);
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 0), "66..");
    Edit(f, 1, 1, "f", false, false); // "iff x": no whole word any more
    EXPECT_EQ(ContextMap(f.List(), 0), ".....");
    EXPECT_TRUE(f.List().Par(0).Flags & pfKeywords);
    Edit(f, 1, 2, "", false, false);
    EXPECT_EQ(ContextMap(f.List(), 0), "66..");
}

TEST(HighlightAfterEdit, UnchangedRunsLeaveTheLineTableReusable) {
    HighlightFixture f("ab if cd");
    f.Hl.Keywords().AddKeyWord("if", koWholeWord, 0, 6, 0, -1, -1);
    f.HighlightAll();
    Edit(f, 7, 7, "e", false, false); // "ab if ced": the keyword run stays where it was
    EXPECT_TRUE(f.List().LinesReusable);
    Edit(f, 1, 1, "z", false, false); // moves the keyword: its run changes
    EXPECT_FALSE(f.List().LinesReusable);
    EXPECT_EQ(ContextMap(f.List(), 0), "....66....");
}

TEST(HighlightAfterEdit, InsideAnUpdateBracketEverythingIsLeftForLater) {
    HighlightFixture f("a\r\nb if");
    f.Hl.Keywords().AddKeyWord("if", 0, 0, 6, 0, -1, -1);
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.HighlightAll();
    int calls = 0;
    f.Hl.OnParse = [&](TArtMemoCore* sender, int32_t start, int32_t stop) {
        EXPECT_EQ(sender, &f.Core);
        EXPECT_EQ(start, 4);
        EXPECT_EQ(stop, 6);
        ++calls;
    };
    Edit(f, 4, 4, "/*", true, false);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(f.List().Par(1).Flags & (pfParsed | pfKeywords));
    f.HighlightAll();
    EXPECT_EQ(ContextMap(f.List(), 1), ".33333");
}

TEST(HighlightAfterEdit, SplittingAParagraphInsideAContextStartsTheNewOnesInIt) {
    HighlightFixture f("a /* bc */ d");
    f.Hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
    f.Hl.Keywords().AddKeyWord("if", 0, 0, 6, 0, -1, -1);
    f.HighlightAll();
    Edit(f, 6, 6, "\r\nif\r\n");
    EXPECT_EQ(ContextMap(f.List(), 0), "..3333");
    EXPECT_EQ(ContextMap(f.List(), 1), "33"); // masked: the comment has a context number
    EXPECT_EQ(ContextMap(f.List(), 2), "3333..");
}

TEST(HighlightAfterEdit, ABreakInsideAContextStartsTheNewParagraphAsAFreshParseDoes) {
    // A comment without a context number of its own lets keywords match inside; a keyword there
    // clears the stop length of the run that opened the comment. The paragraph a break makes after
    // that run must still begin in the comment exactly as the parser leaves it.
    const auto prepare = [](THighlighting& hl) {
        hl.StartStopKeys().AddKey("/*", "*/", 0, 0, 0, 0, -1, -1, false);
        hl.Keywords().AddKeyWord("if", koWholeWord, sfBold, 6, 0, -1, -1);
    };
    HighlightFixture f("a /* b if c */ d");
    prepare(f.Hl);
    f.HighlightAll();
    Edit(f, 6, 6, "\r\n");
    HighlightFixture fresh("a /* b\r\n if c */ d");
    prepare(fresh.Hl);
    fresh.HighlightAll();
    EXPECT_EQ(test::SnapshotDiff(test::Snapshot(fresh.List()), test::Snapshot(f.List())), "");
}

// Styles "http" and the characters up to the next blank as an address, on top of whatever context
// is open there, the way the URL highlighter does.
class AddressHighlighter : public TArtHighlighter {
public:
    void ApplyHighlight(TArtNavigator& start, TArtNavigator&, int32_t keywordCount) override {
        TArtMemoCore* memo = start.Memo();
        const int p = start.GetParNb();
        const ParInfo& par = memo->Paragraphs().Par(p);
        const std::string text(par.Text ? par.Text : "", static_cast<size_t>(ParLength(par)));
        for (size_t at = text.find("http"); at != std::string::npos; at = text.find("http", at + 1)) {
            const size_t end = std::min(text.find(' ', at), text.size());
            const TDynInfo& r = StateAt(memo->Paragraphs().Par(p), static_cast<int32_t>(at));
            if (EffectiveDepth(r) >= kMaxDepth)
                continue;
            TDynInfo s = r;
            s.Depth = static_cast<int8_t>(EffectiveDepth(r) + 1);
            s.Stack[s.Depth] = static_cast<int16_t>(keywordCount);
            s.StyleFlags = sfUnderline | sfKeyed | sfContext;
            s.Context = 1024;
            s.StartLen = s.StopLen = static_cast<int16_t>(end - at);
            ApplyRunAt(memo->Paragraphs(), p, static_cast<int32_t>(at), p, static_cast<int32_t>(end), 0,
                       false, true, s);
            at = end;
        }
    }
};

// Whole-word keys in any letter case, a line comment, and keywords that overlap the keys.
void AddWordKeys(THighlighting& hl) {
    TStartStopKeyList& keys = hl.StartStopKeys();
    keys.AddKey("begin", "end", koWholeWord, sfBold, 3, 0, -1, -1, false);
    keys.AddKey("--", "", 0, sfItalic, 4, 0, -1, -1, true);
    keys.AddKey("Begin", "End", koWholeWord | koCaseSensitive, 0, 5, 0, -1, -1, true);
    TKeywordList& kw = hl.Keywords();
    kw.AddKeyWord("end", 0, 0, 0, 0, -1, -1);
    kw.AddKeyWord("nd b", 0, 0, 6, 0, -1, -1);
    kw.AddKeyWord("be", koWholeWord, 0, 7, 0, -1, -1);
    kw.AddKeyWord("e", koCaseSensitive, 0, 8, 0, -1, -1);
}

enum class Variant { KeysAndKeywords, WithHighlighter, WholeWordKeys };

// The property: a few thousand random edits on a text with keywords and contexts that span
// paragraphs; after each, the runs and base styles equal those of a fresh parse.
class RandomEdits : public ::testing::TestWithParam<Variant> {};

TEST_P(RandomEdits, GiveTheSameRunsAsAFreshParse) {
    const Variant variant = GetParam();
    AddressHighlighter address;
    std::mt19937 rng(20261209 + static_cast<unsigned>(variant));
    const std::vector<std::string> pieces =
        variant == Variant::WholeWordKeys
            ? std::vector<std::string>{"begin ", "Begin", "BEGIN", "end", "End", " ",    " ",    "--", "-",
                                       "x",      "b",     "e",     "n",   "d",   "\r\n", "\r\n", ".",  "nd b"}
            : std::vector<std::string>{"a", "b", "i", "f",  "x",  " ",    " ",    "/*",   "*/",  "!/",   "\"",
                                       "A", "/", "*", "fi", "aa", "\r\n", "\r\n", "rem ", "if ", "http:"};
    auto randomText = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += pieces[rng() % pieces.size()];
        return s;
    };
    auto prepare = [&](HighlightFixture& fixture) {
        if (variant == Variant::WholeWordKeys)
            AddWordKeys(fixture.Hl);
        else
            AddSampleKeys(fixture.Hl);
        if (variant == Variant::WithHighlighter)
            fixture.Hl.SetHighlighter(&address);
    };
    HighlightFixture f;
    std::string initial;
    for (int p = 0; p < 24; ++p)
        initial += randomText(6) + "\r\n";
    f.Load(initial + "end");
    prepare(f);
    f.HighlightAll();

    for (int step = 0; step < 3000; ++step) {
        const int32_t length = f.Core.CharCount();
        int32_t from = static_cast<int32_t>(rng() % static_cast<uint32_t>(length + 1));
        int32_t to = std::min<int32_t>(length, from + static_cast<int32_t>(rng() % 6));
        if (rng() % 8 == 0)
            to = std::min<int32_t>(length, from + static_cast<int32_t>(rng() % 60));
        const int kind = static_cast<int>(rng() % 10);
        const std::string text = kind < 3 ? std::string() : randomText(kind < 8 ? 1 : 3);
        Edit(f, from, to, text.c_str(), rng() % 16 == 0);
        ASSERT_TRUE(test::StoreInvariantsHold(f.List())) << "step " << step;

        std::string all;
        for (int p = 0; p < f.List().Count(); ++p)
            all += (p ? "\r\n" : "") + test::ParText(f.List().Par(p));
        HighlightFixture fresh(all);
        prepare(fresh);
        fresh.HighlightAll();
        const std::string diff = test::SnapshotDiff(test::Snapshot(fresh.List()), test::Snapshot(f.List()));
        ASSERT_EQ(diff, "") << "step " << step << ": replaced " << from << ".." << to << " by \"" << text
                            << "\" giving:\n"
                            << all;
    }
}

std::string VariantName(const ::testing::TestParamInfo<Variant>& info) {
    switch (info.param) {
    case Variant::KeysAndKeywords:
        return "KeysAndKeywords";
    case Variant::WithHighlighter:
        return "WithHighlighter";
    case Variant::WholeWordKeys:
        return "WholeWordKeys";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(HighlightAfterEdit, RandomEdits,
                         ::testing::Values(Variant::KeysAndKeywords, Variant::WithHighlighter,
                                           Variant::WholeWordKeys),
                         VariantName);

} // namespace
} // namespace zandor
