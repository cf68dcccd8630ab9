// links: zandor_export zandor_qt_bench_main
// Exporting a 1 MB text-mode art file to PNG as "zandor --export art.nfo art.png" does (read,
// decode, load into the editor, lay out, paint every line in bands, compress, write in one step),
// beside its floor measured in the same iterations: the file read and the picture's pixels touched
// once (memset of one 32-bit pixel each), and the PNG's bytes written to disk the same safe way.
#include "export/ArtExport.h"
#include "platform/AtomicWrite.h"
#include "platform/ScreenFonts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

// 80-column art as .nfo files have it: blocks, shades, box lines and some words.
std::string ArtText(size_t bytes) {
    static const unsigned char kArt[] = {0xDB, 0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC4, 0xCD, 0xBA,
                                         0xC9, 0xBB, 0xC8, 0xBC, ' ',  ' ',  ' ',  'A',  'r',  't'};
    std::string text;
    text.reserve(bytes + 82);
    std::mt19937 rng(23);
    while (text.size() < bytes) {
        for (int c = 0; c < 80; ++c)
            text += char(kArt[rng() % sizeof(kArt)]);
        text += "\r\n";
    }
    return text;
}

void BM_ExportArtToPng(benchmark::State& state) {
    const QString folder = QDir::tempPath();
    TExportJob job;
    job.Input = (folder + "/zandor-bench-export.nfo").toStdString();
    job.Output = (folder + "/zandor-bench-export.png").toStdString();
    job.Look.Font.Name = platform::LargeScreenFontFace;
    job.Look.Font.Size = 9; // what the window uses for .nfo files
    job.Look.Font.Color = platform::clWhite;
    job.Look.Font.Charset = platform::OEM_CHARSET;
    platform::WriteFileAtomically(job.Input, ArtText(size_t(1) << 20), 0644, false);
    // The floor reads the picture's size back; a tall export is above Qt's default reading limit.
    QImageReader::setAllocationLimit(0);
    double exportSeconds = 0, floor = 0;
    QImage picture;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        RunExport(job);
        const auto t1 = Clock::now();
        std::ifstream in(job.Output, std::ios::binary);
        std::stringstream png;
        png << in.rdbuf();
        std::ifstream source(job.Input, std::ios::binary);
        std::stringstream text;
        text << source.rdbuf();
        benchmark::DoNotOptimize(text.str().data());
        const auto t2 = Clock::now();
        if (picture.isNull())
            picture.load(QString::fromStdString(job.Output));
        const auto t3 = Clock::now();
        std::unique_ptr<uint32_t[]> pixels(new uint32_t[size_t(picture.width()) * size_t(picture.height())]);
        std::memset(pixels.get(), 0x4A, size_t(picture.width()) * size_t(picture.height()) * 4);
        benchmark::DoNotOptimize(pixels.get());
        platform::WriteFileAtomically(job.Output + ".floor", png.str(), 0644, false);
        const auto t4 = Clock::now();
        const auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
        exportSeconds += s(t0, t1);
        floor += s(t1, t2) + s(t3, t4);
        state.SetIterationTime(s(t0, t1));
    }
    const double n = double(state.iterations());
    state.counters["export_ms"] = exportSeconds / n * 1000;
    state.counters["floor_ms"] = floor / n * 1000;
    state.counters["x_floor"] = exportSeconds / floor;
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
    state.counters["png_bytes"] = double(QFile(QString::fromStdString(job.Output)).size());
    for (const std::string& file : {job.Input, job.Output, job.Output + ".floor"})
        QFile::remove(QString::fromStdString(file));
}
BENCHMARK(BM_ExportArtToPng)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
