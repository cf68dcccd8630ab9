// Highlighting a long paragraph costs work in proportion to its length, whatever its bytes. The
// work is counted, not timed: the bytes the address scans read and the run records moved to make
// room; a scan walking back and forth around every "@", or runs moved behind every address, count
// the square of the length. Both ways of styling (whole paragraphs, and the general one through
// navigators, keyword by keyword) end with the same runs, the addresses the rules find.
#include "editor/addons/GeneralWayURLs.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace zandor {
namespace {

// A mailing-list header longer than one address may be, lines of dots and of "@", addresses with
// keywords touching them, and a mix of prefixes and delimiters.
std::string LongParagraph(int kind, size_t length) {
    std::mt19937 rng(5);
    const char* mix[] = {"@", ".", "www.", " ", ",", "kw", "ftp.", "u", "http://", "(", ";"};
    std::string text = kind == 0 ? "To: " : "";
    for (int i = 0; text.size() < length; ++i)
        text += kind == 0   ? "user" + std::to_string(i) + "@example.com,"
                : kind == 1 ? std::string(".")
                : kind == 2 ? std::string("@")
                : kind == 3 ? std::string(i % 2 ? "www.a.b " : "x@y.z ")
                : kind == 4 ? std::string("(www.a.b)kw.")
                            : std::string(mix[rng() % std::size(mix)]);
    return text;
}

struct TSide {
    TArtMemoCore Core;
    THighlighting Hl{Core};
    TURLHighlighter& Urls;

    TSide(TURLHighlighter& urls, const std::string& text, bool oneByOne) : Urls(urls) {
        TArtNavigator s(&Core), e(&Core);
        ReplaceText(Core, s, e, text.c_str());
        Hl.SetHighlighter(&urls);
        Hl.SetKeywordRunsInOnePass(!oneByOne);
        for (const char* word : {"kw", "(", "user"})
            Hl.Keywords().AddKeyWord(word, 0, 0, 1, 0, -1, 0xFF00);
    }
    // The bytes scanned and the records moved by highlighting everything, then by typing at `at`.
    std::vector<std::pair<int64_t, uint64_t>> Work(int32_t at) {
        std::vector<std::pair<int64_t, uint64_t>> work;
        for (int step = 0; step < 2; ++step) {
            const int64_t examined = Urls.Examined();
            const uint64_t moved = TRunArray::Moved();
            TArtNavigator s(&Core), e(&Core);
            if (step == 0) {
                Hl.ReApplyKeywords();
                Hl.HighlightUpTo(0);
            } else {
                s.SetPos(at);
                e.SetPos(at);
                Hl.AfterReplace(s, e, ReplaceText(Core, s, e, "q").RunsRemoved, false);
            }
            work.emplace_back(Urls.Examined() - examined, TRunArray::Moved() - moved);
        }
        return work;
    }
    const ParInfo& Par() { return Core.Paragraphs().Par(0); }
};

TEST(URLScale, HighlightingALongParagraphCostsItsLength) {
    for (int kind = 0; kind < 6; ++kind) {
        const std::string text = LongParagraph(kind, 120000);
        const auto bytes = static_cast<int64_t>(text.size());
        TGeneralWayURLs generalUrls;
        TURLHighlighter shortUrls;
        TSide general(generalUrls, text, true), quick(shortUrls, text, false);
        for (TSide* side : {&general, &quick})
            for (const auto& [examined, moved] : side->Work(static_cast<int32_t>(bytes / 2))) {
                EXPECT_LE(examined, 16 * bytes)
                    << "kind " << kind << (side == &quick ? " short" : " general");
                EXPECT_LE(moved, 2u * bytes) << "kind " << kind << (side == &quick ? " short" : " general");
            }
        const ParInfo& par = quick.Par();
        const int n = RunCount(par);
        ASSERT_EQ(RunCount(general.Par()), n) << "kind " << kind;
        const size_t bytesOfRuns = static_cast<size_t>(n) * sizeof(TDynInfo);
        EXPECT_TRUE(n == 0 ||
                    std::memcmp(par.Extra->Runs.data(), general.Par().Extra->Runs.data(), bytesOfRuns) == 0)
            << "kind " << kind;
        std::vector<std::pair<int32_t, int32_t>> styled, found;
        for (int i = 0; i < n; ++i) {
            const TDynInfo& run = par.Extra->Runs[static_cast<size_t>(i)];
            const int32_t from = run.Offset;
            const int32_t to =
                i + 1 < n ? par.Extra->Runs[static_cast<size_t>(i + 1)].Offset : ParLength(par);
            if (run.Context >= shortUrls.BaseContext() && run.Context < shortUrls.BaseContext() + kURLRows)
                styled.emplace_back(from, to);
        }
        for (const TURLMatch& m : FindURLs(std::string_view(par.Text, static_cast<size_t>(ParLength(par)))))
            found.emplace_back(m.Start, m.End);
        EXPECT_EQ(styled, found) << "kind " << kind;
    }
}

} // namespace
} // namespace zandor
