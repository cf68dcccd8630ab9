// Keeping registered navigators valid across text replacements, and their lifetime with the
// control.
#include "NavigatorTestText.h"
#include "editor/engine/ArtNavigator.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

// Replaces text[a, e) like the control does: the text changes, the two selection ends stand at
// the start and after the end of the new text, and the registry moves everyone else.
class Replacer {
public:
    Replacer(TArtMemoCore& core, std::string text) : Core(core), Text(std::move(text)) {
        LoadText(core, Text);
    }

    void Replace(int32_t a, int32_t e, const std::string& with) {
        const TextModel before(Text);
        TReplacedRange range;
        range.OldStart = a;
        range.OldEnd = e;
        range.LengthDelta = static_cast<int32_t>(with.size()) - (e - a);
        range.FirstPar = before.ParOf(a);
        range.OldLastPar = before.ParOf(e);
        Text.replace(static_cast<size_t>(a), static_cast<size_t>(e - a), with);
        const TextModel after(Text);
        range.ParDelta =
            static_cast<int32_t>(after.Starts.size()) - static_cast<int32_t>(before.Starts.size());
        LoadText(Core, Text);
        SelStart.Invalidate();
        SelStart.SetPos(a);
        SelStart.GetParNb();
        SelEnd.Invalidate();
        SelEnd.SetPos(a + static_cast<int32_t>(with.size()));
        SelEnd.GetParNb();
        Core.Navigators().AdjustAfterReplace(range, SelStart, SelEnd);
    }

    TArtMemoCore& Core;
    std::string Text;
    TArtNavigator SelStart{&Core};
    TArtNavigator SelEnd{&Core};
};

// The navigator's cached paragraph agrees with a fresh resolution of its position.
::testing::AssertionResult ResolvedLikeAFreshNavigator(TArtMemoCore& core, TArtNavigator& nav) {
    TArtNavigator fresh(&core);
    fresh.SetPos(nav.Pos());
    if (nav.GetParNb() != fresh.GetParNb() || nav.ParOffset() != fresh.ParOffset() ||
        nav.LineIndex() != fresh.LineIndex() || nav.Par() != fresh.Par())
        return ::testing::AssertionFailure()
               << "position " << nav.Pos() << ": paragraph " << nav.GetParNb() << "/" << fresh.GetParNb()
               << ", offset " << nav.ParOffset() << "/" << fresh.ParOffset();
    return ::testing::AssertionSuccess();
}

TEST(NavigatorRegistry, NavigatorsAfterTheRangeMoveAndRecomputeTheirParagraph) {
    TArtMemoCore core;
    Replacer edit(core, "alpha\r\nbeta gamma\r\ndelta");
    TArtNavigator inEndPar(&core), later(&core), before(&core);
    inEndPar.SetPos(14); // "gamma" in paragraph 1
    inEndPar.LineIndex();
    later.SetPos(21); // "elta"
    before.SetPos(2);
    before.LineIndex();
    edit.Replace(3, 10, "X\r\nY\r\nZ"); // from "ha" of alpha to "a " of beta: one paragraph more
    EXPECT_EQ(edit.Text, "alpX\r\nY\r\nZa gamma\r\ndelta");
    // Seven characters out, seven in: positions stay, paragraph indexes grow by two.
    EXPECT_EQ(inEndPar.Pos(), 14);
    EXPECT_EQ(later.Pos(), 21);
    EXPECT_EQ(before.Pos(), 2);
    for (TArtNavigator* nav : {&inEndPar, &later, &before})
        EXPECT_TRUE(ResolvedLikeAFreshNavigator(core, *nav));
    EXPECT_EQ(inEndPar.GetParNb(), 2);
    EXPECT_EQ(later.GetParNb(), 3);
}

TEST(NavigatorRegistry, NavigatorsInsideTheRangeTakeTheStartOrTheEndOfTheNewText) {
    TArtMemoCore core;
    Replacer edit(core, "0123456789");
    TArtNavigator atStart(&core), inside(&core), atEnd(&core), sticky(&core), stickyAtStart(&core);
    atStart.SetPos(2);
    inside.SetPos(4);
    atEnd.SetPos(6);
    sticky.SetPos(5);
    sticky.StickToEnd = true;
    stickyAtStart.SetPos(2);
    stickyAtStart.StickToEnd = true;
    edit.Replace(2, 6, "abcdefg");
    EXPECT_EQ(atStart.Pos(), 2);
    EXPECT_EQ(inside.Pos(), 2);
    EXPECT_EQ(atEnd.Pos(), 2);
    EXPECT_EQ(sticky.Pos(), 9);
    EXPECT_EQ(stickyAtStart.Pos(), 9);
    // An insertion: a navigator at the insertion point stays in front unless it sticks to the end.
    edit.Replace(0, 0, "++");
    EXPECT_EQ(atStart.Pos(), 4);
    TArtNavigator front(&core), back(&core);
    front.SetPos(4);
    back.SetPos(4);
    back.StickToEnd = true;
    edit.Replace(4, 4, "\r\n");
    EXPECT_EQ(front.Pos(), 4);
    EXPECT_EQ(back.Pos(), 6);
    EXPECT_EQ(back.GetParNb(), 1);
    EXPECT_EQ(back.ParOffset(), 0);
}

TEST(NavigatorRegistry, AdoptedNavigatorsInDeletedTextAreDestroyedWithTheirOnFree) {
    std::vector<TArtNavigator*> freed; // outlives the control, whose end frees the rest
    TArtMemoCore core;
    Replacer edit(core, "line one\r\nline two\r\nline three");
    auto bookmark = [&](int32_t pos, bool stickToEnd) {
        auto nav = std::make_unique<TArtNavigator>(&core);
        nav->SetPos(pos);
        nav->StickToEnd = stickToEnd;
        nav->FreeWithText = true;
        nav->OnFree = [&freed](TArtNavigator* sender) { freed.push_back(sender); };
        return core.Navigators().Adopt(std::move(nav));
    };
    TArtNavigator* gone = bookmark(10, false);       // inside
    TArtNavigator* goneSticky = bookmark(4, true);   // at the start, sticking to the end
    TArtNavigator* keptAtStart = bookmark(4, false); // at the start
    TArtNavigator* keptAtEnd = bookmark(12, true);   // at the end, sticking to it
    TArtNavigator* after = bookmark(20, true);
    const int registered = core.Navigators().Count();
    edit.Replace(4, 12, "");
    EXPECT_EQ(freed, (std::vector<TArtNavigator*>{gone, goneSticky}));
    freed.clear();
    EXPECT_EQ(core.Navigators().Count(), registered - 2);
    EXPECT_EQ(keptAtStart->Pos(), 4);
    EXPECT_EQ(keptAtEnd->Pos(), 4);
    EXPECT_EQ(after->Pos(), 12);
}

TEST(NavigatorRegistry, NavigatorsOwnedElsewhereAreDetachedAndToldOnce) {
    TArtMemoCore core;
    Replacer edit(core, "abcdefghij");
    const int baseline = core.Navigators().Count();
    int calls = 0;
    auto owned = std::make_unique<TArtNavigator>(&core);
    owned->FreeWithText = true;
    owned->SetPos(5);
    owned->OnFree = [&](TArtNavigator*) { ++calls; };
    // Two more that an OnFree handler destroys while they wait for their turn.
    auto second = std::make_unique<TArtNavigator>(&core);
    auto third = std::make_unique<TArtNavigator>(&core);
    for (auto* nav : {second.get(), third.get()}) {
        nav->FreeWithText = true;
        nav->SetPos(6);
    }
    second->OnFree = [&](TArtNavigator*) { third.reset(); };
    edit.Replace(3, 8, "");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(owned->Memo(), nullptr);
    EXPECT_EQ(third, nullptr);
    owned.reset();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(core.Navigators().Count(), baseline) << "the core's own and the two selection ends";
}

TEST(NavigatorRegistry, TheControlDetachesOutsideNavigatorsAndFreesAdoptedOnesWhenItEnds) {
    auto core = std::make_unique<TArtMemoCore>();
    LoadText(*core, "some text");
    TArtNavigator outside(core.get());
    outside.SetPos(4);
    outside.GetParNb();
    bool freed = false;
    auto adopted = std::make_unique<TArtNavigator>(core.get());
    adopted->OnFree = [&](TArtNavigator*) { freed = true; };
    core->Navigators().Adopt(std::move(adopted));
    core.reset();
    EXPECT_TRUE(freed);
    EXPECT_EQ(outside.Memo(), nullptr);
    EXPECT_EQ(outside.Pos(), 4);
}

TEST(NavigatorRegistry, InvalidatedNavigatorsRecountRunsChangedUnderThem) {
    TArtMemoCore core;
    LoadText(core, "abcdef\r\nghij");
    TArtNavigator early(&core), late(&core), next(&core);
    early.SetPos(1);
    late.SetPos(5);
    next.SetPos(10);
    for (TArtNavigator* nav : {&early, &late, &next})
        EXPECT_EQ(nav->RunIndex(), 0);
    AddRun(core, 0, 3, sfContext | sfBold, 77);
    AddRun(core, 1, 0, sfContext | sfBold, 78);
    core.Navigators().InvalidateNavigators(3, 1);
    EXPECT_EQ(late.RunIndex(), 1);
    EXPECT_EQ(late.CurrentContext(), 77);
    EXPECT_EQ(next.RunIndex(), 1);
    EXPECT_EQ(early.RunIndex(), 0);
}

TEST(NavigatorRegistry, ALentControlDoesNotRegisterTheNavigator) {
    TArtMemoCore core;
    LoadText(core, "abc\r\ndef");
    const int registered = core.Navigators().Count();
    TArtNavigator scratch;
    scratch.SetMemo(&core);
    scratch.SetPos(6);
    EXPECT_EQ(scratch.GetParNb(), 1);
    EXPECT_EQ(core.Navigators().Count(), registered);
    core.Navigators().ResetAll();
    EXPECT_EQ(scratch.Pos(), 6); // not registered, not moved
}

class NavigatorRegistryRandom : public ::testing::TestWithParam<unsigned> {};

TEST_P(NavigatorRegistryRandom, EveryNavigatorFollowsRandomEdits) {
    std::mt19937 rng(GetParam());
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto randomText = [&](int maxPieces) {
        std::string s;
        for (int k = uniform(0, maxPieces); k > 0; --k)
            s += uniform(0, 4) == 0 ? std::string("\r\n")
                                    : std::string(static_cast<size_t>(uniform(1, 6)), "abc "[uniform(0, 3)]);
        return s;
    };
    TArtMemoCore core;
    Replacer edit(core, randomText(30));
    struct Tracked {
        std::unique_ptr<TArtNavigator> Nav;
        int32_t Expected;
    };
    std::vector<Tracked> tracked;
    for (int i = 0; i < 12; ++i) {
        Tracked t{std::make_unique<TArtNavigator>(&core), 0};
        t.Nav->StickToEnd = i % 3 == 0;
        tracked.push_back(std::move(t));
    }
    // A position that does not split a CR LF pair.
    auto randomPos = [&] {
        int32_t p = uniform(0, static_cast<int>(edit.Text.size()));
        if (p > 0 && edit.Text[static_cast<size_t>(p - 1)] == '\r')
            --p;
        return p;
    };
    for (int step = 0; step < 400; ++step) {
        for (Tracked& t : tracked) {
            if (uniform(0, 3) == 0) {
                t.Nav->SetPos(randomPos());
                if (uniform(0, 1))
                    t.Nav->LineIndex(); // resolved, with a cached line
            }
            t.Expected = t.Nav->Pos();
        }
        int32_t a = randomPos(), e = randomPos();
        if (a > e)
            std::swap(a, e);
        const std::string with = randomText(4);
        const int32_t d = static_cast<int32_t>(with.size()) - (e - a);
        edit.Replace(a, e, with);
        for (Tracked& t : tracked) {
            int32_t& p = t.Expected;
            if (p > e)
                p += d;
            else if (p >= a)
                p = t.Nav->StickToEnd ? a + static_cast<int32_t>(with.size()) : a;
            SCOPED_TRACE(testing::Message() << "step " << step << " replaced " << a << ".." << e);
            ASSERT_EQ(t.Nav->Pos(), p);
            ASSERT_TRUE(ResolvedLikeAFreshNavigator(core, *t.Nav));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, NavigatorRegistryRandom, ::testing::Values(3u, 17u, 4242u));

} // namespace
} // namespace zandor::test
