// links: zandor_commands zandor_qt_bench_main
// Lowercase of a 10 MB selection in an editor as the main window runs it: the selected text read
// out, passed through the case table and put back through the one replace operation (one undo step,
// its removed text beyond the window's undo space), the new text selected again. The floor beside
// it is the case table alone over the same 10 MB, in the same run.
#include "commands/EditCommands.h"
#include "commands/TextTransforms.h"
#include "support/FakeHost.h"

#include "BenchMemo.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zandor;

constexpr size_t kBytes = 10u << 20;

std::string MixedText() {
    std::string text;
    text.reserve(kBytes + 100);
    const std::string line =
        "Some Text With Capitals AND \xC4\xCD\xBA art Bytes, \xC0\xC9\xD6 and digits 0123";
    while (text.size() + line.size() + 2 <= kBytes)
        text += line + "\r\n";
    text.append(kBytes - text.size(), 'X');
    return text;
}

void BM_LowercaseSelection10MB(benchmark::State& state) {
    auto memo = bench::MakeScreenFontMemo();
    memo->SetUndoMaxSpace(500000);
    memo->SetTextBuf(MixedText().c_str());
    test::FakeHost host;
    host.Memo = memo.get();
    int32_t selectedChar = -1;
    TEditCommands commands(host, selectedChar);
    bool lower = true;
    for (auto _ : state) {
        memo->SelectAll();
        if (lower)
            commands.edit_format_lowerClick();
        else
            commands.edit_format_upperClick();
        lower = !lower;
        benchmark::DoNotOptimize(memo->SelLength());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
BENCHMARK(BM_LowercaseSelection10MB)->Iterations(10)->Unit(benchmark::kMillisecond);

// Floor: the case table over the same bytes, nothing else.
void BM_Floor_CaseTable10MB(benchmark::State& state) {
    const std::string text = MixedText();
    for (auto _ : state) {
        std::string lowered = LowercasedText(text);
        benchmark::DoNotOptimize(lowered.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
BENCHMARK(BM_Floor_CaseTable10MB)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
