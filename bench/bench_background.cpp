// links: zandor_control zandor_qt_bench_main
// The background layout of a 100 MB text as the main window shows a .txt file: word wrap, the
// proportional default font, the format thread pacing 25 ms slices through the event loop. Measured:
// how long the whole layout takes, and the longest time the event loop did not answer, seen by
// events that a second thread posts every 2 ms (an input event waits exactly as long). Beside them,
// in the same run, the floor: the bytes scanned once for their line breaks.
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"

#include <QApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr size_t kBytes = 100u << 20;

// Prose: words of 1 to 12 letters, paragraphs from empty to a few screen lines, a few long ones.
std::string Prose(size_t bytes) {
    static const char* kWords[] = {"the",    "layout", "of",      "a",      "long",    "text",
                                   "in",     "words",  "and",     "lines",  "wraps",   "at",
                                   "window", "width",  "reading", "zandor", "editor",  "typing",
                                   "is",     "fast",   "enough",  "to",     "measure", "everything"};
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> word(0, 23), percent(0, 99);
    std::string text;
    text.reserve(bytes + 4096);
    while (text.size() < bytes) {
        const int k = percent(rng);
        const size_t length = k < 20 ? rng() % 40 : k < 90 ? 60 + rng() % 400 : 400 + rng() % 2000;
        const size_t start = text.size();
        while (text.size() - start < length) {
            text += kWords[word(rng)];
            text += ' ';
        }
        if (rng() % 8 == 0)
            text += "\x94"
                    "quoted\x93.";
        text += "\r\n";
    }
    return text;
}

// Receives the probe events and keeps the longest wait.
class TProbe : public QObject {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 700);
    struct TPing : QEvent {
        explicit TPing(Clock::time_point sent) : QEvent(kType), Sent(sent) {}
        Clock::time_point Sent;
    };
    bool event(QEvent* e) override {
        if (e->type() != kType)
            return QObject::event(e);
        const double waited =
            std::chrono::duration<double, std::milli>(Clock::now() - static_cast<TPing*>(e)->Sent).count();
        Longest = std::max(Longest, waited);
        Waits.push_back(waited);
        return true;
    }
    double Longest = 0;
    std::vector<double> Waits;
};

// Times every layout slice through the control's message hooks, and the pauses between slices.
class TStepTimer : public NotificationSink {
public:
    explicit TStepTimer(TArtMemo& memo) : FMemo(memo) { memo.MessageHooks().Add(this); }
    ~TStepTimer() override { FMemo.MessageHooks().Remove(this); }
    void Notify(TArtMemoCore*, int32_t codes) override {
        if (FMemo.CurrentMessage().Msg != wm::FORMATSTEP)
            return;
        const auto now = Clock::now();
        if (codes & nc::BeforeMessage) {
            if (Steps > 0)
                Gaps.push_back(std::chrono::duration<double, std::milli>(now - FEnd).count());
            FStart = now;
        } else if (codes & nc::AfterMessage) {
            FEnd = now;
            Longest = std::max(Longest, std::chrono::duration<double, std::milli>(now - FStart).count());
            ++Steps;
        }
    }
    double Longest = 0;
    int Steps = 0;
    std::vector<double> Gaps;

private:
    TArtMemo& FMemo;
    Clock::time_point FStart, FEnd;
};

void BM_BackgroundLayout100MB(benchmark::State& state) {
    static const std::string text = Prose(kBytes);
    for (auto _ : state) {
        auto memo = std::make_unique<TArtMemo>();
        platform::FontValue font; // the main window's font for a .txt file
        font.Name = "MS Sans Serif";
        font.Size = 8;
        memo->SetFont(font);
        memo->SetWordWrap(true);
        memo->resize(800, 600);
        memo->show();
        QCoreApplication::processEvents();
        TMemoryReadStream stream(text.data(), text.size());
        memo->LoadFromStream(stream);

        TStepTimer steps(*memo);
        TProbe probe;
        std::atomic<bool> done{false};
        std::thread pinger([&] {
            while (!done.load()) {
                QCoreApplication::postEvent(&probe, new TProbe::TPing(Clock::now()));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        const auto t0 = Clock::now();
        TArtMemoCore& core = memo->Core();
        while (core.BgNext() < core.ParagraphCount())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto t1 = Clock::now();
        done.store(true);
        pinger.join();
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());

        const auto f0 = Clock::now();
        size_t breaks = 0;
        for (const char* p = text.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', size_t(text.data() + text.size() - p)))); ++p)
            ++breaks;
        benchmark::DoNotOptimize(breaks);
        state.counters["floor_memchr_ms"] =
            std::chrono::duration<double, std::milli>(Clock::now() - f0).count();
        std::vector<double> waits = probe.Waits;
        std::sort(waits.begin(), waits.end());
        state.counters["longest_block_ms"] = probe.Longest;
        state.counters["p99_block_ms"] = waits.empty() ? 0 : waits[waits.size() * 99 / 100];
        std::sort(steps.Gaps.begin(), steps.Gaps.end());
        state.counters["longest_slice_ms"] = steps.Longest;
        state.counters["slices"] = steps.Steps;
        state.counters["shortest_gap_ms"] = steps.Gaps.empty() ? 0 : steps.Gaps.front();
        state.counters["median_gap_ms"] = steps.Gaps.empty() ? 0 : steps.Gaps[steps.Gaps.size() / 2];
        state.counters["layout_s"] = std::chrono::duration<double>(t1 - t0).count();
        state.counters["lines"] = core.LineCount();
        state.counters["paragraphs"] = core.ParagraphCount();
    }
}
BENCHMARK(BM_BackgroundLayout100MB)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
