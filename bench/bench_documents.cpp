// links: zandor_documents zandor_qt_bench_main
// Opening and saving a 100 MB text file with Unix line breaks, as the documents do it. Opening runs
// from the file on disk to the first painted screen with "Convert" on (read whole, decoded, breaks
// repaired, taken over by the control, painted), beside its floor measured in the same iterations:
// the file read into fresh memory and its line breaks counted with memchr. Saving replaces the file
// through a flushed temporary file, beside writing the same bytes to a new file with one write and
// one fsync.
#include "BenchMemo.h"
#include "documents/DocumentLoad.h"
#include "documents/Documents.h"
#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 120;
constexpr int kRows = 50;

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// Lines of kColumns code page 437 art bytes with LF breaks, 100 MB, written once.
const std::string& BigFile() {
    static const std::string path = [] {
        const std::string text = bench::ArtLines(100u << 20, kColumns, 7, "\n");
        const std::string name = Folder().filePath("art-lf.nfo").toStdString();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, text.data(), text.size()) != ssize_t(text.size()) || ::close(fd) != 0)
            std::abort();
        return name;
    }();
    return path;
}

std::unique_ptr<TArtMemo> MakeMemo() {
    return bench::MakeArtViewMemo(kColumns, kRows);
}

// What any viewer must at least do with the file: read it into fresh memory and find its breaks.
size_t Floor(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    std::unique_ptr<char[]> bytes(new char[size_t(size)]);
    if (::pread(fd, bytes.get(), size_t(size), 0) != size)
        std::abort();
    ::close(fd);
    size_t lines = 0;
    const char* p = bytes.get();
    const char* end = p + size;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    benchmark::DoNotOptimize(bytes.get());
    return lines;
}

// The way LoadFile takes: read in slices with the events handled between them (no background layout
// of the old text meanwhile) and decoded with the repair on, the bytes taken over by the editor,
// then the first paint.
void Open(TArtMemo& memo, const std::string& path, QImage& image) {
    TLoadedText loaded;
    {
        TMemoEditor::TQuietLevel quiet(memo.Editor());
        TLoadOptions options;
        options.Repair = true;
        loaded = LoadDocumentText(path, int64_t(1) << 31, options, {});
    }
    if (!loaded.Problem.empty())
        std::abort();
    memo.LoadFromBuffer(std::move(loaded.Bytes.Data), loaded.Bytes.Size);
    QPainter painter(&image);
    TArtPainter(memo).Paint(painter, image.rect());
}

void BM_OpenLfFileToFirstPaint100MB(benchmark::State& state) {
    const std::string& path = BigFile();
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    double floorSeconds = 0;
    double workSeconds = 0;
    for (auto _ : state) {
        const auto f0 = Clock::now();
        benchmark::DoNotOptimize(Floor(path));
        const auto t0 = Clock::now();
        Open(*memo, path, image);
        const auto t1 = Clock::now();
        const double work = std::chrono::duration<double>(t1 - t0).count();
        floorSeconds += std::chrono::duration<double>(t0 - f0).count();
        workSeconds += work;
        state.SetIterationTime(work);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorSeconds / n * 1000;
    state.counters["x_floor"] = workSeconds / floorSeconds;
}
BENCHMARK(BM_OpenLfFileToFirstPaint100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor of a save: the text's bytes (CR LF breaks, as the editor writes them) to a new file with
// one write and one fsync.
void WriteAndSync(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::fsync(fd) != 0 ||
        ::close(fd) != 0)
        std::abort();
}

void BM_Save100MB(benchmark::State& state) {
    auto memo = MakeMemo();
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    Open(*memo, BigFile(), image);
    TMemoryStream saved;
    memo->SaveToStream(saved);
    const std::string bytes = saved.Text();
    const std::string target = Folder().filePath("saved.nfo").toStdString();
    const std::string floorTarget = Folder().filePath("floor.nfo").toStdString();
    double floorSeconds = 0;
    double workSeconds = 0;
    for (auto _ : state) {
        ::unlink(floorTarget.c_str());
        const auto f0 = Clock::now();
        WriteAndSync(floorTarget, bytes);
        const auto t0 = Clock::now();
        SaveEditorText(*memo, target);
        const auto t1 = Clock::now();
        const double work = std::chrono::duration<double>(t1 - t0).count();
        floorSeconds += std::chrono::duration<double>(t0 - f0).count();
        workSeconds += work;
        state.SetIterationTime(work);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorSeconds / n * 1000;
    state.counters["x_floor"] = workSeconds / floorSeconds;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_Save100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
