// Where the view goes: the scroll-bar ranges and the target origins of scroll requests, the wheel
// and keeping the caret in view, the steps of an animated scroll and the direction of auto-scroll,
// computed from the control's geometry alone so that the rules can be checked with exact numbers.
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

// One animated scroll: both origins go from where they were to their targets in steps, one each
// time the millisecond tick has changed. time > 0 eases out: a step covers (time since the start)
// x remaining distance div (2 x time); time < 0 moves evenly: (time since the last step) x whole
// distance div -time. Every step moves at least one pixel and never past the target.
class TScrollAnimation {
public:
    TScrollAnimation(int64_t fromTop, int64_t fromLeft, int64_t toTop, int64_t toLeft, int time, int64_t now)
        : FTop(fromTop), FLeft(fromLeft), FToTop(toTop), FToLeft(toLeft),
          FTotalTop(toTop > fromTop ? toTop - fromTop : fromTop - toTop),
          FTotalLeft(toLeft > fromLeft ? toLeft - fromLeft : fromLeft - toLeft), FTime(time), FStart(now),
          FLast(now) {}

    bool Done() const { return FTop == FToTop && FLeft == FToLeft; }
    // The origins at tick now, which must be later than the last step's.
    void Step(int64_t now);
    int64_t Top() const { return FTop; }
    int64_t Left() const { return FLeft; }

private:
    int64_t Advance(int64_t at, int64_t target, int64_t total, int64_t now) const;

    int64_t FTop, FLeft, FToTop, FToLeft, FTotalTop, FTotalLeft;
    int FTime;
    int64_t FStart, FLast;
};

// Auto-scroll while the mouse selects (or drags text) outside the text area.
enum TAutoScrollDirection : uint8_t { asNone, asUp, asDown, asLeft, asRight };
struct TAutoScroll {
    TAutoScrollDirection Direction = asNone;
    // Distance beyond the edge div 3: the higher, the shorter the delay between steps.
    int Level = 0;
    bool operator==(const TAutoScroll&) const = default;
};
// The direction for a mouse at (x, y) in client pixels of a width x height text area.
TAutoScroll AutoScrollFor(int x, int y, int width, int height, bool draggingText);
// Milliseconds between two steps of a level; 0 = none.
int AutoScrollDelay(int level);

} // namespace zandor
