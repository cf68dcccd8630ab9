// The editor control: a scrolling text area over the non-visual core. It owns the core (text,
// layout, highlighting, navigators), turns Qt events into calls on it, keeps the caret and the
// selection, tells add-ons about changes through its notification sinks and paces background
// layout with its format thread.
#pragma once

#include "editor/control/EditActions.h"
#include "editor/control/MemoMessages.h"
#include "editor/control/MemoOptions.h"
#include "editor/control/MemoSinks.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphStreams.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QMenu;

namespace zandor {

class TArtHighlighter;
class TArtNavigator;
class TByteStream;
class TKeywordList;
class TStartStopKeyList;
class TamFormatThread;

namespace platform {
class QtTextMeasurer;
}

using platform::TColor;
using platform::TPenValue;

// Owns its core, its navigators (through the core's registry), the format thread, the line bitmap
// and the measurer of its fonts. Refers to the sinks in its two lists, the attached highlighter and
// a render canvas while one is set; none of those is owned.
class TArtMemo : public QAbstractScrollArea, public TFormatHost, public IamEditActions {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TArtMemo* sender)>;
    // The handler may point txt at another zero-terminated text that outlives the call.
    using TamBeforeChangeEvent = std::function<void(TArtMemo* sender, const char*& txt)>;
    using TParseEvent = std::function<void(TArtMemo* sender, int32_t startOffset, int32_t stopOffset)>;
    using TContextEvent =
        std::function<void(TArtMemo* sender, int32_t context, int32_t startOffset, int32_t stopOffset)>;
    using TMouseEvent = std::function<void(TArtMemo* sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TArtMemo* sender, Qt::KeyboardModifiers shift, int x, int y)>;
    // key: the Qt key; setting it to 0 cancels the control's own handling.
    using TKeyEvent = std::function<void(TArtMemo* sender, int& key, Qt::KeyboardModifiers shift)>;
    // key: the typed byte; setting it to 0 swallows it.
    using TKeyPressEvent = std::function<void(TArtMemo* sender, char& key)>;
    using TPopupEvent = std::function<void(QMenu* sender)>;

    explicit TArtMemo(QWidget* parent = nullptr);
    ~TArtMemo() override;

    // Deletes the control now, or, while it is inside one of its own event handlers, as soon as
    // that handler has returned (the control is hidden and detached from its thread at once).
    void Release();

    // The window exists (it is created when first shown, or by HandleNeeded): fonts are measured,
    // the text is laid out, the format thread runs.
    bool HandleAllocated() const { return FWindowCreated; }
    void HandleNeeded();

    // Another control's core, for add-ons that were told about it by a notification.
    static TArtMemo* FromCore(const TArtMemoCore* core);
    static int InstanceCount();

    TArtMemoCore& Core() { return *FCore; }
    const TArtMemoCore& Core() const { return *FCore; }

    // ---- the control's own virtual operations
    // Text changed: sinks (code 1), the text-changed message when hooks listen, then OnChange.
    virtual void Change();
    // The font a run of style `style` is drawn in: AltFont for bit 5, else Font; bits 0-3 replace
    // its style.
    virtual void SetFontFromStyle(platform::FontValue& font, uint8_t style) const;
    // Replaces the selection by a zero-terminated text (null = empty).
    virtual void SetSelTextBuf(const char* text);
    // Replaces the whole text by the stream's bytes (flag passed to the reader unchanged).
    virtual void LoadFromStream(TByteStream& stream, int flag = 0);
    virtual void SaveToStream(TByteStream& stream, int flag = 0);

    // ---- layout and appearance
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool WordWrap() const;
    void SetWordWrap(bool value);
    int ColumnWrap() const;
    void SetColumnWrap(int value);
    const std::string& WordWrapChars() const;
    void SetWordWrapChars(std::string value);
    bool Justified() const;
    void SetJustified(bool value);
    int LeftMargin() const;
    void SetLeftMargin(int value);
    int RightMargin() const;
    void SetRightMargin(int value);
    int TabStops() const;
    void SetTabStops(int value);
    // <= 0 automatic; reads 0 while automatic.
    int LineHeight() const;
    void SetLineHeight(int value);
    int CaretWidth() const { return FCaretWidth; }
    void SetCaretWidth(int value);
    const platform::FontValue& Font() const { return FFont; }
    void SetFont(const platform::FontValue& value);
    const platform::FontValue& AltFont() const { return FAltFont; }
    void SetAltFont(const platform::FontValue& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const QImage& BackgroundBmp() const { return FBackgroundBmp; }
    void SetBackgroundBmp(const QImage& value);
    const TPenValue& EndOfTextMark() const { return FEndOfTextMark; }
    void SetEndOfTextMark(const TPenValue& value);
    const TPenValue& RightLinePen() const { return FRightLinePen; }
    void SetRightLinePen(const TPenValue& value);
    const TPenValue& SpecUnderline() const { return FSpecUnderline; }
    void SetSpecUnderline(const TPenValue& value);
    int RightLinePos() const { return FRightLinePos; }
    void SetRightLinePos(int value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor HighlightBackgnd() const { return FHighlightBackgnd; }
    void SetHighlightBackgnd(TColor value);
    TColor SelBackColor() const { return FSelBackColor; }
    void SetSelBackColor(TColor value);
    TColor SelTextColor() const { return FSelTextColor; }
    void SetSelTextColor(TColor value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool ShowEndParSelected() const { return FShowEndParSelected; }
    void SetShowEndParSelected(bool value);
    TamNonPrintChars ShowNonPrintChars() const { return FShowNonPrintChars; }
    void SetShowNonPrintChars(TamNonPrintChars value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);

    // ---- editing and behaviour
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool DisplayOnly() const { return FDisplayOnly; }
    void SetDisplayOnly(bool value);
    bool Overwrite() const { return FOverwrite; }
    void SetOverwrite(bool value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool EnableHotKeys() const { return FEnableHotKeys; }
    void SetEnableHotKeys(bool value) { FEnableHotKeys = value; }
    bool PassOverCodes() const { return FPassOverCodes; }
    void SetPassOverCodes(bool value) { FPassOverCodes = value; }
    TArtMemoOptions Options() const { return FOptions; }
    void SetOptions(TArtMemoOptions value);
    // The separator bytes in ascending order.
    std::string Separators() const;
    void SetSeparators(std::string_view value);
    int UndoMaxLevel() const { return FUndoMaxLevel; }
    void SetUndoMaxLevel(int value) { FUndoMaxLevel = value; }
    int UndoMaxSpace() const { return FUndoMaxSpace; }
    void SetUndoMaxSpace(int value) { FUndoMaxSpace = value; }
    int ScrollTime() const { return FScrollTime; }
    void SetScrollTime(int value) { FScrollTime = value; }
    int MouseWheelFactor() const { return FMouseWheelFactor; }
    void SetMouseWheelFactor(int value) { FMouseWheelFactor = value; }
    TArtLineBreak LineBreak() const { return FLineBreak; }
    void SetLineBreak(TArtLineBreak value) { FLineBreak = value; }
    char NullReplacement() const { return FNullReplacement; }
    void SetNullReplacement(char value) { FNullReplacement = value; }
    bool StaticFormat() const;
    void SetStaticFormat(bool value);
    TUpdateMode UpdateMode() const;
    void SetUpdateMode(TUpdateMode value);
    uint32_t ProgressInterval() const;
    void SetProgressInterval(uint32_t value);

    // ---- highlighting
    TArtHighlighter* Highlighter() const;
    void SetHighlighter(TArtHighlighter* value);
    TKeywordList& Keywords();
    TStartStopKeyList& StartStopKeys();
    bool ApplyKeyWords() const;
    void SetApplyKeyWords(bool value);
    bool ApplyStartStopKeys() const;
    void SetApplyStartStopKeys(bool value);
    TamUpperCase UpperCaseType() const;
    void SetUpperCaseType(TamUpperCase value);

    // ---- events (skipped when empty)
    TNotifyEvent OnChange;
    TNotifyEvent OnSelMove;
    TamBeforeChangeEvent OnBeforeChange;
    TNotifyEvent OnStyleChange;
    TNotifyEvent OnHScroll;
    TNotifyEvent OnVScroll;
    TNotifyEvent OnProgress;
    TParseEvent OnParse;
    TContextEvent OnContext;
    TMouseEvent OnAfterMouseDown;
    TPopupEvent OnInternalPopup;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // The framework's own events of every control.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // ---- notification sinks
    TSinkList& EventSinks() { return FEventSinks; }
    TSinkList& MessageHooks() { return FMessageHooks; }
    // The message being handled; hooks read it and may set its Result (127 suppresses it).
    TMessageRecord& CurrentMessage() { return FMessage; }

    // ---- selection and caret (positions count every paragraph break as two characters)
    int32_t SelStart() const;
    void SetSelStart(int32_t value);
    int32_t SelLength() const { return FSelLength; }
    void SetSelLength(int32_t value);
    std::string SelText() const;
    void SetSelText(std::string_view value);
    // Copies min(|SelLength|, size - 1) characters and a terminating zero; returns the count.
    int32_t GetSelTextBuf(char* buffer, int32_t size) const;
    void SetTextBuf(const char* text);
    // Paragraph index while WordWrap is off, display line while it is on.
    int32_t SelLine();
    void SetSelLine(int32_t value);
    int32_t SelCol();
    void SetSelCol(int32_t value);
    int32_t SelPar();
    void SetSelPar(int32_t value);
    void SelectAll() override;
    void ClearSelection() override;
    bool BlockMode() const { return FBlockMode; }
    const std::string& PendingBlanks() const { return FPendingBlanks; }
    // The navigator the caret is: one of the two selection ends.
    TArtNavigator& Caret();
    TArtNavigator& SelStartNavigator() { return *FSelStartNav; }
    TArtNavigator& SelEndNavigator() { return *FSelEndNav; }
    TArtNavigator& TopNavigator() { return *FTopNav; }

    // ---- the text
    int32_t CharCount() const;
    int32_t LineCount() const;
    int32_t ParagraphCount() const;
    // Empty beyond the last line.
    std::string GetDisplayLine(int32_t index);
    std::string GetParagraph(int32_t index) const;
    void SetParagraph(int32_t index, std::string_view text);
    int32_t ParagraphStart(int32_t index) const;
    uint8_t CharAt(int32_t pos);
    // [start, stop) with both ends clamped to the text.
    std::string GetTextPart(int32_t start, int32_t stop);
    std::string Text();
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int UpdateLevel() const { return FUpdateLevel; }
    bool FindTxt(std::string_view text, bool forward, bool matchCase, bool wholeWord, bool fromBoundary);
    void ReApplyKeywords();

    // ---- commands whose behaviour is built with the editing layers (clipboard, undo, style codes)
    bool CanCut() override;
    bool CanCopy() override;
    bool CanPaste() override;
    bool CanSelectAll() override;
    bool CanDelete() override;
    bool CanUndo() override;
    bool CanRedo() override;
    void CutToClipboard() override;
    void CopyToClipboard() override;
    void PasteFromClipboard() override;
    void Undo() override;
    void Redo() override;
    void ClearUndo();

    // ---- view
    int TopOrigin() const;
    void SetTopOrigin(int value);
    int LeftOrigin() const;
    void SetLeftOrigin(int value);
    int32_t TopLine();
    void SetTopLine(int32_t value);
    void ScrollInView() override;
    // Sets both origins (pixels). Scrolls in one step; `time` is the animation the caller asks for.
    void ScrollTo(int top, int left, int time);
    // Repaints display lines min(first, last) .. max(first, last) where they are on screen.
    void InvalidateLines(int32_t first, int32_t last);
    // Recomputes the caret's place and raises the caret notifications (nothing inside a bracket).
    void UpdateCaret(bool recreate = false);

    // ---- what the painter reads
    int TextAreaWidth() const;
    int ClientHeight() const;
    int LinePixels() const;
    int Baseline() const;
    int AvgCharWidth() const;
    int VisibleLineCount() const;
    int UnderlineY() const { return FCore->UnderlineY(); }
    int SpecUnderlineAmplitude() const { return FSpecAmplitude; }
    int SpecUnderlineY() const { return FSpecUnderlineY; }
    int TextOutputChunk() const;
    platform::QtTextMeasurer& Measurer() { return *FMeasurer; }
    // One display line high, as wide as the text area; null before the window exists.
    QImage* LineBitmap() { return FWindowCreated ? &FLineBitmap : nullptr; }
    // The caret as it stands on screen (client pixels); empty while it is not shown.
    QRect CaretRect() const { return FCaretShown ? FCaretRect : QRect(); }
    bool Focused() const { return hasFocus(); }
    // A render canvas set for printing, its width, and whether painting is held back.
    platform::TCanvas* RenderCanvas() const { return FRenderCanvas; }
    int RenderWidth() const { return FRenderWidth; }
    // Lays out and paints into a foreign canvas from now on (null: back to the screen). The
    // measurer measures in the canvas's fonts; null measures with the control's own fonts.
    void SetRenderCanvas(platform::TCanvas* canvas, int width,
                         std::unique_ptr<platform::TextMeasurer> measurer = nullptr);

    // ---- what the formatting engine asks of the control
    bool InUpdate() const override { return FUpdateLevel > 0; }
    bool HasWindow() const override { return FWindowCreated; }
    void WakeFormatThread() override;
    void AfterFormat(int fromPar, int toPar, int visibleLineDelta) override;
    void AfterEditFormat(int firstLine, int lastChangedLine, int lineDelta) override;
    void Progress() override;
    bool HasProgressHandler() const override { return static_cast<bool>(OnProgress); }
    void Changed() override { Change(); }

    // The running format thread, if any.
    TamFormatThread* FormatThread() const { return FFormatThread; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class TMessageScope;

    // The one path every described message takes: hooks before (a 127 result skips `handle`),
    // the handling, hooks after unless the control was destroyed meanwhile.
    bool Dispatch(QEvent* event, bool clientEvent, const std::function<bool()>& handle);
    bool DispatchMessage(TMessageRecord message, const std::function<bool()>& handle);
    void CreateWindowState();
    void DestroyWindowState();
    void StartFormatThread();
    void StopFormatThread();
    void RebuildMeasurer();
    void ComputeFontMetrics();
    void LayoutChanged(bool needsWrap);
    void RefreshView();
    void UpdateScrollBars();
    void ResetView();
    void RepaintSelection();
    void CollapseSelectionAt(int32_t pos);
    void SetSelectionEnds(int32_t caret, int32_t length);
    void ApplyCaretSize();
    void FireSelMove();
    void FormatUpToPar(int32_t par);
    void OnScrollAction(Qt::Orientation orientation, int action);
    void ReloadThroughStream();
    uint8_t StyleAtCaret();

    std::unique_ptr<TArtMemoCore> FCore;
    platform::QtTextMeasurer* FMeasurer = nullptr; // owned by the core
    TArtNavigator* FSelStartNav = nullptr;         // these navigators are owned by the core's registry
    TArtNavigator* FSelEndNav = nullptr;
    TArtNavigator* FTopNav = nullptr;
    TArtNavigator* FMouseNav = nullptr;
    TArtNavigator* FFreeCaret = nullptr;
    TArtNavigator* FScratch[4] = {};
    TamFormatThread* FFormatThread = nullptr; // frees itself once stopped

    platform::FontValue FFont;
    platform::FontValue FAltFont;
    TColor FColor = platform::clWindow;
    TBorderStyle FBorderStyle = bsSingle;
    int FCaretWidth = 1;
    QImage FBackgroundBmp;
    TPenValue FEndOfTextMark;
    TPenValue FRightLinePen;
    TPenValue FSpecUnderline;
    int FRightLinePos = 0;
    TColor FHighlightColor = platform::clRed;
    TColor FHighlightBackgnd = platform::clWindow;
    TColor FSelBackColor = platform::clHighlight;
    TColor FSelTextColor = platform::clHighlightText;
    bool FHideSelection = true;
    bool FShowEndParSelected = true;
    TamNonPrintChars FShowNonPrintChars = 0;
    TScrollStyle FScrollBars = ssVertical;
    bool FReadOnly = false;
    bool FDisplayOnly = false;
    bool FOverwrite = false;
    bool FWantTabs = true;
    bool FEnableHotKeys = true;
    bool FPassOverCodes = true;
    TArtMemoOptions FOptions = kDefaultArtMemoOptions;
    int FUndoMaxLevel = 65536;
    int FUndoMaxSpace = 4194304;
    int FScrollTime = 300;
    int FMouseWheelFactor = -1;
    TArtLineBreak FLineBreak = pbCRLF;
    char FNullReplacement = 0;

    TSinkList FEventSinks;
    TSinkList FMessageHooks;
    TMessageRecord FMessage;
    int FMessageNesting = 0;

    int32_t FSelLength = 0;
    bool FBlockMode = false;
    std::string FPendingBlanks;
    int FRememberedX = INT32_MIN;
    int FUpdateLevel = 0;
    int FEventDeferral = 0;
    bool FSelMoved = false;
    int32_t FLastCaretPos = -1;
    std::string FLastPendingBlanks;
    int FLastStyle = -1;
    bool FLoading = false;
    bool FSaving = false;
    bool FWindowCreated = false;
    bool FInResize = false;
    bool FScrollingInternally = false;

    QImage FLineBitmap;
    QRect FCaretRect;
    bool FCaretCreated = false;
    bool FCaretShown = false;
    int FSpecAmplitude = 1;
    int FSpecUnderlineY = 0;
    int FVertUnit = 1;
    int FHorzUnit = 1;

    platform::TCanvas* FRenderCanvas = nullptr;
    int FRenderWidth = 0;
    std::unique_ptr<platform::TextMeasurer> FRenderMeasurer;
};

} // namespace zandor
