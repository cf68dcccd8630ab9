#include "printing/PreviewGeometry.h"

#include <cmath>

namespace zandor {

namespace {

int Round(double v) {
    return int(std::nearbyint(v));
}

} // namespace

TPreviewGeometry PreviewGeometry(TPreviewZoom zoom, int screenDpi, const TPrinterMetrics& printer,
                                 const TPreviewMargins& margins, int boxWidth, int boxHeight) {
    static constexpr double kFactors[] = {5, 2, 1.5, 1, 0.75, 0.5};
    TPreviewGeometry g;
    if (printer.PhysicalWidth <= 0 || printer.PhysicalHeight <= 0 || printer.DpiX <= 0 || printer.DpiY <= 0)
        return g; // the guides stay at 0, the page is shown as it can be
    const double W = boxWidth;
    const double H = boxHeight;
    const auto pageWidth = [&] {
        g.Scale = (W - 20) / printer.PhysicalWidth;
        g.PageLeft = 10;
    };
    if (zoom <= pz50) {
        g.Scale = double(screenDpi) / printer.DpiY * kFactors[zoom];
        const double width = printer.PhysicalWidth * g.Scale;
        g.PageLeft = width < W - 20 ? int((W - width) / 2) : 10;
    } else if (zoom == pzWholePage &&
               double(printer.PhysicalHeight) / printer.PhysicalWidth > (H - 20) / (W - 20)) {
        g.Scale = (H - 20) / printer.PhysicalHeight;
        g.PageLeft = Round((W - printer.PhysicalWidth * g.Scale) / 2);
    } else {
        pageWidth();
    }
    if (g.Scale <= 0)
        g.Scale = 0.01; // a box too small for any page still shows a speck of it
    g.PageWidth = Round(printer.PhysicalWidth * g.Scale);
    g.PageHeight = Round(printer.PhysicalHeight * g.Scale);
    g.GuideLeft = Round(printer.DpiX * double(margins.Left) * g.Scale);
    g.GuideRight = Round((printer.PhysicalWidth - printer.DpiX * double(margins.Right)) * g.Scale);
    g.GuideTop = Round(printer.DpiY * double(margins.Top) * g.Scale);
    g.GuideBottom = Round((printer.PhysicalHeight - printer.DpiY * double(margins.Bottom)) * g.Scale);
    return g;
}

float GuideToInches(int guide, int pos, const TPreviewGeometry& g, const TPrinterMetrics& printer) {
    const double perInchX = printer.DpiX * g.Scale;
    const double perInchY = printer.DpiY * g.Scale;
    switch (guide) {
    case 1:
        return float(pos / perInchX);
    case 2:
        return float((g.PageWidth - pos) / perInchX);
    case 3:
        return float(pos / perInchY);
    default:
        return float((g.PageHeight - pos) / perInchY);
    }
}

} // namespace zandor
