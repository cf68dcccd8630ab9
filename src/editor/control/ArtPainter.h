// The editor control's painter: composes every screen line in the control's line bitmap and
// copies it to the window, covers what lies above and below the text, draws the end-of-text mark,
// the right guide line and the caret; or draws the lines straight into a foreign canvas for
// printing.
#pragma once

#include "editor/control/LinePainter.h"

#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;

namespace zandor {

class TArtMemo;

// What a printing caller asks of a paint into the control's render canvas: which display lines,
// where the canvas's origin lies and how far apart the lines stand (canvas units).
#pragma pack(push, 1)
struct TRenderRecord {
    int32_t FirstLine;
    int32_t LastLine;
    int32_t LeftOffset;
    int32_t TopOffset;
    float LinePitch;
};
#pragma pack(pop)
static_assert(sizeof(TRenderRecord) == 20);

// Refers to the control it paints; keeps nothing between paints except the optional run log.
class TArtPainter {
public:
    explicit TArtPainter(TArtMemo& memo) : FMemo(memo) {}

    // Paints the dirty rectangle (client pixels) of the window.
    void Paint(QPainter& painter, const QRect& dirty);
    // Paints the record's lines into the control's render canvas (nothing when none is set).
    void PaintRender(const TRenderRecord& record);
    // The same lines, as they are laid out for the render canvas, drawn into another canvas: a
    // printed page or its preview draws many times from one layout.
    void PaintRenderInto(platform::TCanvas& canvas, const TRenderRecord& record);

    // Keeps the pieces of every painted line (tests read the runs as data); null stops it.
    void SetLog(std::vector<TPaintedRun>* log) { FLog = log; }

private:
    TPaintSettings Settings(bool render) const;
    // Lays out what the display lines first .. last need; true when anything was laid out.
    bool LayOutLines(int32_t first, int32_t last);
    void Background(platform::TCanvas& canvas, const QRect& rect, int32_t par, int documentY) const;

    TArtMemo& FMemo;
    std::vector<TPaintedRun>* FLog = nullptr;
};

} // namespace zandor
