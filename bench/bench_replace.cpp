// links: zandor_engine
// Typing into a text of 1,000,000 paragraphs: 1,000 single-character inserts at the start, in the
// middle and at the end, through the control's replacement path (registered navigators included).
// Every paragraph after an insert has its position moved, so an insert near the start costs one
// pass over the paragraph records; the floor beside it is one memcpy of as many bytes as those
// records occupy.
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/ReplaceRange.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zandor;

constexpr int kParagraphs = 1'000'000;
constexpr int kInserts = 1'000;

std::unique_ptr<TArtMemoCore> MillionParagraphs() {
    std::string text;
    text.reserve(size_t(kParagraphs) * 64);
    for (int i = 0; i < kParagraphs; ++i) {
        text += "paragraph number ";
        text += std::to_string(i);
        text += " with some words to make it look like text";
        if (i + 1 < kParagraphs)
            text += "\r\n";
    }
    auto core = std::make_unique<TArtMemoCore>();
    TMemoryReadStream in(text.data(), text.size());
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(core->Paragraphs(), in, 300, {}, kind, false, '\0');
    return core;
}

void BM_InsertOneCharacter(benchmark::State& state) {
    auto core = MillionParagraphs();
    TArtNavigator s(core.get()), e(core.get());
    // A few more registered navigators, as a control keeps them (top line, mouse, bookmarks).
    std::vector<std::unique_ptr<TArtNavigator>> others;
    for (int i = 0; i < 4; ++i) {
        others.push_back(std::make_unique<TArtNavigator>(core.get()));
        others.back()->SetPos(core->CharCount() / 5 * i);
    }
    const int where = static_cast<int>(state.range(0));
    const int par = where == 0 ? 0 : where == 1 ? kParagraphs / 2 : kParagraphs - 1;
    const int32_t start = core->Paragraphs().Par(par).Start + 5;
    for (auto _ : state) {
        s.SetPos(start);
        e.SetPos(start);
        ReplaceText(*core, s, e, "x");
    }
    state.SetLabel(where == 0 ? "start" : where == 1 ? "middle" : "end");
}
BENCHMARK(BM_InsertOneCharacter)->Arg(0)->Arg(1)->Arg(2)->Iterations(kInserts)->Unit(benchmark::kMicrosecond);

// Floor of an insert that moves every later paragraph: one memcpy of the record bytes.
void BM_Floor_MemcpyRecords(benchmark::State& state) {
    const size_t bytes = size_t(kParagraphs) * sizeof(ParInfo);
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Floor_MemcpyRecords)->Iterations(kInserts)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
