// Random walks of several navigators over random texts, checked step by step against a plain
// string with CR LF breaks and a plain table of display lines and runs.
#include "NavigatorTestText.h"
#include "editor/engine/ArtNavigator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

struct RunAt {
    int32_t Pos;
    int Par;
    int32_t Offset;
};

// The reference: text, wraps per paragraph, runs per paragraph (distinct offsets).
struct Reference {
    TextModel Model;
    std::vector<std::vector<int32_t>> Wraps;
    std::vector<std::vector<int32_t>> Runs;
    std::vector<RunAt> AllRuns; // ascending by position
    TCharSet Set = DefaultSeparators();

    explicit Reference(std::string text) : Model(std::move(text)) {}

    int32_t Size() const { return static_cast<int32_t>(Model.Text.size()); }
    int32_t StartOf(int par) const { return Model.Starts[static_cast<size_t>(par)]; }
    int ParCount() const { return static_cast<int>(Model.Starts.size()); }

    int LineOf(int par, int32_t offset) const {
        const auto& w = Wraps[static_cast<size_t>(par)];
        return static_cast<int>(std::upper_bound(w.begin(), w.end(), offset) - w.begin());
    }
    bool IsWrap(int par, int32_t offset) const {
        const auto& w = Wraps[static_cast<size_t>(par)];
        return std::binary_search(w.begin(), w.end(), offset);
    }
    int32_t LineStart(int par, int line) const {
        return line == 0 ? 0 : Wraps[static_cast<size_t>(par)][static_cast<size_t>(line - 1)];
    }
    int32_t LineStop(int par, int line) const {
        const auto& w = Wraps[static_cast<size_t>(par)];
        return static_cast<size_t>(line) < w.size() ? w[static_cast<size_t>(line)] : Model.ParLength(par);
    }
    int FirstLine(int par) const {
        int line = 0;
        for (int p = 0; p < par; ++p)
            line += static_cast<int>(Wraps[static_cast<size_t>(p)].size()) + 1;
        return line;
    }
    int LineCount() const { return FirstLine(ParCount()); }
    // Position of the start of a global display line.
    int32_t PosOfLine(int line) const {
        line = std::clamp(line, 0, LineCount() - 1);
        int p = 0;
        while (line >= static_cast<int>(Wraps[static_cast<size_t>(p)].size()) + 1) {
            line -= static_cast<int>(Wraps[static_cast<size_t>(p)].size()) + 1;
            ++p;
        }
        return StartOf(p) + LineStart(p, line);
    }
    int RunsBefore(int par, int32_t offset, bool inclusive) const {
        int n = 0;
        for (int32_t o : Runs[static_cast<size_t>(par)])
            if (o < offset || (inclusive && o == offset))
                ++n;
        return n;
    }

    bool InSet(int32_t pos) const { return Set.test(Model.CharAt(pos)); }

    int32_t WordLeft(int32_t p) const {
        if (p == 0)
            return 0;
        --p;
        while (p > 0 && InSet(p))
            --p;
        while (p > 0 && !Set.test(static_cast<uint8_t>(Model.Text[static_cast<size_t>(p - 1)])))
            --p;
        return p;
    }
    int32_t WordRight(int32_t p) const {
        const int32_t size = Size();
        auto onCR = [&](int32_t q) { return q == size || Model.Text[static_cast<size_t>(q)] == '\r'; };
        if (onCR(p))
            return std::min(p + 2, size);
        const int32_t start = p;
        while (p < size && !InSet(p))
            ++p;
        if (p == start && onCR(p))
            p = std::min(p + 2, size);
        while (p < size && InSet(p))
            ++p;
        return p;
    }
    int32_t WordEnd(int32_t p) const {
        const int32_t size = Size();
        while (p < size && Model.Text[static_cast<size_t>(p)] != '\r' &&
               Model.Text[static_cast<size_t>(p)] != '\n' && !InSet(p))
            ++p;
        return p;
    }
    int32_t WordStart(int32_t p) const {
        const int32_t parStart = StartOf(Model.ParOf(p));
        while (p > parStart && InSet(p))
            --p;
        while (p > parStart && !Set.test(static_cast<uint8_t>(Model.Text[static_cast<size_t>(p - 1)])))
            --p;
        return p;
    }
};

// What the test knows about one navigator beyond its position: whether the runs at its position
// were skipped, so that its run index counts them.
struct Walker {
    std::unique_ptr<TArtNavigator> Nav;
    bool Skipped = false;
};

std::string RandomText(std::mt19937& rng) {
    static const char alphabet[] = "abcxyz  ,.\t$q";
    std::uniform_int_distribution<int> pars(1, 40), pick(0, 99),
        ch(0, static_cast<int>(sizeof(alphabet)) - 2);
    std::string text;
    const int count = pars(rng);
    for (int p = 0; p < count; ++p) {
        if (p > 0)
            text += "\r\n";
        int roll = pick(rng);
        int length = roll < 70 ? roll % 13 : roll < 95 ? 13 + roll * 3 % 68 : 200 + roll * 37;
        for (int i = 0; i < length; ++i)
            text += alphabet[ch(rng)];
    }
    return text;
}

class NavigatorRandom : public ::testing::TestWithParam<unsigned> {};

TEST_P(NavigatorRandom, AgreesWithAPlainStringModel) {
    std::mt19937 rng(GetParam());
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    TArtMemoCore core;
    Reference ref(RandomText(rng));
    LoadText(core, ref.Model.Text);
    core.SetWordWrap(true);
    for (int p = 0; p < ref.ParCount(); ++p) {
        const int32_t length = ref.Model.ParLength(p);
        std::vector<int32_t> wraps;
        for (int32_t w = 16; length > 20 && w < length; w += uniform(5, 30))
            wraps.push_back(w);
        std::vector<int32_t> runs;
        if (uniform(0, 2) == 0)
            for (int k = uniform(1, 4); k > 0; --k)
                runs.push_back(uniform(0, length));
        std::sort(runs.begin(), runs.end());
        runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
        for (int32_t o : runs) {
            AddRun(core, p, o, sfContext | sfBold, p * 100 + o);
            ref.AllRuns.push_back({ref.StartOf(p) + o, p, o});
        }
        if (!wraps.empty())
            WrapAt(core, p, wraps);
        ref.Wraps.push_back(wraps);
        ref.Runs.push_back(runs);
    }

    std::vector<Walker> walkers(4);
    for (Walker& w : walkers)
        w.Nav = std::make_unique<TArtNavigator>(&core);

    for (int step = 0; step < 3000; ++step) {
        Walker& w = walkers[static_cast<size_t>(uniform(0, 3))];
        TArtNavigator& nav = *w.Nav;
        const int32_t size = ref.Size();
        const int32_t before = nav.Pos();
        int32_t expected = before;
        bool skipped = false;
        const int op = uniform(0, 16);
        switch (op) {
        case 0:
            expected = uniform(0, size);
            nav.SetPos(expected);
            break;
        case 1:
            expected = std::clamp(before + uniform(-3, 5), 0, size);
            skipped = w.Skipped && expected == before;
            nav.SetPos(expected);
            break;
        case 2: {
            int par = uniform(0, ref.ParCount() - 1);
            nav.SetParNb(par);
            expected = ref.StartOf(par);
            break;
        }
        case 3: {
            int par = ref.Model.ParOf(before);
            int32_t n = uniform(-2, ref.Model.ParLength(par) + 3);
            nav.SetParOffset(n);
            expected = ref.StartOf(par) + std::clamp(n, 0, ref.Model.ParLength(par));
            break;
        }
        case 4:
            nav.WordLeft(ref.Set);
            expected = ref.WordLeft(before);
            break;
        case 5:
            nav.WordRight(ref.Set);
            expected = ref.WordRight(before);
            break;
        case 6:
            nav.WordStart(ref.Set);
            expected = ref.WordStart(before);
            break;
        case 7:
            nav.WordEnd(ref.Set);
            expected = ref.WordEnd(before);
            break;
        case 8:
        case 9: {
            int line = uniform(-2, ref.LineCount() + 2);
            if (op == 8)
                nav.SetLineNb(line);
            else
                nav.SetDisplayLine(line);
            expected = ref.PosOfLine(line);
            skipped = false;
            break;
        }
        case 10: {
            int par = ref.Model.ParOf(before);
            int line = nav.LineIndex();
            int32_t n = uniform(-2, 40);
            nav.SetLineOffset(n);
            const int32_t start = ref.LineStart(par, line), stop = ref.LineStop(par, line);
            expected = ref.StartOf(par) + start + std::clamp(n, 0, stop - start);
            break;
        }
        case 11: {
            int32_t limit = uniform(0, size);
            const RunAt* next = nullptr;
            for (const RunAt& r : ref.AllRuns)
                if (r.Pos > before || (r.Pos == before && !w.Skipped)) {
                    next = &r;
                    break;
                }
            bool moved = nav.NextRun(limit);
            ASSERT_EQ(moved, next && next->Pos <= limit) << "NextRun from " << before << " limit " << limit;
            expected = moved ? next->Pos : before;
            skipped = !moved && w.Skipped;
            break;
        }
        case 12: {
            int32_t limit = uniform(0, size);
            const RunAt* prev = nullptr;
            for (const RunAt& r : ref.AllRuns)
                if (r.Pos < before || (r.Pos == before && w.Skipped))
                    prev = &r;
            bool moved = nav.PrevRun(limit);
            ASSERT_EQ(moved, prev && prev->Pos >= limit) << "PrevRun from " << before << " limit " << limit;
            expected = moved ? prev->Pos : before;
            skipped = !moved && w.Skipped;
            break;
        }
        case 13:
            nav.SkipRunsHere();
            skipped = true;
            break;
        case 14: {
            int par = ref.Model.ParOf(before);
            int32_t offset = before - ref.StartOf(par);
            int c = ref.RunsBefore(par, offset, w.Skipped);
            bool ok = true;
            if (c == 0) {
                const RunAt* prev = nullptr;
                for (const RunAt& r : ref.AllRuns)
                    if (r.Pos < before)
                        prev = &r;
                if (!prev) {
                    ok = false;
                } else {
                    par = prev->Par;
                    c = ref.RunsBefore(par, prev->Offset, true);
                }
            }
            ASSERT_EQ(nav.BackRun(), ok) << "BackRun from " << before;
            if (ok) {
                const int i = c - 1;
                expected = ref.StartOf(par) +
                           (i == 0 ? 0 : ref.Runs[static_cast<size_t>(par)][static_cast<size_t>(i - 1)]);
                skipped = i > 0;
            } else {
                skipped = w.Skipped;
            }
            break;
        }
        case 15: {
            int32_t n = uniform(0, 60);
            std::string want = ref.Model.Text.substr(static_cast<size_t>(before), static_cast<size_t>(n));
            ASSERT_EQ(nav.GetText(n), want);
            skipped = w.Skipped;
            break;
        }
        case 16: {
            Walker& other = walkers[static_cast<size_t>(uniform(0, 3))];
            nav.Assign(*other.Nav);
            expected = other.Nav->Pos();
            skipped = other.Skipped;
            break;
        }
        }
        // A word move that did not move leaves the run index as it was.
        if (op >= 4 && op <= 7)
            skipped = w.Skipped && expected == before;
        w.Skipped = skipped;

        SCOPED_TRACE(testing::Message()
                     << "seed " << GetParam() << " step " << step << " op " << op << " from " << before);
        ASSERT_EQ(nav.Pos(), expected);
        const int par = ref.Model.ParOf(expected);
        const int32_t offset = expected - ref.StartOf(par);
        ASSERT_EQ(nav.GetParNb(), par);
        ASSERT_EQ(nav.ParOffset(), offset);
        ASSERT_EQ(nav.CurrentChar(), ref.Model.CharAt(expected));
        const int line = ref.LineOf(par, offset);
        const int navLine = nav.LineIndex();
        ASSERT_TRUE(navLine == line || (navLine == line - 1 && ref.IsWrap(par, offset)))
            << navLine << " vs " << line;
        ASSERT_EQ(nav.DisplayLine(), ref.FirstLine(par) + navLine);
        ASSERT_EQ(nav.LineOffset(), offset - ref.LineStart(par, navLine));
        ASSERT_EQ(nav.RunIndex(), ref.RunsBefore(par, offset, w.Skipped));
        const int ri = nav.RunIndex();
        ASSERT_EQ(nav.CurrentContext(),
                  ri == 0 ? 0 : par * 100 + ref.Runs[static_cast<size_t>(par)][static_cast<size_t>(ri - 1)]);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, NavigatorRandom, ::testing::Values(1u, 7u, 42u, 2026u, 90210u, 31337u));

} // namespace
} // namespace zandor::test
