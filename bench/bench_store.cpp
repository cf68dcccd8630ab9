// links: zandor_engine
// The paragraph store at scale: memory per compact paragraph, and the block walks that shift every
// record after an edit, each beside its floor (the bare record size, memcpy of the same bytes).
#include "editor/engine/ParagraphsList.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstring>
#include <memory>

namespace {

using zandor::ParInfo;
using zandor::TParagraphsList;

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A million short paragraphs loaded the way the stream loader leaves them: text in one load block,
// one compact record each. The heap growth beyond the text is what the store costs per paragraph.
void BM_CompactParagraphMemory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    constexpr size_t kTextLength = 40;
    double bytesPerPar = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<TParagraphsList>();
        char* text = list->AddLoadBlock(static_cast<size_t>(count) * (kTextLength + 1));
        for (int i = 0; i < count; ++i) {
            std::memset(text + static_cast<size_t>(i) * (kTextLength + 1), 'a' + i % 26, kTextLength);
            text[static_cast<size_t>(i) * (kTextLength + 1) + kTextLength] = '\0';
        }
        const size_t before = HeapInUse();
        state.ResumeTiming();

        ParInfo par{};
        par.Compact.Length = kTextLength;
        par.Compact.Width16 = kTextLength * 8;
        for (int i = 0; i < count; ++i) {
            par.Text = text + static_cast<size_t>(i) * (kTextLength + 1);
            par.Start = i * static_cast<int32_t>(kTextLength + 2);
            par.FirstLine = i;
            list->Add(&par);
        }
        benchmark::DoNotOptimize(list->Par(count - 1));

        state.PauseTiming();
        bytesPerPar = static_cast<double>(HeapInUse() - before) / count;
        list.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_par"] = bytesPerPar;
    state.counters["record_floor"] = sizeof(ParInfo);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CompactParagraphMemory)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Time per record as a counter (printed with its SI prefix, e.g. "2.3n" = 2.3 ns).
benchmark::Counter TimePerRecord(int64_t records) {
    return benchmark::Counter(static_cast<double>(records),
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::unique_ptr<TParagraphsList> ManyParagraphs(int count) {
    auto list = std::make_unique<TParagraphsList>();
    list->SetCount(count);
    int32_t i = 0;
    list->ForEachPar(0, count, [&i](ParInfo& par) {
        par = ParInfo{};
        par.Start = i * 2;
        par.FirstLine = i++;
    });
    return list;
}

void BM_ShiftStarts(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto list = ManyParagraphs(count);
    for (auto _ : state) {
        list->ShiftStarts(0, 1);
        benchmark::ClobberMemory();
    }
    state.counters["s_per_rec"] = TimePerRecord(count);
    state.SetBytesProcessed(state.iterations() * count * static_cast<int64_t>(sizeof(ParInfo)));
}
BENCHMARK(BM_ShiftStarts)->Arg(10000000)->Unit(benchmark::kMillisecond);

void BM_ShiftStartsAndLines(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto list = ManyParagraphs(count);
    for (auto _ : state) {
        list->ShiftStartsAndLines(0, 1, 1);
        benchmark::ClobberMemory();
    }
    state.counters["s_per_rec"] = TimePerRecord(count);
    state.SetBytesProcessed(state.iterations() * count * static_cast<int64_t>(sizeof(ParInfo)));
}
BENCHMARK(BM_ShiftStartsAndLines)->Arg(10000000)->Unit(benchmark::kMillisecond);

// The floor: copying the same number of record bytes once.
void BM_MemcpyFloor(benchmark::State& state) {
    const auto bytes = static_cast<size_t>(state.range(0)) * sizeof(ParInfo);
    auto from = std::make_unique<char[]>(bytes);
    auto to = std::make_unique<char[]>(bytes);
    std::memset(from.get(), 1, bytes);
    std::memset(to.get(), 2, bytes);
    for (auto _ : state) {
        std::memcpy(to.get(), from.get(), bytes);
        benchmark::ClobberMemory();
    }
    state.counters["s_per_rec"] = TimePerRecord(state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemcpyFloor)->Arg(10000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
