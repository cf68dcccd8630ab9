// Where the view goes: the scroll-bar ranges and the target origins of scroll requests, the wheel
// and keeping the caret in view, computed from the control's geometry alone so that the rules can
// be checked with exact numbers.
#pragma once

#include "editor/control/MemoMessages.h"
#include "editor/engine/MemoCore.h"

#include <cstdint>

namespace zandor {

// A bar's range as the positions are counted: pixels divided by Unit, from 0 to Max, of which
// Page are visible at once.
struct TBarRange {
    int Unit = 1;
    int Page = 1;
    int64_t Max = 0;
    // The largest first visible position (0 when everything fits).
    int64_t LastPosition() const { return Max - Page + 1 > 0 ? Max - Page + 1 : 0; }
};

// Refers to the core it reads; computes, changes nothing.
class TScrollGeometry {
public:
    TScrollGeometry(const TArtMemoCore& core, bool autoScrollBars, bool noFineScroll)
        : FCore(core), FAutoScrollBars(autoScrollBars), FNoFineScroll(noFineScroll) {}

    TBarRange VertBar() const;
    TBarRange HorzBar() const;

    // Target TopOrigin of a vertical request; thumb: the thumb position in bar units.
    int64_t VertTarget(TScrollCode code, int64_t thumb) const;
    // Target LeftOrigin of a horizontal request.
    int64_t HorzTarget(TScrollCode code, int64_t thumb) const;
    // Target TopOrigin after the wheel moved the top line by `lines` (positive = up).
    int64_t WheelTarget(int lines) const;

    // Origins that bring a caret at client x and display line `line` into view.
    struct TOrigins {
        int64_t Top;
        int64_t Left;
    };
    TOrigins InViewTarget(int caretX, int32_t caretLine) const;

private:
    int64_t LinePixels() const { return FCore.LinePixels(); }
    int64_t TextHeight() const { return int64_t(FCore.VisibleLineCount()) * LinePixels(); }
    int64_t TopLine() const { return FCore.TopOrigin() / LinePixels(); }

    const TArtMemoCore& FCore;
    bool FAutoScrollBars;
    bool FNoFineScroll;
};

} // namespace zandor
