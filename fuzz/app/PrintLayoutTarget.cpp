// The print layout over random short texts (form feeds, long words, tabs) and random page set-ups:
// paper sizes and resolutions, margins, gutter, line spacing, columns, header and footer places
// and rules, any of them zero, negative, huge or not finite. A length that is no length on paper is
// refused and the one before it kept; whatever the set-up, the layout ends, every display line is
// on exactly one page and column in order, a form feed starts a page, and the pages draw.
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "printing/ArtMemoPrinter.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace zandor::fuzz {

namespace {

const char* const kPieces[] = {"word ",  "\f", "\r\n", "\t",      "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww",
                               "\r\n\f", "x",  "  ",   "\r\n\r\n"};

float PickLength(FuzzInput& in) {
    static const float kValues[] = {0.0f,
                                    -0.0f,
                                    0.5f,
                                    0.75f,
                                    1.0f,
                                    2.5f,
                                    -0.25f,
                                    -1.5f,
                                    30.0f,
                                    100.0f,
                                    1e6f,
                                    1e30f,
                                    -1e30f,
                                    FLT_MAX,
                                    FLT_MIN,
                                    1e-30f,
                                    std::numeric_limits<float>::denorm_min(),
                                    std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(),
                                    std::numeric_limits<float>::quiet_NaN()};
    const uint8_t pick = in.Byte();
    if (pick < 0xE0)
        return kValues[pick % std::size(kValues)];
    const uint32_t bits = ReadNumber(in, 4);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The rule the setters keep: a margin is a length on paper, more than nothing and less than any
// paper; the gutter may be nothing; a line spacing is a length or a multiple of the line height
// within the same bound.
constexpr float kLongest = 100.0f;
bool UsableMargin(float v) {
    return std::isfinite(v) && v > 0 && v <= kLongest;
}
bool UsableGutter(float v) {
    return std::isfinite(v) && v >= 0 && v <= kLongest;
}
bool UsableSpacing(float v) {
    return std::isfinite(v) && std::fabs(v) <= kLongest;
}

// Same value, NaN never being one.
bool Same(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || a == b;
}

} // namespace

int FuzzPrintLayout(const uint8_t* data, size_t size) {
    EnsureGuiApplication();
    FuzzInput in(data, size);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    static const int kDpi[] = {72, 96, 150, 300, 600};
    printer.setResolution(kDpi[in.Below(std::size(kDpi))]);
    switch (in.Below(4)) {
    case 0:
        printer.setPageSize(QPageSize(QPageSize::Letter));
        break;
    case 1:
        printer.setPageSize(QPageSize(QPageSize::A6));
        break;
    case 2:
        printer.setPageSize(QPageSize(QSizeF(1, 1), QPageSize::Inch)); // a label
        break;
    default:
        printer.setPageSize(QPageSize(QSizeF(40, 60), QPageSize::Inch));
    }
    if (in.Flag())
        printer.setPageOrientation(QPageLayout::Landscape);

    TArtMemo source;
    platform::FontValue font;
    font.Name = "DejaVu Sans Mono";
    font.Size = in.Range(1, 40);
    source.SetFont(font);
    TArtMemoPrinter layout(printer);
    layout.SetMemoToPrint(&source);
    layout.SetPlainText(in.Flag());
    layout.SetWordWrap(!in.Flag());
    std::string text;
    for (int n = in.Range(0, 24); n > 0; --n)
        text += kPieces[in.Below(std::size(kPieces))];
    TMemoryReadStream stream(text.data(), text.size());
    source.LoadFromStream(stream);

    // Each length set twice over, so that a refused value is seen keeping an accepted one.
    using Getter = float (TArtMemoPrinter::*)() const;
    using Setter = void (TArtMemoPrinter::*)(float);
    struct Length {
        Getter Get;
        Setter Set;
        bool (*Usable)(float);
    };
    const Length lengths[] = {
        {&TArtMemoPrinter::MarginLeft, &TArtMemoPrinter::SetMarginLeft, UsableMargin},
        {&TArtMemoPrinter::MarginRight, &TArtMemoPrinter::SetMarginRight, UsableMargin},
        {&TArtMemoPrinter::MarginTop, &TArtMemoPrinter::SetMarginTop, UsableMargin},
        {&TArtMemoPrinter::MarginBottom, &TArtMemoPrinter::SetMarginBottom, UsableMargin},
        {&TArtMemoPrinter::GutterWidth, &TArtMemoPrinter::SetGutterWidth, UsableGutter},
        {&TArtMemoPrinter::LineSpacing, &TArtMemoPrinter::SetLineSpacing, UsableSpacing}};
    for (int round = 0; round < 2; ++round)
        for (const Length& l : lengths) {
            const float before = (layout.*l.Get)();
            const float value = PickLength(in);
            (layout.*l.Set)(value);
            const float after = (layout.*l.Get)();
            FuzzCheck(l.Usable(after), "a length that is none on paper was taken");
            FuzzCheck(Same(after, l.Usable(value) ? value : before), "a usable length was refused");
        }
    const int columns = in.Flag() ? int(in.Below(12)) - 1 : int(ReadNumber(in, 3)) * 64;
    layout.SetColumns(columns);
    FuzzCheck(layout.Columns() >= 1, "fewer than one column");
    layout.HeaderYPos = PickLength(in);
    layout.FooterYPos = PickLength(in);
    layout.HeaderLineWidth = PickLength(in);
    layout.FooterLineWidth = PickLength(in);
    layout.Header = QStringLiteral("Page {p} of {pp}");
    layout.Footer = in.Flag() ? QStringLiteral("{pp}") : QString();
    layout.LineNumbers = in.Flag();
    layout.ParagraphNumbers = in.Flag();
    layout.StartingLineNumber = in.Range(-1000, 1000);
    layout.StartingPageNumber = in.Range(-1000, 1000);

    layout.FormatText();
    const int lpp = layout.LinesPerPage();
    const int pages = layout.PageCount();
    const int cols = layout.Columns();
    FuzzCheck(lpp >= 1 && pages >= 1, "no page or no line on a page");
    const int32_t lines = layout.FormatMemo()->LineCount();
    int64_t fill = 0;
    for (const int32_t f : layout.BreakFill()) {
        FuzzCheck(f >= 1 && f <= lpp, "a break fills more than a page");
        fill += f;
    }
    FuzzCheck(int64_t(pages) == (lines + fill) / lpp / cols + 1, "the page count is not that of the lines");

    // Every display line once and in order; each forced break at the top of a column.
    const int64_t virtualLines = int64_t(pages) * cols * lpp;
    if (virtualLines <= 4'000'000) {
        int32_t next = 0;
        size_t breakIndex = 0;
        const std::vector<int32_t>& breaks = layout.PageBreaks();
        for (int64_t v = 0; v < virtualLines; ++v) {
            const int32_t line = layout.MapVirtualLine(int32_t(v));
            if (line == INT32_MAX || line >= lines)
                continue;
            FuzzCheck(line == next, "a display line is printed out of order or twice");
            while (breakIndex < breaks.size() && breaks[breakIndex] < line)
                ++breakIndex;
            if (breakIndex < breaks.size() && breaks[breakIndex] == line)
                FuzzCheck(v % lpp == 0, "a form feed does not start a page");
            ++next;
        }
        FuzzCheck(next == lines, "a display line is on no page");
    }

    // The first and the last page drawn as the preview draws them, scaled down.
    QImage sheet(120, 160, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (const int page : {0, pages - 1}) {
        QPainter painter(&sheet);
        const TPrinterMetrics& m = layout.Metrics();
        painter.scale(120.0 / std::max(1, m.PhysicalWidth), 160.0 / std::max(1, m.PhysicalHeight));
        layout.DrawPage(painter, page, 0, INT_MAX, 0.1f);
    }
    return 0;
}

} // namespace zandor::fuzz
