// links: zandor_control
// Painting the editor control: one full 120 x 50 screen of text-mode art; the way from the start
// of loading a 100 MB file to the first painted screen, beside its floor measured in the same
// iterations (the bytes read into fresh memory and their line breaks counted with memchr); and the
// first paint after a load alone, at several document sizes.
#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 120;
constexpr int kRows = 50;

// Lines of kColumns code page 437 art bytes (blocks, shades, box lines, some words) with CR LF.
std::string ArtText(size_t bytes) {
    static const unsigned char kArt[] = {0xDB, 0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC4, 0xCD, 0xBA,
                                         0xC9, 0xBB, 0xC8, 0xBC, ' ',  ' ',  ' ',  'A',  'r',  't'};
    std::string text;
    text.reserve(bytes + kColumns + 2);
    std::mt19937 rng(7);
    while (text.size() < bytes) {
        for (int c = 0; c < kColumns; ++c)
            text += char(kArt[rng() % sizeof(kArt)]);
        text += "\r\n";
    }
    return text;
}

const std::string& BigText() {
    static const std::string text = ArtText(100u << 20);
    return text;
}

// A control as the main window shows art: the large screen font, lines as high as the font, no
// borders or bars, sized for kColumns x kRows characters.
std::unique_ptr<TArtMemo> MakeMemo() {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetBorderStyle(bsNone);
    memo->SetScrollBars(ssNone);
    memo->SetWordWrap(false);
    memo->SetColor(0x004A0000);
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Height = 16;
    font.Charset = platform::OEM_CHARSET;
    font.Color = platform::clWhite;
    memo->SetFont(font);
    memo->SetLineHeight(16);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->resize(kColumns * memo->AvgCharWidth() + memo->LeftMargin() + memo->RightMargin(),
                 kRows * memo->LinePixels());
    memo->show();
    QCoreApplication::processEvents();
    memo->HandleNeeded();
    return memo;
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
    for (auto _ : state) {
        const auto f0 = Clock::now();
        benchmark::DoNotOptimize(Floor(text));
        const auto t0 = Clock::now();
        Load(*memo, text);
        PaintScreen(*memo, image);
        const auto t1 = Clock::now();
        const double work = std::chrono::duration<double>(t1 - t0).count();
        floorSeconds += std::chrono::duration<double>(t0 - f0).count();
        workSeconds += work;
        state.SetIterationTime(work);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorSeconds / n * 1000;
    state.counters["x_floor"] = workSeconds / floorSeconds;
    state.counters["paragraphs"] = memo->ParagraphCount();
}
BENCHMARK(BM_LoadToFirstPaint100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

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
    // The benchmarks live one folder below the program and its fonts.
    if (!platform::RegisterScreenFonts(platform::DefaultScreenFontsFolder()))
        platform::RegisterScreenFonts((QCoreApplication::applicationDirPath() + "/../fonts").toStdString());
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
