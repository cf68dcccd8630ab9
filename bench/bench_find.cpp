// links: zandor_engine
// Searching and replacing in a text of 100 MB (1,000,000 lines of 100 bytes):
//  - Find Next for a word that stands only at the very end, so the search reads every byte, with
//    and without case, beside memmem over the same bytes held in one piece;
//  - Replace All of the 1,000,000 short words the lines hold, through the editor's replace path
//    with one undo record, beside one memcpy of the text (the new text has to be written once),
//    and the same in slices as the window runs it, under the window's undo space;
// The undo memory of the Replace All is reported as a counter.
#include "editor/engine/ByteStream.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ReplaceAll.h"
#include "editor/engine/TextSearch.h"
#include "editor/engine/UndoList.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace zandor;

constexpr int kLines = 1'000'000;
constexpr const char* kLast = "Zebrafish";

// Each line: 98 bytes of ordinary words with one "cat" among them, then CR LF.
const std::string& HundredMegabytes() {
    static const std::string text = [] {
        std::string t;
        t.reserve(size_t(kLines) * 100 + 16);
        const std::string filler = "the quick brown fox jumps over the lazy dog while a cat sleeps near "
                                   "the warm stove in the old house";
        for (int i = 0; i < kLines; ++i) {
            t.append(filler, 0, 96);
            t += static_cast<char>('a' + i % 26);
            t += static_cast<char>('a' + i / 26 % 26);
            t += "\r\n";
        }
        t += kLast;
        return t;
    }();
    return text;
}

std::unique_ptr<TArtMemoCore> Loaded() {
    const std::string& text = HundredMegabytes();
    auto core = std::make_unique<TArtMemoCore>();
    TMemoryReadStream in(text.data(), text.size());
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(core->Paragraphs(), in, 300, {}, kind, false, '\0');
    return core;
}

void BM_FindNext(benchmark::State& state) {
    const bool matchCase = state.range(0) != 0;
    auto core = Loaded();
    for (auto _ : state) {
        TSelection selection;
        if (!FindText(*core, kLast, true, matchCase, false, true, selection))
            state.SkipWithError("the word at the end was not found");
        benchmark::DoNotOptimize(selection);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(HundredMegabytes().size()));
    state.SetLabel(matchCase ? "match case" : "any case");
}
BENCHMARK(BM_FindNext)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Floor_Memmem(benchmark::State& state) {
    const std::string& text = HundredMegabytes();
    for (auto _ : state) {
        const void* hit = memmem(text.data(), text.size(), kLast, std::strlen(kLast));
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_Memmem)->Unit(benchmark::kMillisecond);

void BM_ReplaceAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto core = Loaded();
        core->Undos().SetMaxSpace(0);
        state.ResumeTiming();
        const int64_t count = ReplaceAll(core->Editor(), "cat", "lion", {true, true, false});
        state.PauseTiming();
        if (count != kLines)
            state.SkipWithError("not every occurrence was replaced");
        state.counters["undo_MB"] = double(core->Undos().TotalSize()) / 1e6;
        core.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(HundredMegabytes().size()));
}
BENCHMARK(BM_ReplaceAll)->Iterations(3)->Unit(benchmark::kMillisecond);

// As the window runs it: in slices with progress told between them (the window handles its events
// there), under the window's undo space, which the kept step exceeds 200 times.
void BM_ReplaceAllSliced(benchmark::State& state) {
    int64_t told = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto core = Loaded();
        core->Undos().SetMaxSpace(500'000);
        state.ResumeTiming();
        const int64_t count =
            ReplaceAll(core->Editor(), "cat", "lion", {true, true, false}, [&](int) { ++told; });
        state.PauseTiming();
        if (count != kLines || !core->Editor().CanUndo())
            state.SkipWithError("not every occurrence was replaced, or the step was not kept");
        state.counters["undo_MB"] = double(core->Undos().TotalSize()) / 1e6;
        state.counters["undo_records"] = core->Undos().Count();
        core.reset();
        state.ResumeTiming();
    }
    state.counters["progress_calls"] = double(told) / double(state.iterations());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(HundredMegabytes().size()));
}
BENCHMARK(BM_ReplaceAllSliced)->Iterations(3)->Unit(benchmark::kMillisecond);

// The share of the search and of building the new text, without the replacement itself.
void BM_PlanReplaceAll(benchmark::State& state) {
    auto core = Loaded();
    for (auto _ : state) {
        TReplaceAllPlan plan = PlanReplaceAll(*core, "cat", "lion", {true, true, false});
        benchmark::DoNotOptimize(plan.Pieces.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(HundredMegabytes().size()));
}
BENCHMARK(BM_PlanReplaceAll)->Unit(benchmark::kMillisecond);

void BM_Floor_MemcpyText(benchmark::State& state) {
    const std::string& text = HundredMegabytes();
    std::string copy(text.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_MemcpyText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
