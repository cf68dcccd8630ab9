// links: zandor_control
// Painting the editor control: one full 120 x 50 screen of text-mode art; the way from the start
// of loading a 100 MB file to the first painted screen, beside its floor measured in the same
// iterations (the bytes read into fresh memory and their line breaks counted with memchr), once in
// this process and once as a user meets it, each load in a fresh process reading a file; and the
// first paint after a load alone, at several document sizes.
//
// The two ways differ on purpose. In this process the control is loaded five times over: from the
// second load on, its records and text blocks come from memory the previous load gave back to the
// heap, already mapped, while the floor's 100 MB copy is one allocation above the heap's mapping
// threshold and takes fresh, unmapped pages every time. A fresh process pays the first touch of
// every page on both sides, and the control also reads the file through its stream instead of
// finding the bytes in memory: that is what a user waits for. The minor page faults of each side
// are counted beside the times.
#include "BenchMemo.h"
#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryFile>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 120;
constexpr int kRows = 50;

std::string ArtText(size_t bytes) {
    return bench::ArtLines(bytes, kColumns, 7);
}

const std::string& BigText() {
    static const std::string text = ArtText(100u << 20);
    return text;
}

std::unique_ptr<TArtMemo> MakeMemo() {
    return bench::MakeArtViewMemo(kColumns, kRows);
}

void Load(TArtMemo& memo, const std::string& text) {
    TMemoryReadStream stream(text.data(), text.size());
    memo.LoadFromStream(stream);
}

void PaintScreen(TArtMemo& memo, QImage& image) {
    QPainter painter(&image);
    TArtPainter(memo).Paint(painter, image.rect());
}

// What any viewer must at least do with the file: bring its bytes into fresh memory and find
// its line breaks.
size_t Floor(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size()]);
    std::memcpy(copy.get(), text.data(), text.size());
    size_t lines = 0;
    const char* p = copy.get();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    benchmark::DoNotOptimize(copy.get());
    return lines;
}

int64_t MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void BM_PaintFullArtScreen(benchmark::State& state) {
    auto memo = MakeMemo();
    Load(*memo, ArtText(size_t(kColumns + 2) * kRows));
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    PaintScreen(*memo, image);
    for (auto _ : state)
        PaintScreen(*memo, image);
    state.counters["lines"] = kRows;
    state.counters["chars_per_s"] =
        benchmark::Counter(double(kColumns) * kRows, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PaintFullArtScreen)->Unit(benchmark::kMillisecond);

void BM_LoadToFirstPaint100MB(benchmark::State& state) {
    const std::string& text = BigText();
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    double floorSeconds = 0;
    double workSeconds = 0;
    double floorFaults = 0, workFaults = 0;
    for (auto _ : state) {
        const int64_t faults0 = MinorFaults();
        const auto f0 = Clock::now();
        benchmark::DoNotOptimize(Floor(text));
        const auto t0 = Clock::now();
        const int64_t faults1 = MinorFaults();
        Load(*memo, text);
        PaintScreen(*memo, image);
        const auto t1 = Clock::now();
        floorFaults += double(faults1 - faults0);
        workFaults += double(MinorFaults() - faults1);
        const double work = std::chrono::duration<double>(t1 - t0).count();
        floorSeconds += std::chrono::duration<double>(t0 - f0).count();
        workSeconds += work;
        state.SetIterationTime(work);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorSeconds / n * 1000;
    state.counters["x_floor"] = workSeconds / floorSeconds;
    state.counters["paragraphs"] = memo->ParagraphCount();
    state.counters["faults"] = workFaults / n;
    state.counters["floor_faults"] = floorFaults / n;
}
BENCHMARK(BM_LoadToFirstPaint100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// ---- the same in fresh processes, from a file ---------------------------------------------------

// What a child process prints: its time in milliseconds and the minor page faults in that time.
struct TChildResult {
    double Ms = 0;
    double Faults = 0;
};

void PrintChildResult(Clock::time_point t0, int64_t faults0) {
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    std::printf("%.3f %lld\n", ms, static_cast<long long>(MinorFaults() - faults0));
}

// In a child: the file opened, loaded into the control and its first screen painted (the window
// exists before, as it does when the main window opens a file).
int ChildLoad(const std::string& path) {
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    const int64_t faults0 = MinorFaults();
    const auto t0 = Clock::now();
    {
        TFileStream stream(path, TFileStream::fmOpenRead);
        memo->LoadFromStream(stream);
    }
    PaintScreen(*memo, image);
    PrintChildResult(t0, faults0);
    return 0;
}

// In a child: the floor, the file read into fresh memory and its line breaks counted.
int ChildFloor(const std::string& path) {
    const int64_t faults0 = MinorFaults();
    const auto t0 = Clock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 1;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<char[]> bytes(new char[size_t(size)]);
    const size_t got = std::fread(bytes.get(), 1, size_t(size), file);
    std::fclose(file);
    size_t lines = 0;
    for (const char* p = bytes.get();
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(bytes.get() + got - p)))); ++p)
        ++lines;
    benchmark::DoNotOptimize(lines);
    PrintChildResult(t0, faults0);
    return 0;
}

TChildResult RunChild(const QString& mode, const QString& path) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {mode, path});
    child.waitForFinished(-1);
    TChildResult result;
    long long faults = 0;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lld", &result.Ms, &faults) != 2)
        result.Ms = -1;
    result.Faults = double(faults);
    return result;
}

void BM_LoadToFirstPaint100MBFreshProcess(benchmark::State& state) {
    QTemporaryFile file;
    if (!file.open()) {
        state.SkipWithError("no temporary file");
        return;
    }
    file.write(BigText().data(), qint64(BigText().size()));
    file.flush();
    double work = 0, floor = 0, workFaults = 0, floorFaults = 0;
    for (auto _ : state) {
        const TChildResult f = RunChild("--child-floor", file.fileName());
        const TChildResult w = RunChild("--child-load", file.fileName());
        if (f.Ms < 0 || w.Ms < 0) {
            state.SkipWithError("a child process failed");
            return;
        }
        floor += f.Ms;
        work += w.Ms;
        floorFaults += f.Faults;
        workFaults += w.Faults;
        state.SetIterationTime(w.Ms / 1000);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floor / n;
    state.counters["x_floor"] = work / floor;
    state.counters["faults"] = workFaults / n;
    state.counters["floor_faults"] = floorFaults / n;
}
BENCHMARK(BM_LoadToFirstPaint100MBFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_FloorReadAndCountLines100MB(benchmark::State& state) {
    const std::string& text = BigText();
    for (auto _ : state)
        benchmark::DoNotOptimize(Floor(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_FloorReadAndCountLines100MB)->Unit(benchmark::kMillisecond)->Iterations(5);

// The first paint after a load formats the lines it shows and nothing else, so its cost does not
// grow with the document.
void BM_FirstPaintAfterLoad(benchmark::State& state) {
    const std::string text = ArtText(size_t(state.range(0)) << 20);
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        Load(*memo, text);
        state.ResumeTiming();
        PaintScreen(*memo, image);
    }
    state.counters["MB"] = double(state.range(0));
}
BENCHMARK(BM_FirstPaintAfterLoad)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argc == 3 ? argv[1] : "";
    // The benchmarks live one folder below the program and its fonts.
    if (!platform::RegisterScreenFonts(platform::DefaultScreenFontsFolder()))
        platform::RegisterScreenFonts((QCoreApplication::applicationDirPath() + "/../fonts").toStdString());
    if (mode == "--child-load")
        return ChildLoad(argv[2]);
    if (mode == "--child-floor")
        return ChildFloor(argv[2]);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
