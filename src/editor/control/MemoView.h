// The window side of the editor control: the core it shows, the path every event takes past the
// message hooks, the window's life (line bitmap, metrics, the format thread) and the view onto the
// text (origins and scrolling through its scroller, repaint of display lines). The editing control
// builds on it.
#pragma once

#include "editor/control/MemoMessages.h"
#include "editor/control/MemoScroller.h"
#include "editor/control/MemoSinks.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoOptions.h"
#include "platform/Canvas.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>

namespace zandor {

class TArtNavigator;
class TScrollGeometry;
class TamFormatThread;

using platform::TPenValue;

// Owns the core (and through its registry the top-of-window navigator), the scroller, the format
// thread and the line bitmap. Refers to the sinks in its two lists, which it does not own.
class TMemoView : public QAbstractScrollArea, public TFormatHost {
    Q_OBJECT
public:
    explicit TMemoView(QWidget* parent = nullptr);
    ~TMemoView() override;

    // Deletes the control now, or, while it is inside one of its own event handlers, as soon as
    // that handler has returned (the control is hidden and detached from its thread at once).
    void Release();

    // The window exists (it is created when first shown, or by HandleNeeded): fonts are measured,
    // the text is laid out, the format thread runs.
    bool HandleAllocated() const { return FWindowCreated; }
    void HandleNeeded();

    TArtMemoCore& Core() { return *FCore; }
    const TArtMemoCore& Core() const { return *FCore; }

    // ---- notification sinks
    TSinkList& EventSinks() { return FEventSinks; }
    TSinkList& MessageHooks() { return FMessageHooks; }
    // The message being handled; hooks read it and may set its Result (127 suppresses it).
    TMessageRecord& CurrentMessage() { return FMessage; }
    // Runs `handle` as the control's processing of the message: hooks with code 32 before (a
    // result of 127 skips the processing), hooks with 64 after unless the control was destroyed.
    bool DispatchMessage(TMessageRecord message, const std::function<bool()>& handle);

    // ---- window appearance
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    const TPenValue& SpecUnderline() const { return FSpecUnderline; }
    void SetSpecUnderline(const TPenValue& value);
    int ScrollTime() const { return FScrollTime; }
    void SetScrollTime(int value) { FScrollTime = value; }
    int MouseWheelFactor() const { return FMouseWheelFactor; }
    void SetMouseWheelFactor(int value) { FMouseWheelFactor = value; }
    // Sees each turn of the wheel first (its vertical delta, 120 a notch, and the modifiers); true
    // when it took the turn, which then does not scroll.
    std::function<bool(int delta, Qt::KeyboardModifiers modifiers)> OnWheel;
    // BeginUpdate nesting: nothing is painted, laid out or placed while it is above 0.
    int UpdateLevel() const;

    // ---- the view
    int TopOrigin() const { return FCore->TopOrigin(); }
    // Scrolls there with the control's ScrollTime.
    void SetTopOrigin(int value);
    int LeftOrigin() const { return FCore->LeftOrigin(); }
    void SetLeftOrigin(int value);
    // The top-of-window line: paragraph index while WordWrap is off, display line while on.
    int32_t TopLine() { return FScroller->TopLine(); }
    void SetTopLine(int32_t value) { FScroller->SetTopLine(value); }
    TArtNavigator& TopNavigator() { return *FTopNav; }
    // Sets both origins (pixels), animated over time ms (see TMemoScroller).
    void ScrollTo(int top, int left, int time) { FScroller->ScrollTo(top, left, time); }
    TMemoScroller& Scroller() { return *FScroller; }
    // Repaints display lines min(first, last) .. max(first, last) where they are on screen.
    void InvalidateLines(int32_t first, int32_t last);
    // Recomputes the caret's place and raises the caret notifications (nothing inside a bracket).
    virtual void UpdateCaret(bool recreate = false) = 0;
    // The caret is not drawn until the next UpdateCaret (while the view is animated).
    virtual void SuspendCaret() {}

    // ---- what the painter reads
    int TextAreaWidth() const { return FCore->ClientWidth(); }
    int ClientHeight() const { return FCore->ClientHeight(); }
    int LinePixels() const { return FCore->LinePixels(); }
    int Baseline() const { return FCore->Baseline(); }
    int AvgCharWidth() const { return FCore->AvgCharWidth(); }
    // Lines of the window, the partly visible last one included.
    int VisibleLineCount() const { return FCore->WindowLineCount(); }
    int UnderlineY() const { return FCore->UnderlineY(); }
    int SpecUnderlineAmplitude() const { return FSpecAmplitude; }
    int SpecUnderlineY() const { return FSpecUnderlineY; }
    int TextOutputChunk() const { return FCore->TextOutputChunk(); }
    // One display line high, as wide as the text area; null before the window exists.
    QImage* LineBitmap() { return FWindowCreated ? &FLineBitmap : nullptr; }
    // A render canvas set for printing and its width.
    platform::TCanvas* RenderCanvas() const { return FRenderCanvas; }
    int RenderWidth() const { return FRenderWidth; }

    // ---- what the formatting engine asks of the control
    bool InUpdate() const override { return UpdateLevel() > 0; }
    bool HasWindow() const override { return FWindowCreated; }
    void WakeFormatThread() override;
    void AfterFormat(int fromPar, int toPar, int visibleLineDelta) override;
    void AfterEditFormat(int firstLine, int lastChangedLine, int lineDelta) override;

    // The running format thread, if any.
    TamFormatThread* FormatThread() const { return FFormatThread.get(); }

    // Stays readable after the control is gone: a handler that may destroy the control (an
    // application event) is followed by a look at it before anything else touches the control.
    std::shared_ptr<const bool> AliveToken() const { return FAlive; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

    // The control's own processing of an event that came to it (not to the text area).
    virtual bool HandleEvent(QEvent* event);
    // After the window came into being / the view moved by (dx, dy) pixels.
    virtual void WindowCreated() {}
    virtual void ViewScrolled(int dx, int dy) = 0;
    // Whether scroll bars hide when the text fits, and whether the view stops on whole lines.
    virtual bool AutoScrollBars() const = 0;
    virtual bool NoFineScroll() const = 0;

    void StartFormatThread();
    void StopFormatThread();
    void ComputeFontMetrics();
    // Lays out again when asked, then makes sure the view shows text down to its end.
    void LayoutChanged(bool relayout);
    void RefreshView();
    void UpdateScrollBars() { FScroller->UpdateScrollBars(); }
    void ApplyScrollBarPolicy();
    void ResetView();
    void Repaint() { viewport()->update(); }
    // Lays out paragraph par (and enough paragraphs before it for linesAbove display lines), or
    // the paragraph that holds display line `line`; far ahead of the pending front only these.
    void FormatUpToPar(int32_t par, int32_t linesAbove = 0);
    void FormatUpToLine(int32_t line);
    // Lays out from the front until display line `line` is among the laid-out lines: for callers
    // that name a line by its exact number, which lines counted ahead of the layout cannot give.
    void FormatFrontToLine(int32_t line);
    TScrollGeometry Geometry() const;
    void SetRenderTarget(platform::TCanvas* canvas, int width,
                         std::unique_ptr<platform::TextMeasurer> measurer);

    std::unique_ptr<TArtMemoCore> FCore;
    TArtNavigator* FTopNav = nullptr; // owned by the core's registry
    int FMessageNesting = 0;
    bool FWindowCreated = false;

private:
    friend class TMemoScroller;
    bool Dispatch(QEvent* event, bool clientEvent, const std::function<bool()>& handle);
    void CreateWindowState();
    void DestroyWindowState();
    void OnScrollAction(Qt::Orientation orientation, int action);

    std::unique_ptr<TMemoScroller> FScroller;
    std::unique_ptr<TamFormatThread> FFormatThread;
    TSinkList FEventSinks;
    TSinkList FMessageHooks;
    TMessageRecord FMessage;
    // Cleared by the destructor; a handler that outlives the control checks its copy.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssVertical;
    TPenValue FSpecUnderline;
    int FScrollTime = 300;
    int FMouseWheelFactor = -1;
    bool FInResize = false;
    QImage FLineBitmap;
    int FSpecAmplitude = 1;
    int FSpecUnderlineY = 0;
    platform::TCanvas* FRenderCanvas = nullptr;
    int FRenderWidth = 0;
    std::unique_ptr<platform::TextMeasurer> FRenderMeasurer;
};

} // namespace zandor
