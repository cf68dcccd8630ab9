// links: zandor_printing zandor_qt_bench_main
// Printing: a 10 MB text laid out for a 600 dpi Letter page (the private copy made and every line
// wrapped at the column width), in pages per second, beside its floor measured in the same
// iterations (the text's bytes copied once, as the copy must at least read them). Then one preview
// page drawn at "Whole page" (goal: under 50 ms), beside its floor (the page's pixels filled once).
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "printing/ArtMemoPrinter.h"
#include "printing/PrintPreview.h"

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace zandor;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Prose-like lines of 40 to 120 characters, some longer than a column, with a form feed now and
// then.
std::string Text(size_t bytes) {
    static const char* kWords[] = {"print", "the",  "page",   "of",     "art",
                                   "and",   "text", "column", "layout", "line"};
    std::mt19937 rng(7);
    std::string text;
    text.reserve(bytes + 200);
    while (text.size() < bytes) {
        if (rng() % 500 == 0)
            text += '\f';
        const size_t length = 40 + rng() % 80;
        const size_t start = text.size();
        while (text.size() - start < length) {
            text += kWords[rng() % 10];
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

struct Setup {
    QPrinter printer{QPrinter::ScreenResolution};
    TArtMemo source;
    TArtMemoPrinter layout{printer};
    std::string text;

    explicit Setup(size_t bytes) : text(Text(bytes)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        platform::FontValue font;
        font.Name = "Courier New";
        font.Size = 9;
        source.SetFont(font);
        TMemoryReadStream stream(text.data(), text.size());
        source.LoadFromStream(stream);
        layout.SetMemoToPrint(&source);
        layout.SetPlainText(true);
        layout.Header = QStringLiteral("Page {p} of {pp}");
    }
};

void BM_PrintLayout(benchmark::State& state) {
    Setup s(size_t(state.range(0)) << 20);
    std::unique_ptr<char[]> copy(new char[s.text.size()]);
    double layout = 0, floor = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        s.layout.DiscardFormat();
        s.layout.FormatText();
        const auto t1 = Clock::now();
        std::memcpy(copy.get(), s.text.data(), s.text.size());
        benchmark::DoNotOptimize(copy.get());
        const auto t2 = Clock::now();
        layout += Seconds(t0, t1);
        floor += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    const double n = double(state.iterations());
    state.counters["MB"] = double(state.range(0));
    state.counters["pages"] = s.layout.PageCount();
    state.counters["pages_per_s"] = s.layout.PageCount() / (layout / n);
    state.counters["floor_ms"] = floor / n * 1000;
    state.counters["x_floor"] = layout / floor;
}
BENCHMARK(BM_PrintLayout)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PreviewWholePage(benchmark::State& state) {
    Setup s(size_t(1) << 20);
    s.layout.SetColumns(int(state.range(0)));
    TFrmAMPrintPreview form(s.layout, nullptr);
    form.resize(900, 1000);
    form.show();
    form.cbZoom->setCurrentIndex(pzWholePage);
    form.cbZoomChange();
    form.GoToPage(3);
    const TPreviewGeometry& g = form.Geometry();
    QImage page(g.PageWidth, g.PageHeight, QImage::Format_RGB32);
    double draw = 0, floor = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        {
            QPainter painter(&page);
            form.PBPreviewPaint(painter, page.rect());
        }
        const auto t1 = Clock::now();
        page.fill(Qt::white);
        benchmark::DoNotOptimize(page.constBits());
        const auto t2 = Clock::now();
        draw += Seconds(t0, t1);
        floor += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    const double n = double(state.iterations());
    state.counters["columns"] = double(state.range(0));
    state.counters["lines_per_page"] = s.layout.LinesPerPage();
    state.counters["width"] = g.PageWidth;
    state.counters["height"] = g.PageHeight;
    state.counters["floor_ms"] = floor / n * 1000;
    state.counters["x_floor"] = draw / floor;
}
BENCHMARK(BM_PreviewWholePage)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
