// The engine's short ways with the address highlighter (styling whole paragraphs on offsets with
// the room counted beforehand, keywords matched before the addresses are styled, keyword and
// address runs placed in one pass, plain paragraphs spared the key parser) against the general
// way through navigators and the parser: random texts, keyword lists, priorities and refused kinds
// of address, highlighted, highlighted again and edited, must end with the same runs in every
// paragraph.
#include "editor/addons/GeneralWayURLs.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"
#include "editor/engine/RunState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace zandor {
namespace {

struct TSide {
    TArtMemoCore Core;
    THighlighting Hl{Core};

    void Load(const std::string& text) {
        TArtNavigator s(&Core), e(&Core);
        ReplaceText(Core, s, e, text.c_str());
    }
    void Type(int32_t at, const char* what) {
        TArtNavigator s(&Core), e(&Core);
        s.SetPos(at);
        e.SetPos(at);
        const TReplaceResult r = ReplaceText(Core, s, e, what);
        Hl.AfterReplace(s, e, r.RunsRemoved, false);
    }
};

std::string RunsOf(TArtMemoCore& core) {
    std::string out;
    TParagraphsList& list = core.Paragraphs();
    for (int p = 0; p < list.Count(); ++p) {
        const ParInfo& par = list.Par(p);
        out += "par " + std::to_string(p) + " flags " + std::to_string(par.Flags & (pfParsed | pfKeywords)) +
               ":";
        for (int i = 0; i < RunCount(par); ++i) {
            const TDynInfo& r = par.Extra->Runs[static_cast<size_t>(i)];
            out += " [" + std::to_string(r.Offset) + " ctx " + std::to_string(r.Context) + " depth " +
                   std::to_string(r.Depth) + " len " + std::to_string(r.StartLen) + "]";
        }
        out += "\n";
    }
    return out;
}

bool SameRecords(TArtMemoCore& a, TArtMemoCore& b) {
    TParagraphsList& x = a.Paragraphs();
    TParagraphsList& y = b.Paragraphs();
    if (x.Count() != y.Count())
        return false;
    for (int p = 0; p < x.Count(); ++p) {
        const int n = RunCount(x.Par(p));
        if (n != RunCount(y.Par(p)))
            return false;
        if (n > 0 && std::memcmp(x.Par(p).Extra->Runs.data(), y.Par(p).Extra->Runs.data(),
                                 static_cast<size_t>(n) * sizeof(TDynInfo)) != 0)
            return false;
    }
    return true;
}

TEST(URLParagraphPath, StylesWhatTheGeneralWayStyles) {
    const std::vector<std::string> pieces = {"http://a.org/x",
                                             "www.group.org",
                                             "WWW.",
                                             "mail@crew.net;",
                                             "news:alt.x",
                                             "ftp.files.org",
                                             "file://x",
                                             "gopher.y",
                                             "kw",
                                             "KW",
                                             "org",
                                             "group",
                                             "net",
                                             " ",
                                             "\t",
                                             "(",
                                             ")",
                                             ",",
                                             ".",
                                             ";",
                                             "\r\n",
                                             "\r\n",
                                             "x",
                                             "@"};
    const std::vector<std::string> words = {"kw", "org", "group", "net", "www", "x", "ftp", "a.o"};
    std::mt19937 rng(2020);
    for (int round = 0; round < 600; ++round) {
        std::string text;
        const int count = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i)
            text += pieces[rng() % pieces.size()];

        TURLHighlighter fast;
        TGeneralWayURLs general(true);
        const bool priority = rng() % 2 == 0;
        const int refused = static_cast<int>(rng() % 6); // 5: every kind accepted
        for (TURLHighlighter* urls :
             {static_cast<TURLHighlighter*>(&fast), static_cast<TURLHighlighter*>(&general)}) {
            urls->SetPriority(priority);
            if (refused < 5)
                urls->OnURL = [refused](TURLHighlighter*, int16_t, TURLType type) { return type != refused; };
        }
        TSide a, b;
        a.Load(text);
        b.Load(text);
        a.Hl.SetHighlighter(&fast);
        b.Hl.SetHighlighter(&general);
        b.Hl.SetKeywordRunsInOnePass(false);
        const int keywordCount = static_cast<int>(rng() % 4);
        for (int k = 0; k < keywordCount; ++k) {
            const std::string& w = words[rng() % words.size()];
            const uint8_t options = rng() % 2 ? koWholeWord : 0;
            for (TSide* side : {&a, &b})
                side->Hl.Keywords().AddKeyWord(w, options, 0, 1 + k, 0, -1, 0xFF00);
        }
        const std::string what = "text '" + text + "' priority " + std::to_string(priority) + " refused " +
                                 std::to_string(refused) + " keywords " + std::to_string(keywordCount);

        for (int pass = 0; pass < 2; ++pass) {
            for (TSide* side : {&a, &b}) {
                side->Hl.ReApplyKeywords();
                side->Hl.HighlightUpTo(side->Core.Paragraphs().Count() - 1);
            }
            ASSERT_TRUE(SameRecords(a.Core, b.Core)) << what << " pass " << pass << "\n"
                                                     << RunsOf(a.Core) << "---\n"
                                                     << RunsOf(b.Core);
        }
        TParagraphsList& list = a.Core.Paragraphs();
        const ParInfo& par = list.Par(static_cast<int>(rng() % static_cast<unsigned>(list.Count())));
        const int32_t at =
            par.Start + static_cast<int32_t>(rng() % static_cast<unsigned>(ParLength(par) + 1));
        const char* typed = rng() % 2 ? "w" : " ";
        for (TSide* side : {&a, &b})
            side->Type(at, typed);
        ASSERT_TRUE(SameRecords(a.Core, b.Core)) << what << " typed at " << at << "\n"
                                                 << RunsOf(a.Core) << "---\n"
                                                 << RunsOf(b.Core);
        EXPECT_EQ(RunsOf(a.Core), RunsOf(b.Core)) << what;
    }
}

// Addresses styled over runs of every kind (contexts with levels and key lengths, a context carried
// in from the paragraph before): written directly or through the general run application, the
// runs are the same, byte for byte.
TEST(URLParagraphPath, PlacesAddressesOverAnyRunsAsTheGeneralWayDoes) {
    const std::vector<std::string> pieces = {"www.a.org", "x@y.net", " ", "ab", "ftp.b", ".", "\t", "news:c"};
    std::mt19937 rng(77);
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        for (int i = 1 + static_cast<int>(rng() % 12); i > 0; --i)
            text += pieces[rng() % pieces.size()];
        const auto length = static_cast<int32_t>(text.size());
        // Some states for the runs already there.
        auto randomState = [&] {
            TDynInfo r = kDefaultRunState;
            if (rng() % 3 != 0) {
                r = Pushed(kDefaultRunState, KeyEntry(static_cast<int>(rng() % 3)));
                r.StyleFlags = static_cast<uint8_t>(sfKeyed | sfContext | (rng() % 16));
                r.Context = 1 + static_cast<int32_t>(rng() % 3);
                r.Level = static_cast<uint8_t>(rng() % 3);
                r.StartLen = static_cast<int16_t>(rng() % 12);
                r.StopLen = static_cast<int16_t>(rng() % 4);
                r.Foreground = static_cast<int32_t>(rng() % 5);
            }
            return r;
        };
        std::vector<TDynInfo> runs(rng() % 5);
        for (TDynInfo& r : runs) {
            r = randomState();
            r.Offset = static_cast<int32_t>(rng() % static_cast<unsigned>(length + 1));
        }
        std::stable_sort(runs.begin(), runs.end(),
                         [](const TDynInfo& a, const TDynInfo& b) { return a.Offset < b.Offset; });
        const bool carried = rng() % 3 == 0;
        const TDynInfo base = randomState();
        const bool last = rng() % 2 == 0;

        TURLHighlighter fast;
        TGeneralWayURLs general(true);
        std::vector<std::string> results;
        for (TURLHighlighter* urls :
             {static_cast<TURLHighlighter*>(&fast), static_cast<TURLHighlighter*>(&general)}) {
            urls->SetPriority(true);
            TSide side;
            side.Load(last ? text : text + "\r\nmore");
            ParInfo& par = side.Core.Paragraphs().Par(0);
            if (carried)
                SetBaseStyle(par, &base, true);
            for (const TDynInfo& r : runs)
                ExtendPar(par).Runs.push_back(r);
            TArtNavigator a(&side.Core), b(&side.Core);
            a.SetPos(0);
            b.SetPos(length);
            urls->ApplyHighlight(a, b, 3);
            const ParInfo& done = side.Core.Paragraphs().Par(0);
            results.push_back(RunsOf(side.Core));
            if (RunCount(done) > 0)
                results.back().append(reinterpret_cast<const char*>(done.Extra->Runs.data()),
                                      static_cast<size_t>(RunCount(done)) * sizeof(TDynInfo));
        }
        ASSERT_EQ(results[0], results[1]) << "round " << round << " text '" << text << "'";
    }
}

} // namespace
} // namespace zandor
