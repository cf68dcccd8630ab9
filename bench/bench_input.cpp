// links: zandor_control zandor_qt_bench_main
// A key press of a printable character as the window system delivers it: the key event sent to the
// control's widget, through the key-down and character handling, the replace operation, the caret
// and the repaint of the changed line (offscreen), on a text of 1,000,000 lines, at the end and in
// the middle, as p50 and maximum per key press. Keys are held (no release between presses), so
// every character is painted at once, as the control does for a repeating key. The floor beside
// them is the memmove of the edited line's tail, measured in the same run.
#include "BenchMemo.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr int kLines = 1000000;

// Lines of words, 20 to 60 characters long, with CR LF.
const std::string& MillionLines() {
    static const std::string text = [] {
        static const char* kWords[] = {"the",  "quick", "text",  "art", "zandor",
                                       "line", "of",    "words", "nfo", "x"};
        std::string t;
        t.reserve(size_t(kLines) * 44);
        std::mt19937 rng(11);
        for (int i = 0; i < kLines; ++i) {
            const size_t start = t.size();
            const size_t length = 20 + rng() % 41;
            while (t.size() - start < length) {
                t += kWords[rng() % 10];
                t += ' ';
            }
            t += "\r\n";
        }
        return t;
    }();
    return text;
}

std::unique_ptr<TArtMemo> MakeMemo() {
    auto memo = bench::MakeScreenFontMemo();
    TMemoryReadStream stream(MillionLines().data(), MillionLines().size());
    memo->LoadFromStream(stream);
    return memo;
}

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void KeyPressAt(benchmark::State& state, double where) {
    auto memo = MakeMemo();
    const int32_t par = std::min(kLines, int32_t(where * kLines));
    memo->SetSelStart(memo->ParagraphStart(par));
    memo->ScrollInView();
    QCoreApplication::processEvents();
    std::vector<double> times;
    std::string line(64, 'a');
    double floorMicros = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), true);
        const auto t0 = Clock::now();
        QCoreApplication::sendEvent(memo.get(), &press);
        // Whatever the press left for the event loop belongs to it too.
        QCoreApplication::processEvents();
        const auto t1 = Clock::now();
        times.push_back(Micros(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        const auto f0 = Clock::now();
        std::memmove(line.data() + 1, line.data(), line.size() - 1);
        benchmark::DoNotOptimize(line.data());
        floorMicros += Micros(Clock::now() - f0);
        // The line is put back every fifty presses (untimed), so that it stays on the screen.
        if (times.size() % 50 == 0) {
            state.PauseTiming();
            memo->Undo();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    if (memo->CharCount() < int32_t(MillionLines().size()))
        state.SkipWithError("the key typed nothing");
    std::sort(times.begin(), times.end());
    state.counters["p50_us"] = times[times.size() / 2];
    state.counters["max_us"] = times.back();
    state.counters["floor_us"] = floorMicros / double(times.size());
}

void BM_KeyPressAtEnd(benchmark::State& state) {
    KeyPressAt(state, 1.0);
}
void BM_KeyPressInTheMiddle(benchmark::State& state) {
    KeyPressAt(state, 0.5);
}
BENCHMARK(BM_KeyPressAtEnd)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_KeyPressInTheMiddle)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace
