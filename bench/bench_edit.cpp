// links: zandor_control zandor_qt_bench_main
// Editing as the control performs it, on a text of 1,000,000 lines: one typed character (the
// replace operation, its undo record, the caret update and the repaint of the changed line,
// offscreen) at the end, in the middle, at the start and in the widest line, as p50, p99 and
// maximum per keystroke; Undo of a 10 MB paste; moving the caret to the end of the text and
// painting the screen there; and what the undo list holds after 100,000 characters typed in 1,000
// groups. Each figure stands beside
// its floor from the same run: the memmove of the edited line's tail for a keystroke, memcpy of the
// pasted bytes for the Undo, one painted screen for the jump, 13 bytes a record for the memory.
#include "BenchMemo.h"
#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr int kLines = 1000000;

// Lines of words, 20 to 60 characters long, with CR LF.
std::string Lines(int count, unsigned seed = 11) {
    static const char* kWords[] = {"the",  "quick", "text",  "art", "zandor",
                                   "line", "of",    "words", "nfo", "x"};
    std::string text;
    text.reserve(size_t(count) * 44);
    std::mt19937 rng(seed);
    for (int i = 0; i < count; ++i) {
        const size_t start = text.size();
        const size_t length = 20 + rng() % 41;
        while (text.size() - start < length) {
            text += kWords[rng() % 10];
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

const std::string& MillionLines() {
    static const std::string text = Lines(kLines);
    return text;
}

std::unique_ptr<TArtMemo> MakeMemo() {
    auto memo = bench::MakeScreenFontMemo();
    return memo;
}

void Load(TArtMemo& memo, const std::string& text) {
    TMemoryReadStream stream(text.data(), text.size());
    memo.LoadFromStream(stream);
}

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// One keystroke as the control performs it: the character typed, the caret kept in view and the
// repaint it asked for carried out.
void TypeOne(TArtMemo& memo) {
    memo.SetSelText("x");
    memo.ScrollInView();
    QCoreApplication::processEvents();
}

// The paragraph of the text's widest line (the first of them).
int32_t WidestParagraph(const std::string& text) {
    int32_t widest = 0, par = 0, line = 0;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++line)
        if (int32_t(end - start) > widest) {
            widest = int32_t(end - start);
            par = line;
        }
    return par;
}

// Typing at a paragraph of the text, p50, p99 and maximum per keystroke. The line is put back every
// twenty keystrokes (untimed) so it does not grow beyond the screen: a keystroke that scrolls the
// view sideways repaints all of it, which is the painter's cost, not the text's.
void TypeAtParagraph(benchmark::State& state, int32_t par) {
    auto memo = MakeMemo();
    Load(*memo, MillionLines());
    // The background layout finishes first: its slices are no keystroke's work (they have a
    // benchmark of their own).
    memo->Core().FormatRange(0, memo->Core().ParagraphCount() - 1);
    QCoreApplication::processEvents();
    memo->SetSelStart(memo->ParagraphStart(par));
    memo->ScrollInView();
    QCoreApplication::processEvents();
    std::vector<double> times;
    std::string line(64, 'a');
    double floorMicros = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        TypeOne(*memo);
        const auto t1 = Clock::now();
        times.push_back(Micros(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        const auto f0 = Clock::now();
        std::memmove(line.data() + 1, line.data(), line.size() - 1);
        benchmark::DoNotOptimize(line.data());
        floorMicros += Micros(Clock::now() - f0);
        if (times.size() % 20 == 0) {
            state.PauseTiming();
            memo->Undo();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["p50_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    state.counters["max_us"] = times.back();
    state.counters["paragraph"] = par;
    state.counters["floor_us"] = floorMicros / double(times.size());
}

void BM_TypeCharacterAtEnd(benchmark::State& state) {
    TypeAtParagraph(state, kLines);
}
void BM_TypeCharacterInTheMiddle(benchmark::State& state) {
    TypeAtParagraph(state, kLines / 2);
}
void BM_TypeCharacterAtStart(benchmark::State& state) {
    TypeAtParagraph(state, 0);
}
// The line that sets the horizontal scroll range: each keystroke changes the widest width.
void BM_TypeCharacterInTheWidestLine(benchmark::State& state) {
    TypeAtParagraph(state, WidestParagraph(MillionLines()));
}
BENCHMARK(BM_TypeCharacterAtEnd)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_TypeCharacterInTheMiddle)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_TypeCharacterAtStart)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_TypeCharacterInTheWidestLine)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// A paste of 10 MB (untimed) and its Undo (timed).
void BM_UndoOf10MBPaste(benchmark::State& state) {
    auto memo = MakeMemo();
    Load(*memo, Lines(1000, 3));
    const std::string paste = Lines(240000, 5).substr(0, 10u << 20);
    memo->SetSelStart(memo->ParagraphStart(500));
    double floorMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        memo->SetSelStart(memo->ParagraphStart(500));
        memo->SetSelText(paste);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        memo->Undo();
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        const auto f0 = Clock::now();
        std::unique_ptr<char[]> copy(new char[paste.size()]);
        std::memcpy(copy.get(), paste.data(), paste.size());
        benchmark::DoNotOptimize(copy.get());
        floorMs += std::chrono::duration<double, std::milli>(Clock::now() - f0).count();
    }
    state.counters["floor_memcpy_ms"] = floorMs / double(state.iterations());
    state.counters["MB"] = double(paste.size()) / (1 << 20);
}
BENCHMARK(BM_UndoOf10MBPaste)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Right after loading 1,000,000 lines: the caret to the end of the text, brought into view and
// the screen painted there.
void BM_MoveToEndAndPaint(benchmark::State& state) {
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    double floorMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Load(*memo, MillionLines());
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        memo->SetSelStart(memo->CharCount());
        memo->ScrollInView();
        {
            QPainter painter(&image);
            TArtPainter(*memo).Paint(painter, image.rect());
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        // The floor: painting that one screen once its lines are laid out.
        const auto f0 = Clock::now();
        {
            QPainter painter(&image);
            TArtPainter(*memo).Paint(painter, image.rect());
        }
        floorMs += std::chrono::duration<double, std::milli>(Clock::now() - f0).count();
    }
    state.counters["floor_paint_ms"] = floorMs / double(state.iterations());
    state.counters["top_line"] = memo->TopLine();
}
BENCHMARK(BM_MoveToEndAndPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// 100,000 characters typed in 1,000 groups (the caret moves between groups): the undo list's own
// count of its bytes, and the heap that clearing the list gives back.
void BM_UndoMemoryAfterTyping(benchmark::State& state) {
    auto memo = MakeMemo();
    for (auto _ : state) {
        state.PauseTiming();
        Load(*memo, Lines(2000, 9));
        state.ResumeTiming();
        for (int group = 0; group < 1000; ++group) {
            memo->SetSelStart(memo->ParagraphStart(group * 2));
            for (int c = 0; c < 100; ++c)
                memo->SetSelText("y");
        }
        state.PauseTiming();
        TUndoList& undo = memo->Editor().Undos();
        state.counters["records"] = undo.Count();
        state.counters["undo_bytes"] = double(undo.TotalSize());
        state.counters["floor_bytes"] = 1000.0 * 13;
        const size_t heapBefore = mallinfo2().uordblks;
        memo->ClearUndo();
        state.counters["undo_heap_bytes"] = double(heapBefore) - double(mallinfo2().uordblks);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoMemoryAfterTyping)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
