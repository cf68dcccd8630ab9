// Scrolling of an editor control: ScrollTo with its animation and the rule that keeps keyboard
// scrolling immediate, the scroll bars with their units, the scroll messages, the wheel with its
// remainder, keeping the caret in view and auto-scroll while the mouse selects outside the text.
// The numbers come from TScrollGeometry; this class applies them to the window.
#pragma once

#include "editor/control/MemoMessages.h"
#include "editor/control/ScrollGeometry.h"
#include "platform/TickClock.h"

#include <QPoint>

#include <cstdint>

class QTimer;

namespace zandor {

class TMemoView;

// Refers to the view it scrolls (which owns it); owns the auto-scroll timer through Qt.
class TMemoScroller {
public:
    explicit TMemoScroller(TMemoView& view);
    ~TMemoScroller();
    TMemoScroller(const TMemoScroller&) = delete;
    TMemoScroller& operator=(const TMemoScroller&) = delete;

    // Sets both origins (pixels). Animated over `time` ms (the control's ScrollTime), except with
    // time 0, inside an update bracket, or for a keyboard or scroll-bar scroll that follows the
    // last one within 200 ms. Afterwards the caret is placed and OnHScroll/OnVScroll and the
    // event sinks (0x100, 0x80) are told.
    void ScrollTo(int top, int left, int time);
    // The top-of-window line: paragraph index while WordWrap is off, display line while on.
    int32_t TopLine();
    void SetTopLine(int32_t value);
    // Scrolls so that the caret (with its pending blanks) is visible; nothing inside a bracket or
    // before the window exists.
    void ScrollInView();

    // ---- scroll bars: positions are pixels div the unit, so that they stay below 32760
    void UpdateScrollBars();
    int VertUnit() const { return FVertUnit; }
    int HorzUnit() const { return FHorzUnit; }
    // A scroll message (a bar's action, or sent by auto-scroll); thumb in bar positions.
    void ScrollMessage(Qt::Orientation orientation, TScrollCode code, int thumb);
    // A wheel turn of delta (120 a notch, positive = up).
    void Wheel(int delta);

    // While one lives, scrolls come from the keyboard: one that follows the previous keyboard or
    // scroll-bar scroll within 200 ms is shown in one step. The key handlers hold one.
    class TKeyboardScroll {
    public:
        explicit TKeyboardScroll(TMemoScroller& scroller) : FScroller(scroller) { ++FScroller.FKeyboard; }
        ~TKeyboardScroll() { --FScroller.FKeyboard; }
        TKeyboardScroll(const TKeyboardScroll&) = delete;
        TKeyboardScroll& operator=(const TKeyboardScroll&) = delete;

    private:
        TMemoScroller& FScroller;
    };

    // ---- auto-scroll: the mouse handlers report where the mouse is while the left button selects
    // (or drags text); outside the text area the view scrolls toward it, faster the farther out,
    // and after each step the control gets a mouse move with the button held at the edge.
    void AutoScroll(QPoint mouse, bool draggingText);
    void StopAutoScroll();
    TAutoScroll AutoScrollState() const { return FAuto; }
    // True while the mouse move that follows an auto-scroll step is handled: the mouse did not
    // really move, so the handler leaves the direction as it is.
    bool InAutoScrollMove() const { return FInAutoScrollMove; }

    // The millisecond tick animations are paced by (tests give it a clock of their own).
    void SetClock(platform::TTickSource clock) { FClock = std::move(clock); }

private:
    void Animate(int64_t fromTop, int64_t fromLeft, int top, int left, int time);
    void AutoScrollStep();
    bool FromKeyboard() const { return FKeyboard > 0; }

    TMemoView& FView;
    platform::TTickSource FClock = platform::TickCount;
    int FVertUnit = 1;
    int FHorzUnit = 1;
    int FWheelRemainder = 0;
    int FKeyboard = 0;
    // When the last keyboard or scroll-bar scroll ended.
    int64_t FKeyboardScrollEnd = INT64_MIN / 2;
    TAutoScroll FAuto;
    QPoint FAutoMouse;
    bool FInAutoScrollMove = false;
    QTimer* FAutoTimer = nullptr; // a child of the view, deleted with the scroller
};

} // namespace zandor
