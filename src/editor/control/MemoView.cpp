#include "editor/control/MemoView.h"

#include "editor/control/LinePainter.h"
#include "editor/control/ScrollGeometry.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FormatThread.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/QtTextMeasurer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

namespace zandor {

namespace {

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

TMemoView::TMemoView(QWidget* parent)
    : QAbstractScrollArea(parent), FCore(std::make_unique<TArtMemoCore>()),
      FScroller(std::make_unique<TMemoScroller>(*this)) {
    FSpecUnderline.Color = platform::clRed;
    FTopNav = FCore->Navigators().Adopt(std::make_unique<TArtNavigator>(FCore.get()));
    FCore->SetFormatHost(this);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Horizontal, action); });
    resize(100, 60);
    FCore->SetClientSize(viewport()->width(), viewport()->height());
}

TMemoView::~TMemoView() {
    *FAlive = false;
    DestroyWindowState();
    FCore->SetFormatHost(nullptr);
}

// ---- the message path --------------------------------------------------------------------------

bool TMemoView::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == kFormatStepEvent) {
        TMessageRecord message;
        message.Msg = wm::FORMATSTEP;
        return DispatchMessage(message, [this] {
            FCore->FormatStep();
            return true;
        });
    }
    if (type == QEvent::Show && !FWindowCreated)
        CreateWindowState();
    return Dispatch(event, false, [this, event] { return HandleEvent(event); });
}

bool TMemoView::HandleEvent(QEvent* event) {
    return QAbstractScrollArea::event(event);
}

void TMemoView::HandleNeeded() {
    if (!FWindowCreated)
        CreateWindowState();
}

int TMemoView::UpdateLevel() const {
    return FCore->Editor().UpdateLevel();
}

void TMemoView::CreateWindowState() {
    FWindowCreated = true;
    FCore->Selection().SetRememberedX(TMemoSelection::kNoX);
    FCore->SetClientSize(viewport()->width(), viewport()->height());
    ComputeFontMetrics();
    StartFormatThread();
    FCore->ScheduleFormatting();
    ResetView();
    WindowCreated();
}

void TMemoView::DestroyWindowState() {
    StopFormatThread();
    FLineBitmap = QImage();
    FWindowCreated = false;
}

void TMemoView::StartFormatThread() {
    if (FFormatThread || !FWindowCreated || FCore->UpdateMode() != umBackground)
        return;
    // Each wake-up reaches the control as an event, so that the hooks see it as its own message.
    FFormatThread = std::make_unique<TamFormatThread>([this] {
        QEvent step(kFormatStepEvent);
        QCoreApplication::sendEvent(this, &step);
    });
    if (FCore->BgNext() <= FCore->BgLast())
        FFormatThread->SetEvent();
}

void TMemoView::StopFormatThread() {
    if (!FFormatThread)
        return;
    // Detached at once: a step already queued for this control finds no thread and does nothing
    // harmful, and the worker ends by itself.
    FFormatThread->Stop(QCoreApplication::closingDown());
    FFormatThread.reset();
}

void TMemoView::WakeFormatThread() {
    if (FFormatThread)
        FFormatThread->SetEvent();
}

bool TMemoView::DispatchMessage(TMessageRecord message, const std::function<bool()>& handle) {
    // A handler may destroy the control; the token outlives it and tells us not to touch it.
    struct Nesting {
        TMemoView& View;
        std::shared_ptr<bool> Alive;
        explicit Nesting(TMemoView& view) : View(view), Alive(view.FAlive) { ++View.FMessageNesting; }
        ~Nesting() {
            if (*Alive)
                --View.FMessageNesting;
        }
    } nesting(*this);
    const std::shared_ptr<bool>& alive = nesting.Alive;
    bool suppressed = false;
    if (!FMessageHooks.Empty()) {
        FMessage = message;
        FMessageHooks.Notify(FCore.get(), nc::BeforeMessage);
        if (!*alive)
            return true;
        suppressed = FMessage.Result == kSuppressMessage;
    }
    bool handled = true;
    if (!suppressed) {
        FMessage = message;
        handled = handle();
        if (!*alive)
            return true;
    }
    if (!FMessageHooks.Empty()) {
        // Stored again: messages handled meanwhile may have overwritten it.
        const int64_t result = FMessage.Result;
        FMessage = message;
        FMessage.Result = result;
        FMessageHooks.Notify(FCore.get(), nc::AfterMessage);
    }
    return handled;
}

bool TMemoView::Dispatch(QEvent* event, bool clientEvent, const std::function<bool()>& handle) {
    TMessageRecord message;
    if (!MessageFromEvent(*event, clientEvent, message))
        return handle();
    return DispatchMessage(message, handle);
}

bool TMemoView::viewportEvent(QEvent* event) {
    return Dispatch(event, true, [this, event] { return QAbstractScrollArea::viewportEvent(event); });
}

void TMemoView::resizeEvent(QResizeEvent*) {
    const QSize size = viewport()->size();
    if (FInResize || (size.width() == FCore->ClientWidth() && size.height() == FCore->ClientHeight()))
        return;
    FInResize = true;
    const int64_t lh = FCore->LinePixels();
    const int64_t textHeight = int64_t(FCore->VisibleLineCount()) * lh;
    // A window that showed the end of the text keeps showing it without empty space below.
    const bool notBeyondEnd = FCore->TopOrigin() < textHeight - FCore->ClientHeight() + 5;
    FCore->SetClientSize(size.width(), size.height());
    if (FWindowCreated) {
        UpdateScrollBars();
        const int64_t limit = textHeight - size.height() + 3;
        if (notBeyondEnd && FCore->TopOrigin() > limit)
            ScrollTo(ClampToInt(std::max<int64_t>(limit, 0)), FCore->LeftOrigin(), 0);
    }
    FInResize = false;
}

void TMemoView::scrollContentsBy(int, int) {
    // The origins move through ScrollTo, which also repaints; the bars only mirror them.
}

void TMemoView::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (OnWheel && OnWheel(event->angleDelta().y(), event->modifiers()))
        return;
    FScroller->Wheel(event->angleDelta().y());
}

void TMemoView::Release() {
    if (FMessageNesting == 0) {
        delete this;
        return;
    }
    // Deleting now would pull the object from under the handler that is still running on it.
    hide();
    StopFormatThread();
    deleteLater();
}

void TMemoView::ComputeFontMetrics() {
    FCore->UpdateFontMetrics();
    const int lh = FCore->LinePixels();
    const TWavyUnderline wavy = WavyUnderlineFor(FSpecUnderline.Width, FCore->UnderlineY(), lh);
    FSpecAmplitude = wavy.Amplitude;
    FSpecUnderlineY = wavy.Y;
    if (FWindowCreated) {
        const int width = std::max(1, TextAreaWidth());
        if (FLineBitmap.width() != width || FLineBitmap.height() != lh)
            FLineBitmap = QImage(width, lh, QImage::Format_RGB32);
    }
}

void TMemoView::LayoutChanged(bool relayout) {
    if (relayout)
        FCore->ScheduleFormatting();
    RefreshView();
}

void TMemoView::RefreshView() {
    if (!FWindowCreated)
        return;
    // Keep no empty screen below the text when the text got shorter.
    const int32_t lastTop = std::max(FCore->VisibleLineCount() - FCore->WindowLineCount() + 1, 0);
    if (TopLine() > lastTop)
        SetTopLine(lastTop);
    UpdateScrollBars();
    viewport()->update();
    UpdateCaret();
}

void TMemoView::SetBorderStyle(TBorderStyle value) {
    FBorderStyle = value;
    setFrameStyle(value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void TMemoView::SetScrollBars(TScrollStyle value) {
    const bool hadVertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    FScrollBars = value;
    ApplyScrollBarPolicy();
    UpdateScrollBars();
    const bool vertical = value == ssVertical || value == ssBoth;
    // The vertical bar takes room from the text area, which changes where lines wrap.
    if (vertical != hadVertical && FCore->WordWrap())
        LayoutChanged(true);
}

void TMemoView::ApplyScrollBarPolicy() {
    // Without automatic bars a present bar stays visible even when everything fits.
    const Qt::ScrollBarPolicy present = AutoScrollBars() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    const bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    setVerticalScrollBarPolicy(vertical ? present : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? present : Qt::ScrollBarAlwaysOff);
}

void TMemoView::ResetView() {
    FCore->SetTopOrigin(0);
    FCore->SetLeftOrigin(0);
    FTopNav->SetPos(0);
    if (!FWindowCreated)
        return;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TMemoView::SetSpecUnderline(const TPenValue& value) {
    FSpecUnderline = value;
    ComputeFontMetrics();
    viewport()->update();
}

void TMemoView::SetTopOrigin(int value) {
    ScrollTo(value, FCore->LeftOrigin(), FScrollTime);
}

void TMemoView::SetLeftOrigin(int value) {
    ScrollTo(FCore->TopOrigin(), value, FScrollTime);
}

void TMemoView::InvalidateLines(int32_t first, int32_t last) {
    if (!FWindowCreated)
        return;
    const int64_t lh = FCore->LinePixels();
    int64_t top = int64_t(std::min(first, last)) * lh - FCore->TopOrigin();
    int64_t bottom = (int64_t(std::max(first, last)) + 1) * lh - FCore->TopOrigin();
    const int height = FCore->ClientHeight();
    if (bottom <= 0 || top >= height)
        return;
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, height);
    viewport()->update(QRect(0, static_cast<int>(top), TextAreaWidth(), static_cast<int>(bottom - top)));
}

void TMemoView::OnScrollAction(Qt::Orientation orientation, int action) {
    TScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = sbLineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = sbLineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = sbPageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = sbPageDown;
        break;
    case QAbstractSlider::SliderMove:
        code = sbThumbTrack;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = sbTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = sbBottom;
        break;
    default:
        return;
    }
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    FScroller->ScrollMessage(orientation, code, bar->sliderPosition());
    // The bar shows where the text went, not where the slider's own step would have put it.
    bar->setSliderPosition(bar->value());
}

TScrollGeometry TMemoView::Geometry() const {
    return TScrollGeometry(*FCore, AutoScrollBars(), NoFineScroll());
}

void TMemoView::FormatUpToPar(int32_t par, int32_t linesAbove) {
    par = std::clamp(par, 0, FCore->ParagraphCount() - 1);
    // Each paragraph has at least one line, so this many paragraphs fill the lines above it.
    FCore->FormatForView(std::max(0, par - linesAbove), par);
}

void TMemoView::FormatFrontToLine(int32_t line) {
    // The front is pushed on until the laid-out part holds the line or everything is laid out.
    TParagraphsList& pars = FCore->Paragraphs();
    int32_t step = 16;
    while (FCore->BgNext() <= FCore->BgLast() && FCore->BgNext() < pars.Count()) {
        const int32_t front = FCore->BgNext();
        if (front > 0) {
            const ParInfo& last = pars.Par(front - 1);
            if (last.FirstLine + LineCountOf(last) > line)
                break;
        }
        FCore->FormatUpTo(std::min(pars.Count() - 1, front + step));
        if (FCore->BgNext() == front)
            break;
        step = std::min(step * 2, 4096);
    }
}

void TMemoView::FormatUpToLine(int32_t line) {
    // Every paragraph has lines, laid out or counted so far (one each after a load), so the line
    // is found at once; the paragraph found is laid out, and as that changes the count the line
    // may fall into another paragraph, which is laid out in turn.
    TParagraphsList& pars = FCore->Paragraphs();
    TArtNavigator probe;
    probe.SetMemo(FCore.get());
    for (int pass = 0; pass < 64; ++pass) {
        probe.SetDisplayLine(std::clamp(line, 0, std::max(0, pars.VisibleLineCount - 1)));
        const int32_t par = probe.ParNb();
        if (pars.Par(par).Flags & pfLinesValid)
            break;
        FCore->FormatForView(par, par);
        if (!(pars.Par(par).Flags & pfLinesValid))
            break; // nothing to lay out with (no window yet)
    }
}

void TMemoView::AfterFormat(int fromPar, int toPar, int) {
    if (!FWindowCreated)
        return;
    // The same text stays on top: the top navigator's line may have moved, when lines above it
    // were laid out (the view was placed by their count so far).
    const int64_t lh = FCore->LinePixels();
    const int64_t top = int64_t(FTopNav->DisplayLine()) * lh + FCore->TopOrigin() % lh;
    if (top != FCore->TopOrigin())
        FCore->SetTopOrigin(ClampToInt(top));
    UpdateScrollBars();
    // Only paragraphs on screen change the picture; those above it moved the view with them.
    TParagraphsList& pars = FCore->Paragraphs();
    const int32_t count = pars.Count();
    if (fromPar < count) {
        const int32_t firstScreenLine = static_cast<int32_t>(FCore->TopOrigin() / lh);
        const int32_t lastScreenLine =
            static_cast<int32_t>((FCore->TopOrigin() + FCore->ClientHeight()) / lh);
        const ParInfo& last = pars.Par(std::clamp(toPar, fromPar, count - 1));
        const int32_t endLine = last.FirstLine + LineCountOf(last);
        if (pars.Par(fromPar).FirstLine <= lastScreenLine && endLine >= firstScreenLine)
            viewport()->update();
    }
    UpdateCaret();
}

void TMemoView::AfterEditFormat(int firstLine, int lastChangedLine, int lineDelta) {
    if (!FWindowCreated)
        return;
    // A changed line count moves everything below; those lines are drawn again.
    if (lineDelta != 0)
        InvalidateLines(firstLine,
                        std::max(lastChangedLine, FCore->VisibleLineCount() + 1 + std::abs(lineDelta)));
    else
        InvalidateLines(firstLine, lastChangedLine);
    UpdateScrollBars();
}

void TMemoView::SetRenderTarget(platform::TCanvas* canvas, int width,
                                std::unique_ptr<platform::TextMeasurer> measurer) {
    FRenderCanvas = canvas;
    FRenderWidth = canvas ? width : 0;
    if (canvas) {
        FRenderMeasurer = std::move(measurer);
        FCore->SetForeignMeasure(FRenderMeasurer.get(), width);
    } else {
        FCore->SetForeignMeasure(nullptr, 0);
        FRenderMeasurer.reset();
    }
    if (canvas || FWindowCreated) {
        ComputeFontMetrics();
        FCore->ScheduleFormatting();
    }
}

} // namespace zandor
