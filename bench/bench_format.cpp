// links: zandor_engine
// Line formatting: a million paragraphs wrapped at 80 columns with the fixed measurer and with real
// font metrics (lines per second, beside memchr over the same bytes), the longest single background
// step over that text (goal: under 30 ms), and the layout after one keystroke in a wrapped
// paragraph of 5,000 characters (beside a memmove of the paragraph).
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/ReplaceRange.h"
#include "platform/QtTextMeasurer.h"

#include <QFont>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace zandor;

constexpr int kParagraphs = 1'000'000;

// Words of 1-12 letters between single blanks; most paragraphs fit a line, a quarter wrap into a
// few lines and some are long.
std::string Paragraph(std::mt19937& rng, int length) {
    std::uniform_int_distribution<int> wordLen(1, 12), letter(0, 25);
    std::string s;
    while (static_cast<int>(s.size()) < length) {
        if (!s.empty())
            s += ' ';
        for (int n = wordLen(rng); n > 0; --n)
            s += static_cast<char>('a' + letter(rng));
    }
    return s;
}

const std::string& BigText() {
    static const std::string text = [] {
        std::mt19937 rng(4);
        std::uniform_int_distribution<int> percent(0, 99), shortLen(0, 80), midLen(80, 200),
            longLen(200, 600);
        std::string t;
        t.reserve(size_t(kParagraphs) * 80);
        for (int p = 0; p < kParagraphs; ++p) {
            if (p > 0)
                t += "\r\n";
            const int k = percent(rng);
            t += Paragraph(rng, k < 75 ? shortLen(rng) : k < 97 ? midLen(rng) : longLen(rng));
        }
        return t;
    }();
    return text;
}

void Load(TArtMemoCore& core, const std::string& text) {
    TMemoryReadStream stream(text.data(), text.size());
    TArtLineBreak kind = pbCRLF;
    core.Paragraphs().ClearAll();
    LoadParagraphs(core.Paragraphs(), stream, 1000, {}, kind, false, ' ');
}

// 80 average characters of text area between the margins.
void UseMeasurer(TArtMemoCore& core, bool realFonts) {
    if (realFonts) {
        QFont font("DejaVu Sans Mono");
        font.setPixelSize(16);
        core.SetMeasurer(std::make_unique<platform::QtTextMeasurer>(font, 0, font, 0));
    }
    core.SetClientSize(80 * core.AvgCharWidth() + core.LeftMargin() + core.RightMargin(), 600);
}

void BM_FormatMillionParagraphs(benchmark::State& state) {
    const bool realFonts = state.range(0) != 0;
    TArtMemoCore core;
    UseMeasurer(core, realFonts);
    core.SetUpdateMode(umOnNeed);
    Load(core, BigText());
    core.ParseUpTo(core.ParagraphCount() - 1);
    for (auto _ : state)
        core.FormatRange(0, core.ParagraphCount() - 1, false, true);
    state.counters["lines/s"] = benchmark::Counter(double(core.LineCount()) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    state.counters["lines"] = core.LineCount();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(BigText().size()));
    state.SetLabel(realFonts ? "DejaVu Sans Mono 16 px" : "fixed advances");
}
BENCHMARK(BM_FormatMillionParagraphs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// The physical floor of any layout: one pass over the same bytes looking for blanks.
void BM_Floor_MemchrOverText(benchmark::State& state) {
    const std::string& text = BigText();
    for (auto _ : state) {
        size_t blanks = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while ((p = static_cast<const char*>(std::memchr(p, ' ', size_t(end - p)))) != nullptr) {
            ++blanks;
            ++p;
        }
        benchmark::DoNotOptimize(blanks);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_MemchrOverText)->Unit(benchmark::kMillisecond)->Iterations(3);

// Background formatting of the million paragraphs step by step; the figure is the longest step.
void BM_LongestBackgroundStep(benchmark::State& state) {
    const bool realFonts = state.range(0) != 0;
    TArtMemoCore core;
    UseMeasurer(core, realFonts);
    Load(core, BigText());
    core.ParseUpTo(core.ParagraphCount() - 1);
    // Wall time is what the user waits; the thread's own CPU time leaves out the moments the
    // machine gave the core to someone else.
    auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    double longest = 0, longestCpu = 0;
    int64_t steps = 0;
    for (auto _ : state) {
        core.Paragraphs().InvalidateFormat();
        while (core.BgNext() < core.ParagraphCount()) {
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = cpuMs();
            core.FormatStep();
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - t0;
            longest = std::max(longest, took.count());
            longestCpu = std::max(longestCpu, cpuMs() - c0);
            ++steps;
        }
    }
    state.counters["longest_step_ms"] = longest;
    state.counters["longest_step_cpu_ms"] = longestCpu;
    state.counters["steps"] = double(steps) / double(state.iterations());
    state.SetLabel(realFonts ? "DejaVu Sans Mono 16 px" : "fixed advances");
}
BENCHMARK(BM_LongestBackgroundStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// One typed character (and, every other iteration, its deletion) in the middle of a wrapped
// paragraph of 5,000 characters, with the layout that follows the edit.
void BM_KeystrokeIn5000CharParagraph(benchmark::State& state) {
    const bool realFonts = state.range(0) != 0;
    TArtMemoCore core;
    UseMeasurer(core, realFonts);
    core.SetUpdateMode(umImmediate);
    std::mt19937 rng(9);
    Load(core, Paragraph(rng, 5000));
    core.ScheduleFormatting();
    core.Paragraphs().ResetDirty();
    core.SetClientSize(core.ClientWidth(), 100 * core.LinePixels());
    TArtNavigator S(&core), E(&core);
    const int32_t at = 2500;
    bool typed = false;
    for (auto _ : state) {
        S.SetPos(at);
        E.SetPos(typed ? at + 1 : at);
        ReplaceText(core, S, E, typed ? "" : "x");
        core.UpdateAfterEdit();
        typed = !typed;
    }
    state.counters["lines"] = core.LineCount();
    state.SetLabel(realFonts ? "DejaVu Sans Mono 16 px" : "fixed advances");
}
BENCHMARK(BM_KeystrokeIn5000CharParagraph)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Its floor: moving the paragraph's characters once, as an insertion does.
void BM_Floor_Memmove5000(benchmark::State& state) {
    std::string buffer(5001, 'a');
    for (auto _ : state) {
        std::memmove(buffer.data() + 1, buffer.data(), 5000);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Floor_Memmove5000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
