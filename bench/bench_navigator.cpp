// links: zandor_engine
// Far jumps of a navigator on a text of 1,000,000 paragraphs whose lengths range from 0 to 10,000
// characters, beside the physical floor of one step of a jump: a dependent read of a random
// paragraph record.
//
// Positions are 32-bit, so a million paragraphs of uniformly random length up to 10,000 (about
// 5 GB) cannot exist; the texts mix a few long paragraphs with many short ones instead, which is
// also the shape that misleads the proportional estimate: "scattered" puts the long paragraphs
// anywhere, "clustered" puts them all at the front, so most estimates land hundreds of thousands
// of paragraphs away from the answer.
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace zandor;

constexpr int kParagraphs = 1'000'000;
constexpr int kLongest = 10'000;
constexpr size_t kProbes = 1 << 16;

struct BigText {
    explicit BigText(bool clustered) {
        std::mt19937 rng(clustered ? 11 : 7);
        std::uniform_int_distribution<int> percent(0, 99), shortLen(0, 80), longLen(0, kLongest);
        TParagraphsList& list = core.Paragraphs();
        list.ClearAll();
        // Every paragraph reads from one shared buffer; jumping never looks at the characters.
        char* shared = list.AddLoadBlock(kLongest + 1);
        std::memset(shared, 'x', kLongest);
        shared[kLongest] = '\0';
        list.SetCapacity(kParagraphs);
        int64_t start = 0;
        for (int i = 0; i < kParagraphs; ++i) {
            const bool isLong = clustered ? i < kParagraphs / 100 : percent(rng) < 2;
            const int length =
                isLong ? (clustered ? kLongest / 2 + longLen(rng) / 2 : longLen(rng)) : shortLen(rng);
            ParInfo par{};
            par.Text = shared;
            par.Start = static_cast<int32_t>(start);
            par.FirstLine = i;
            SetParLength(list.Par(list.Add(&par)), length);
            start += length + 2;
        }
        list.TextLength = static_cast<int32_t>(start - 2);
        list.LineCount = list.VisibleLineCount = kParagraphs;
        std::uniform_int_distribution<int32_t> anywhere(0, list.TextLength);
        probes.resize(kProbes);
        for (int32_t& p : probes)
            p = anywhere(rng);
        std::uniform_int_distribution<int32_t> anyPar(0, kParagraphs - 1);
        parProbes.resize(kProbes);
        for (int32_t& p : parProbes)
            p = anyPar(rng);
    }

    TArtMemoCore core;
    std::vector<int32_t> probes;
    std::vector<int32_t> parProbes;
};

BigText& Text(bool clustered) {
    static BigText scattered(false);
    static BigText front(true);
    return clustered ? front : scattered;
}

void BM_SetPosRandom(benchmark::State& state) {
    BigText& text = Text(state.range(0) != 0);
    TArtNavigator nav(&text.core);
    size_t i = 0;
    for (auto _ : state) {
        nav.SetPos(text.probes[i++ & (kProbes - 1)]);
        benchmark::DoNotOptimize(nav.GetParNb());
    }
    state.SetLabel(state.range(0) ? "clustered long paragraphs" : "scattered long paragraphs");
    state.counters["chars"] = text.core.CharCount();
}
BENCHMARK(BM_SetPosRandom)->Arg(0)->Arg(1);

void BM_SetDisplayLineRandom(benchmark::State& state) {
    BigText& text = Text(true);
    text.core.SetWordWrap(true); // no one-line-per-paragraph shortcut: estimate and walk
    TArtNavigator nav(&text.core);
    size_t i = 0;
    for (auto _ : state) {
        nav.SetDisplayLine(text.parProbes[i++ & (kProbes - 1)]);
        benchmark::DoNotOptimize(nav.Pos());
    }
}
BENCHMARK(BM_SetDisplayLineRandom);

// Typing and drawing move by small steps forward: the cached state carries on.
void BM_SetPosStepForward(benchmark::State& state) {
    BigText& text = Text(false);
    TArtNavigator nav(&text.core);
    int32_t p = 0;
    const int32_t end = text.core.CharCount();
    for (auto _ : state) {
        p = p < end ? p + 1 : 0;
        nav.SetPos(p);
        benchmark::DoNotOptimize(nav.GetParNb());
    }
}
BENCHMARK(BM_SetPosStepForward);

// The floor: one read of a random paragraph record that depends on the read before it, as each
// step of a search does; the least a step to an unknown place of the text costs.
void BM_Floor_DependentRecordRead(benchmark::State& state) {
    BigText& text = Text(false);
    TParagraphsList& list = text.core.Paragraphs();
    uint32_t i = 1;
    for (auto _ : state) {
        const int32_t start = list.Par(static_cast<int32_t>(i % kParagraphs)).Start;
        i = (i ^ static_cast<uint32_t>(start)) * 2654435761u + 12345u;
        benchmark::DoNotOptimize(i);
    }
}
BENCHMARK(BM_Floor_DependentRecordRead);

} // namespace

BENCHMARK_MAIN();
