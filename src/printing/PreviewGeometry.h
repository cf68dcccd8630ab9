// Where the print preview puts the page: the zoom's scale, the page's place in the scroll box and
// the margin guides, from the printer's paper and the size of the box.
#pragma once

#include "printing/ArtMemoPrinter.h"

namespace zandor {

// The zoom list, in the order the preview offers it.
enum TPreviewZoom { pz500, pz200, pz150, pz100, pz75, pz50, pzPageWidth, pzWholePage };
inline constexpr const char* kPreviewZooms[] = {"500%", "200%", "150%",       "100%",
                                                "75%",  "50%",  "Page width", "Whole page"};

struct TPreviewGeometry {
    double Scale = 1; // screen pixels per printer pixel
    int PageLeft = 10;
    int PageWidth = 0;
    int PageHeight = 0;
    int GuideLeft = 0;
    int GuideRight = 0;
    int GuideTop = 0;
    int GuideBottom = 0;
};

struct TPreviewMargins {
    float Left = 0.75f;
    float Right = 0.5f;
    float Top = 0.75f;
    float Bottom = 0.75f;
};

// boxWidth, boxHeight: the scroll box's client size; screenDpi: the screen's pixels per inch
// ("100%" shows the paper in its real size).
TPreviewGeometry PreviewGeometry(TPreviewZoom zoom, int screenDpi, const TPrinterMetrics& printer,
                                 const TPreviewMargins& margins, int boxWidth, int boxHeight);

// A guide dropped at `pos` (page pixels) as a margin in inches: left and top from the page's left
// and top edge, right and bottom from its right and bottom edge.
float GuideToInches(int guide, int pos, const TPreviewGeometry& g, const TPrinterMetrics& printer);

} // namespace zandor
