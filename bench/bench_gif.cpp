// links: zandor_commands zandor_qt_bench_main
// Saving the editor's picture as a GIF file: a full 120 x 50 screen of text-mode art painted into
// a picture, reduced to the web palette, compressed and written to disk, beside its floor measured
// in the same iterations (the picture's pixels copied once and the same number of GIF bytes written
// to disk the same way). Then the same picture of a screen inside larger documents, where setting
// the render canvas lays the whole text out again.
#include "BenchMemo.h"
#include "commands/EditorPicture.h"
#include "commands/GifExport.h"
#include "commands/GifWriter.h"
#include "commands/WebPalette.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/AtomicWrite.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QDir>
#include <QImage>

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

std::string ArtText(size_t bytes) {
    return bench::ArtLines(bytes, kColumns, 11);
}

// The editor as the main window shows art (white bold "ZandorLarge" on dark blue, word wrap on, a
// keyword in its highlight colours), sized for kColumns x kRows characters.
std::unique_ptr<TArtMemo> MakeMemo() {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetBorderStyle(bsNone);
    memo->SetScrollBars(ssNone);
    memo->SetColor(0x004A0000);
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Height = 19;
    font.Style = platform::fsBold;
    font.Charset = platform::OEM_CHARSET;
    font.Color = platform::clWhite;
    memo->SetFont(font);
    memo->Keywords().AddKeyWord("Art", 0, 0, 1, 0, platform::clBlack, platform::clLime);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->show();
    QCoreApplication::processEvents();
    memo->HandleNeeded();
    // Sized once the window measured its font.
    memo->resize(kColumns * memo->AvgCharWidth() + memo->LeftMargin() + memo->RightMargin() + 2,
                 kRows * memo->LinePixels());
    QCoreApplication::processEvents();
    return memo;
}

void Load(TArtMemo& memo, const std::string& text) {
    TMemoryReadStream stream(text.data(), text.size());
    memo.LoadFromStream(stream);
    QCoreApplication::processEvents();
}

std::string Target() {
    return (QDir::tempPath() + QStringLiteral("/zandor-bench.gif")).toStdString();
}

void BM_GifOfFullArtScreen(benchmark::State& state) {
    auto memo = MakeMemo();
    Load(*memo, ArtText(size_t(kColumns + 2) * kRows));
    const std::string target = Target();
    const QRgb background = qRgb(0, 0, 0x4A);
    double paint = 0, reduce = 0, encode = 0, write = 0, floor = 0;
    size_t gifBytes = 0;
    QImage picture;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        picture = PaintEditorPicture(*memo);
        const auto t1 = Clock::now();
        const TIndexedPicture indexed = ReduceToWebPalette(picture, background);
        const auto t2 = Clock::now();
        const std::string bytes = EncodeGif(indexed);
        const auto t3 = Clock::now();
        platform::WriteFileAtomically(target, bytes, 0644, true);
        const auto t4 = Clock::now();
        // The floor: every pixel touched once, and as many bytes put on disk the same safe way.
        std::unique_ptr<uchar[]> copy(new uchar[size_t(picture.sizeInBytes())]);
        std::memcpy(copy.get(), picture.constBits(), size_t(picture.sizeInBytes()));
        benchmark::DoNotOptimize(copy.get());
        platform::WriteFileAtomically(target + ".floor", std::string(bytes.size(), 'x'), 0644, true);
        const auto t5 = Clock::now();
        const auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
        paint += s(t0, t1);
        reduce += s(t1, t2);
        encode += s(t2, t3);
        write += s(t3, t4);
        floor += s(t4, t5);
        gifBytes = bytes.size();
        state.SetIterationTime(s(t0, t4));
    }
    const double n = double(state.iterations());
    state.counters["paint_ms"] = paint / n * 1000;
    state.counters["reduce_ms"] = reduce / n * 1000;
    state.counters["encode_ms"] = encode / n * 1000;
    state.counters["write_ms"] = write / n * 1000;
    state.counters["floor_ms"] = floor / n * 1000;
    state.counters["x_floor"] = (paint + reduce + encode + write) / floor;
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
    state.counters["columns"] = double(picture.width()) / memo->AvgCharWidth();
    state.counters["rows"] = double(picture.height()) / memo->LinePixels();
    state.counters["gif_bytes"] = double(gifBytes);
    QFile::remove(QString::fromStdString(target));
    QFile::remove(QString::fromStdString(target + ".floor"));
}
BENCHMARK(BM_GifOfFullArtScreen)->UseManualTime()->Unit(benchmark::kMillisecond);

// A screen of a longer document: the picture costs a layout of the whole text at the render
// width, and the screen's own layout again afterwards.
void BM_GifPictureInDocument(benchmark::State& state) {
    auto memo = MakeMemo();
    Load(*memo, ArtText(size_t(state.range(0)) << 20));
    for (auto _ : state)
        benchmark::DoNotOptimize(PaintEditorPicture(*memo));
    state.counters["MB"] = double(state.range(0));
}
BENCHMARK(BM_GifPictureInDocument)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
