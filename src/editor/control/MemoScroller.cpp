#include "editor/control/MemoScroller.h"

#include "editor/control/MemoView.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <thread>

namespace zandor {

namespace {

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// A keyboard or scroll-bar scroll this soon after the last one ended is shown in one step.
constexpr int64_t kKeyboardScrollPause = 200;

} // namespace

TMemoScroller::TMemoScroller(TMemoView& view) : FView(view), FAutoTimer(new QTimer(&view)) {
    QObject::connect(FAutoTimer, &QTimer::timeout, &view, [this] { AutoScrollStep(); });
}

TMemoScroller::~TMemoScroller() {
    delete FAutoTimer;
}

// ---- ScrollTo and its animation --------------------------------------------------------------------

void TMemoScroller::ScrollTo(int top, int left, int time) {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    TMemoSelection& sel = core.Selection();
    const int oldTop = core.TopOrigin();
    const int oldLeft = core.LeftOrigin();
    const int dx = oldLeft - left;
    const int dy = oldTop - top;
    if (dx != 0) {
        // The remembered x is kept in text pixels: it moves with the view.
        if (sel.RememberedX() != TMemoSelection::kNoX)
            sel.SetRememberedX(sel.RememberedX() + dx);
        core.SetLeftOrigin(left);
    }
    if (dy != 0) {
        core.SetTopOrigin(top);
        const int32_t line = std::max(0, top / core.LinePixels());
        v.FormatUpToLine(line);
        v.FTopNav->SetDisplayLine(line);
    }
    if (!v.FWindowCreated || (dx == 0 && dy == 0))
        return;
    if (dx != 0)
        v.horizontalScrollBar()->setValue(left / FHorzUnit);
    if (dy != 0)
        v.verticalScrollBar()->setValue(top / FVertUnit);

    const bool soonAfterKeys = FromKeyboard() && FClock() - FKeyboardScrollEnd <= kKeyboardScrollPause;
    if (time == 0 || core.Editor().UpdateLevel() > 0 || soonAfterKeys)
        v.viewport()->update();
    else
        Animate(oldTop, oldLeft, top, left, time);
    if (FromKeyboard())
        FKeyboardScrollEnd = FClock();

    const auto alive = v.AliveToken();
    v.UpdateCaret();
    if (*alive)
        v.ViewScrolled(dx, dy);
    if (*alive)
        v.EventSinks().Notify(&core,
                              (dx != 0 ? nc::LeftOriginChanged : 0) | (dy != 0 ? nc::TopOriginChanged : 0));
}

void TMemoScroller::Animate(int64_t fromTop, int64_t fromLeft, int top, int left, int time) {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    const int lh = std::max(1, core.LinePixels());
    int64_t last = FClock();
    TScrollAnimation animation(fromTop, fromLeft, top, left, time, last);
    core.SetTopOrigin(ClampToInt(fromTop));
    core.SetLeftOrigin(ClampToInt(fromLeft));
    // The caret is placed where the scroll ends; it is not drawn on the way.
    v.SuspendCaret();
    while (!animation.Done()) {
        int64_t now;
        while ((now = FClock()) == last)
            std::this_thread::yield();
        last = now;
        animation.Step(now);
        core.SetTopOrigin(ClampToInt(animation.Top()));
        core.SetLeftOrigin(ClampToInt(animation.Left()));
        const int32_t line = std::max(0, core.TopOrigin() / lh);
        v.FormatUpToLine(line);
        v.FTopNav->SetDisplayLine(line);
        v.viewport()->repaint();
    }
}

// ---- lines and keeping the caret in view -------------------------------------------------------------

int32_t TMemoScroller::TopLine() {
    return FView.FTopNav->LineNb();
}

void TMemoScroller::SetTopLine(int32_t value) {
    TMemoView& v = FView;
    value = std::max(0, value);
    v.FormatUpToLine(value);
    v.FTopNav->SetDisplayLine(value);
    ScrollTo(ClampToInt(int64_t(v.FTopNav->DisplayLine()) * v.FCore->LinePixels()), v.FCore->LeftOrigin(),
             v.ScrollTime());
}

void TMemoScroller::ScrollInView() {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    if (core.Editor().UpdateLevel() > 0 || !v.FWindowCreated)
        return;
    TArtNavigator& caret = core.Selection().Caret();
    // With the lines above it laid out too, the caret stays where this puts it when the window is
    // painted, however far ahead of the background layout it is.
    v.FormatUpToPar(caret.ParNb(), core.WindowLineCount() + 1);
    const int x = core.Editor().CaretX();
    const TScrollGeometry::TOrigins to = v.Geometry().InViewTarget(x, caret.DisplayLine());
    ScrollTo(ClampToInt(to.Top), ClampToInt(to.Left), v.ScrollTime());
}

// ---- scroll bars, messages and the wheel -----------------------------------------------------------------

void TMemoScroller::UpdateScrollBars() {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    const TScrollGeometry geometry = v.Geometry();
    const TBarRange vertical = geometry.VertBar();
    const TBarRange horizontal = geometry.HorzBar();
    FVertUnit = vertical.Unit;
    FHorzUnit = horizontal.Unit;
    if (horizontal.Max < horizontal.Page)
        core.SetLeftOrigin(0);
    QScrollBar* vb = v.verticalScrollBar();
    vb->setPageStep(vertical.Page);
    vb->setSingleStep(std::max(1, core.LinePixels() / vertical.Unit));
    vb->setRange(0, ClampToInt(vertical.LastPosition()));
    vb->setValue(core.TopOrigin() / vertical.Unit);
    QScrollBar* hb = v.horizontalScrollBar();
    hb->setPageStep(horizontal.Page);
    hb->setSingleStep(std::max(1, v.TextAreaWidth() / 20 + 1));
    hb->setRange(0, ClampToInt(horizontal.LastPosition()));
    hb->setValue(core.LeftOrigin() / horizontal.Unit);

    // The text area follows the client width; a new width lays the text out again where it wraps.
    const int width = std::max(1, v.TextAreaWidth());
    if (v.FWindowCreated && v.FLineBitmap.width() != width) {
        v.ComputeFontMetrics();
        if (core.Editor().UpdateLevel() == 0 && (core.WordWrap() || core.Alignment() != taLeftJustify)) {
            core.ScheduleFormatting();
            v.viewport()->update();
        }
    }
}

void TMemoScroller::ScrollMessage(Qt::Orientation orientation, TScrollCode code, int thumb) {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    if (core.Editor().UpdateLevel() > 0 || !v.FWindowCreated)
        return;
    TKeyboardScroll mark(*this);
    TMessageRecord message;
    message.Msg = orientation == Qt::Vertical ? wm::VSCROLL : wm::HSCROLL;
    message.WParam = static_cast<uint64_t>(code) | (static_cast<uint64_t>(thumb & 0xFFFF) << 16);
    v.DispatchMessage(message, [&] {
        // The end of a thumb drag and of a scroll carry no new place.
        if (code == sbThumbPosition || code == sbEndScroll)
            return true;
        if (orientation == Qt::Vertical &&
            (code == sbBottom ||
             (code == sbThumbTrack && thumb > 0 && thumb >= v.Geometry().VertBar().LastPosition()))) {
            // The end of the text is laid out first, so the bottom is where its last line is.
            v.FormatUpToPar(core.ParagraphCount() - 1, core.WindowLineCount() + 1);
            if (code == sbThumbTrack)
                thumb = static_cast<int>(v.Geometry().VertBar().LastPosition());
        }
        const TScrollGeometry geometry = v.Geometry();
        if (orientation == Qt::Vertical) {
            const int64_t top = geometry.VertTarget(code, thumb);
            v.FormatUpToLine(static_cast<int32_t>(top / core.LinePixels()));
            ScrollTo(ClampToInt(top), core.LeftOrigin(), v.ScrollTime());
        } else {
            ScrollTo(core.TopOrigin(), ClampToInt(geometry.HorzTarget(code, thumb)), 0);
        }
        return true;
    });
}

void TMemoScroller::Wheel(int delta) {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    if (delta == 0 || !v.FWindowCreated)
        return;
    const int lines = v.MouseWheelFactor() >= 0 ? v.MouseWheelFactor() : QApplication::wheelScrollLines();
    // Every full notch's worth moves one line; the rest waits for the next turn.
    FWheelRemainder += delta * lines;
    const int steps = FWheelRemainder / 120;
    FWheelRemainder -= steps * 120;
    if (steps == 0)
        return;
    const int64_t top = v.Geometry().WheelTarget(steps);
    v.FormatUpToLine(static_cast<int32_t>(top / core.LinePixels()));
    ScrollTo(ClampToInt(top), core.LeftOrigin(), 0);
}

// ---- auto-scroll
// -------------------------------------------------------------------------------------------

void TMemoScroller::AutoScroll(QPoint mouse, bool draggingText) {
    FAutoMouse = mouse;
    const TAutoScroll next =
        AutoScrollFor(mouse.x(), mouse.y(), FView.TextAreaWidth(), FView.ClientHeight(), draggingText);
    if (next.Direction == asNone) {
        StopAutoScroll();
        return;
    }
    const bool newDirection = next.Direction != FAuto.Direction;
    FAuto = next;
    FAutoTimer->setInterval(AutoScrollDelay(next.Level));
    if (!newDirection)
        return;
    // A new direction takes its first step at once, the following ones after the level's delay.
    FAutoTimer->stop();
    AutoScrollStep();
    if (FAuto.Direction != asNone)
        FAutoTimer->start();
}

void TMemoScroller::StopAutoScroll() {
    FAuto = {};
    FAutoTimer->stop();
}

void TMemoScroller::AutoScrollStep() {
    TMemoView& v = FView;
    TArtMemoCore& core = *v.FCore;
    const TAutoScroll step = FAuto;
    const int width = v.TextAreaWidth();
    const int height = v.ClientHeight();
    QPoint at = FAutoMouse;
    const auto alive = v.AliveToken();
    switch (step.Direction) {
    case asUp:
        ScrollMessage(Qt::Vertical, sbLineUp, 0);
        at.setY(-3 * step.Level);
        break;
    case asDown:
        ScrollMessage(Qt::Vertical, sbLineDown, 0);
        at.setY(height + 3 * step.Level);
        break;
    case asLeft:
        if (core.LeftOrigin() > 0)
            ScrollMessage(Qt::Horizontal, sbLineUp, 0);
        at.setX(-3 * step.Level);
        break;
    case asRight:
        if (core.LeftOrigin() < core.WidestWidth() - width)
            ScrollMessage(Qt::Horizontal, sbLineDown, 0);
        at.setX(width + 3 * step.Level);
        break;
    case asNone:
        return;
    }
    if (!*alive)
        return;
    // The selection follows: the control sees the mouse at the edge it scrolls toward.
    FInAutoScrollMove = true;
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(v.viewport()->mapToGlobal(at)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(v.viewport(), &move);
    if (*alive)
        FInAutoScrollMove = false;
}

} // namespace zandor
