// The editor control: the published properties, options and events, the selection and the caret,
// and the operations on the text, over the window side (the core, the message path, the view) that
// it builds on.
#pragma once

#include "editor/control/ArtMemoStrings.h"
#include "editor/control/EditActions.h"
#include "editor/control/MemoCaret.h"
#include "editor/control/MemoClipboard.h"
#include "editor/control/MemoContextMenu.h"
#include "editor/control/MemoView.h"
#include "editor/engine/BlockInsert.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoOptions.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/UndoList.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <QImage>
#include <QRect>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QMenu;
class QPoint;

namespace zandor {

class TMemoInput;
class TArtHighlighter;
class TArtNavigator;
class TByteStream;
class TKeywordList;
class TStartStopKeyList;

namespace platform {
class Clipboard;
class QtTextMeasurer;
} // namespace platform

using platform::TColor;
using platform::TPenValue;

// Owns (through the core's registry) the mouse and scratch navigators, and (through the core) the
// measurer of its two fonts, the selection, the editor and the undo list, whose properties it
// publishes; its two string-list views, its clipboard exchange and its context menu. Refers to the attached
// highlighter, which it does not own; the window side owns the rest. It is the editor's host: it turns what
// an edit did into events, repaint and caret.
class TArtMemo : public TMemoView, public IamEditActions, private TEditorHost {
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
    // Shows an error that escaped the control's handling of a key or mouse event, as the
    // application's default error box does; the program goes on.
    using TErrorDisplay = std::function<void(TArtMemo* sender, const std::string& message)>;

    explicit TArtMemo(QWidget* parent = nullptr);
    ~TArtMemo() override;

    // Another control's core, for add-ons that were told about it by a notification.
    static TArtMemo* FromCore(const TArtMemoCore* core);
    static int InstanceCount();

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
    // The same from bytes[0 .. size), which the text takes over without a copy; the buffer must have
    // room for size + 1 bytes.
    void LoadFromBuffer(std::unique_ptr<char[]> bytes, size_t size);
    virtual void SaveToStream(TByteStream& stream, int flag = 0);

    // ---- layout and appearance
    TAlignment Alignment() const { return FCore->Alignment(); }
    void SetAlignment(TAlignment value);
    bool WordWrap() const { return FCore->WordWrap(); }
    void SetWordWrap(bool value);
    int ColumnWrap() const { return FCore->ColumnWrap(); }
    void SetColumnWrap(int value);
    const std::string& WordWrapChars() const { return FCore->WordWrapChars(); }
    void SetWordWrapChars(std::string value);
    bool Justified() const { return FCore->Justified(); }
    void SetJustified(bool value);
    int LeftMargin() const { return FCore->LeftMargin(); }
    void SetLeftMargin(int value);
    int RightMargin() const { return FCore->RightMargin(); }
    void SetRightMargin(int value);
    int TabStops() const { return FCore->TabStops(); }
    void SetTabStops(int value);
    // <= 0 automatic; reads 0 while automatic.
    int LineHeight() const { return FCore->LineHeight(); }
    void SetLineHeight(int value);
    int CaretWidth() const { return FCaretWidth; }
    void SetCaretWidth(int value);
    const platform::FontValue& Font() const { return FFont; }
    void SetFont(const platform::FontValue& value);
    const platform::FontValue& AltFont() const { return FAltFont; }
    void SetAltFont(const platform::FontValue& value);
    // Both fonts drawn this many times their size (1 to 4): a screen font as its cell enlarged pixel
    // for pixel, so block art stays gap-free at any scale.
    int FontScale() const { return FFontScale; }
    void SetFontScale(int value);
    // How the screen fonts draw their cells: nine pixels wide, and rows stretched to the DOS aspect
    // at a font scale of 2 and more. Other faces are not changed by it.
    platform::TScreenCells ScreenCells() const { return FScreenCells; }
    void SetScreenCells(platform::TScreenCells value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value) {
        FColor = value;
        Repaint();
    }
    const QImage& BackgroundBmp() const { return FBackgroundBmp; }
    void SetBackgroundBmp(const QImage& value) {
        FBackgroundBmp = value;
        Repaint();
    }
    const TPenValue& EndOfTextMark() const { return FEndOfTextMark; }
    void SetEndOfTextMark(const TPenValue& value) {
        FEndOfTextMark = value;
        Repaint();
    }
    const TPenValue& RightLinePen() const { return FRightLinePen; }
    void SetRightLinePen(const TPenValue& value) {
        FRightLinePen = value;
        Repaint();
    }
    int RightLinePos() const { return FRightLinePos; }
    void SetRightLinePos(int value) {
        FRightLinePos = value;
        Repaint();
    }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value) {
        FHighlightColor = value;
        Repaint();
    }
    TColor HighlightBackgnd() const { return FHighlightBackgnd; }
    void SetHighlightBackgnd(TColor value) {
        FHighlightBackgnd = value;
        Repaint();
    }
    TColor SelBackColor() const { return FSelBackColor; }
    void SetSelBackColor(TColor value) {
        FSelBackColor = value;
        RepaintSelection();
    }
    TColor SelTextColor() const { return FSelTextColor; }
    void SetSelTextColor(TColor value) {
        FSelTextColor = value;
        RepaintSelection();
    }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) {
        FHideSelection = value;
        RepaintSelection();
    }
    bool ShowEndParSelected() const { return FShowEndParSelected; }
    void SetShowEndParSelected(bool value) {
        FShowEndParSelected = value;
        RepaintSelection();
    }
    TamNonPrintChars ShowNonPrintChars() const { return FShowNonPrintChars; }
    void SetShowNonPrintChars(TamNonPrintChars value);

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
    std::string Separators() const { return FCore->SeparatorsText(); }
    void SetSeparators(std::string_view value) { FCore->SetSeparatorsText(value); }
    // Undoable records at most (0: no undo, negative: no limit); setting it trims the list.
    int UndoMaxLevel() const { return FCore->Undos().MaxLevel(); }
    void SetUndoMaxLevel(int value) { FCore->Undos().SetMaxLevel(value); }
    // Bytes the undo records may take (0 or negative: no limit); setting it trims the list.
    int UndoMaxSpace() const { return FCore->Undos().MaxSpace(); }
    void SetUndoMaxSpace(int value) { FCore->Undos().SetMaxSpace(value); }
    TArtLineBreak LineBreak() const { return FLineBreak; }
    void SetLineBreak(TArtLineBreak value) { FLineBreak = value; }
    char NullReplacement() const { return FNullReplacement; }
    void SetNullReplacement(char value) { FNullReplacement = value; }
    bool StaticFormat() const { return FCore->StaticFormat(); }
    void SetStaticFormat(bool value);
    TUpdateMode UpdateMode() const { return FCore->UpdateMode(); }
    void SetUpdateMode(TUpdateMode value);
    uint32_t ProgressInterval() const { return FCore->ProgressInterval(); }
    void SetProgressInterval(uint32_t value) { FCore->SetProgressInterval(value); }

    // ---- highlighting
    TArtHighlighter* Highlighter() const { return FCore->Highlighting().Highlighter(); }
    void SetHighlighter(TArtHighlighter* value) { FCore->Highlighting().SetHighlighter(value); }
    TKeywordList& Keywords() { return FCore->Highlighting().Keywords(); }
    TStartStopKeyList& StartStopKeys() { return FCore->Highlighting().StartStopKeys(); }
    bool ApplyKeyWords() const { return FCore->Highlighting().ApplyKeyWords(); }
    void SetApplyKeyWords(bool value) { FCore->Highlighting().SetApplyKeyWords(value); }
    bool ApplyStartStopKeys() const { return FCore->Highlighting().ApplyStartStopKeys(); }
    void SetApplyStartStopKeys(bool value) { FCore->Highlighting().SetApplyStartStopKeys(value); }
    TamUpperCase UpperCaseType() const { return FCore->UpperCaseType(); }
    void SetUpperCaseType(TamUpperCase value) { FCore->SetUpperCaseType(value); }

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

    // ---- the editing core: the selection, the replace operation, undo (see TMemoEditor)
    TMemoEditor& Editor() { return FCore->Editor(); }
    TMemoSelection& Selection() { return FCore->Selection(); }

    // ---- selection and caret (positions count every paragraph break as two characters)
    // The caret; setting it collapses the selection there (clamped) and starts a new undo group.
    int32_t SelStart() const { return FCore->Selection().SelStart(); }
    void SetSelStart(int32_t value) { Editor().SetSelStart(value); }
    // Signed: the anchor is SelStart + SelLength. Setting it keeps the caret and clamps the anchor.
    int32_t SelLength() const { return FCore->Selection().SelLength(); }
    void SetSelLength(int32_t value) { Editor().SetSelLength(value); }
    // The selected text with format codes; in block mode the block's rows, each ending in CR LF.
    std::string SelText() { return Editor().SelText(); }
    // Replaces the selection; pending blanks go in front with amoPutExtraSpaces (no block).
    void SetSelText(std::string_view value);
    // Copies min(|SelLength|, size - 1) characters and a terminating zero; returns the count.
    int32_t GetSelTextBuf(char* buffer, int32_t size);
    // Replaces the whole text, puts the caret at 0 and, outside brackets, scrolls to the top.
    void SetTextBuf(const char* text);
    // Paragraph index while WordWrap is off, display line while it is on.
    int32_t SelLine();
    void SetSelLine(int32_t value);
    int32_t SelCol();
    void SetSelCol(int32_t value);
    int32_t SelPar();
    void SetSelPar(int32_t value);
    void SelectAll() override { Editor().SelectAll(); }
    void ClearSelection() override { SetSelText({}); }
    // Column block from column col1 of paragraph line1 to column col2 of paragraph line2.
    void SelectBlock(int col1, int32_t line1, int32_t line2, int col2) {
        Editor().SelectBlock(col1, line1, line2, col2);
    }
    bool BlockMode() const { return FCore->Selection().BlockMode(); }
    const std::string& PendingBlanks() const { return FCore->Selection().PendingBlanks(); }
    // The navigator the caret is: one of the two selection ends, or the free caret.
    TArtNavigator& Caret() { return Selection().Caret(); }
    TArtNavigator& SelStartNavigator() { return Selection().StartNav(); }
    TArtNavigator& SelEndNavigator() { return Selection().EndNav(); }
    // Follows the mouse over the text; while text is dragged it is the drop point.
    TArtNavigator& MouseNavigator() { return *FMouseNav; }
    // The context number of the highlighted run last clicked.
    int32_t ContextValue() const;
    // Selected text is being dragged with the mouse (Esc puts it down where it was).
    bool DraggingText() const;

    // ---- the text
    int32_t CharCount() const { return FCore->CharCount(); }
    int32_t LineCount() const { return FCore->LineCount(); }
    int32_t ParagraphCount() const { return FCore->ParagraphCount(); }
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
    // Prefer TUpdateBracket (on Editor()): it cannot leave the control locked.
    void BeginUpdate() { Editor().BeginUpdate(); }
    void EndUpdate() { Editor().EndUpdate(); }
    bool FindTxt(std::string_view text, bool forward, bool matchCase, bool wholeWord, bool fromBoundary);
    void ReApplyKeywords();
    // With StaticFormat: wrap the selection in a format code, or put the caret between two.
    void ToggleBold() { Editor().ToggleStyle(fcBold); }
    void ToggleItalic() { Editor().ToggleStyle(fcItalic); }
    void ToggleUnderline() { Editor().ToggleStyle(fcUnderline); }
    void ToggleHighlight() { Editor().ToggleStyle(fcHighlight); }
    void ToggleAltFont() { Editor().ToggleStyle(fcAltFont); }
    // Walks the whole text checking the store's bookkeeping; raises the first violation found.
    void CheckConsistency();
    // The label the consistency check's messages end with.
    static const char* VersionLabel();

    // ---- the text as string lists (see ArtMemoStrings.h)
    TArtParaStrings& Paragraphs() { return FParagraphs; }
    TArtLinesStrings& Lines() { return FLines; }
    // Loads a copy of the list's strings as the text.
    void SetLines(platform::TStrings& value) { FLines.Assign(value); }

    // Sends the control a message that no Qt event stands for (the hooks see it like any other):
    // cut, copy, paste and undo, a background layout step, and a paint, which with a render record
    // (lParam: a TRenderRecord*) draws into the render canvas. Returns whether it was handled.
    bool Perform(uint32_t msg, uint64_t wParam = 0, int64_t lParam = 0);

    // ---- the standard editing commands
    bool CanCut() override { return !FReadOnly && !FDisplayOnly && SelLength() != 0; }
    bool CanCopy() override { return !FDisplayOnly && SelLength() != 0; }
    // Also asks whether the clipboard holds text: a paste of nothing is not offered.
    bool CanPaste() override { return !FReadOnly && !FDisplayOnly && ClipboardHasText(); }
    bool CanSelectAll() override { return !FDisplayOnly && CharCount() != 0; }
    bool CanDelete() override { return !FReadOnly && !FDisplayOnly && SelLength() != 0; }
    bool CanUndo() override { return Editor().CanUndo(); }
    bool CanRedo() override { return Editor().CanRedo(); }
    // The clipboard operations (see TMemoClipboard); the callers scroll the caret into view.
    void CutToClipboard() override { FClipboardExchange.Cut(); }
    void CopyToClipboard() override { FClipboardExchange.Copy(); }
    void PasteFromClipboard() override { FClipboardExchange.Paste(); }
    void Undo() override { Editor().Undo(); }
    void Redo() override { Editor().Redo(); }
    void ClearUndo() { Editor().ClearUndo(); }
    // Inserts the lines of text as a column at the caret's screen column, one undo step; outside
    // brackets the caret is scrolled into view.
    void InsertBlock(std::string_view text) {
        zandor::InsertBlock(Editor(), text);
        if (UpdateLevel() == 0)
            ScrollInView();
    }

    // ---- the clipboard: the desktop's unless another is given (null: the desktop's again)
    void SetClipboard(platform::Clipboard* clipboard) { FClipboardExchange.SetClipboard(clipboard); }
    TMemoClipboard& ClipboardExchange() { return FClipboardExchange; }
    bool ClipboardHasText() const { return FClipboardExchange.HasText(); }
    // Puts bytes on the clipboard as this control's copy does; false when that failed.
    bool PutClipboardText(std::string_view bytes) { return FClipboardExchange.PutText(bytes, false); }

    // ---- the context menu
    // The application's menu for this control (forgotten when it is destroyed); null: the built-in
    // one, unless amoNoDefaultPopup.
    QMenu* PopupMenu() const { return FContextMenu.PopupMenu(); }
    void SetPopupMenu(QMenu* menu) { FContextMenu.SetPopupMenu(menu); }
    // Opens the control's context menu at a screen position (the right button's release and the
    // menu key come here): the assigned menu; else the application's through a custom context menu
    // policy; else, unless amoNoDefaultPopup, the built-in one (made on first use), its items
    // enabled first and OnInternalPopup fired.
    void ShowContextMenu(const QPoint& globalPos) { FContextMenu.Show(globalPos); }
    TMemoContextMenu& ContextMenu() { return FContextMenu; }

    // ---- input
    // Paints now whatever waits to be painted in the window, instead of when the event loop gets
    // to it (keys that move the caret, a held key that repeats).
    void PaintNow();
    // Where errors that leave an input handler are shown (tests replace it).
    static TErrorDisplay ErrorDisplay;

    // ---- view
    void ScrollInView() override { Scroller().ScrollInView(); }
    void UpdateCaret(bool recreate = false) override;
    void SuspendCaret() override;

    // ---- what the painter reads
    platform::QtTextMeasurer& Measurer() { return *FMeasurer; }
    // The caret as it stands on screen (client pixels); empty while it is not shown.
    QRect CaretRect() const { return FCaret.Rect(); }
    bool Focused() const { return hasFocus(); }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Lays out and paints into a foreign canvas from now on (null: back to the screen). The
    // measurer measures in the canvas's fonts; null measures with the control's own fonts.
    void SetRenderCanvas(platform::TCanvas* canvas, int width,
                         std::unique_ptr<platform::TextMeasurer> measurer = nullptr);

    // ---- what the formatting engine asks of the control
    void Progress() override;
    bool HasProgressHandler() const override { return static_cast<bool>(OnProgress); }
    void Changed() override { Change(); }

protected:
    bool HandleEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void WindowCreated() override;
    void ViewScrolled(int dx, int dy) override;
    bool AutoScrollBars() const override { return FOptions.Has(amoAutoScrollBars); }
    bool NoFineScroll() const override { return FOptions.Has(amoNoFineScroll); }

private:
    // ---- what the editor asks of its window
    void BeforeReplace(const char*& text) override;
    void Parsed(int32_t start, int32_t stop) override;
    void RepaintLines(int32_t first, int32_t last) override { InvalidateLines(first, last); }
    void CaretChanged() override;
    void AfterEdit(bool wholeView) override;
    void ScrollCaretInView() override { ScrollInView(); }
    // Replaces the whole text by what fill puts into the emptied paragraph list.
    void LoadText(const std::function<void(TParagraphsList&, const TProgressHandler&, TArtLineBreak&)>& fill);

    // Runs an input handler with OnSelMove held back to its end; an error it raises is shown.
    void HandleInput(const std::function<void()>& handle);
    void RebuildMeasurer();
    void RepaintSelection();
    void FireSelMove();
    void ReloadThroughStream();
    uint8_t StyleAtCaret();
    int EffectiveCaretWidth();

    platform::QtTextMeasurer* FMeasurer = nullptr; // owned by the core
    TArtNavigator* FMouseNav = nullptr;            // these navigators are owned by the core's registry
    TArtNavigator* FScratch[2] = {};

    platform::FontValue FFont;
    platform::FontValue FAltFont;
    int FFontScale = 1;
    platform::TScreenCells FScreenCells;
    TColor FColor = platform::clWindow;
    int FCaretWidth = 1;
    QImage FBackgroundBmp;
    TPenValue FEndOfTextMark;
    TPenValue FRightLinePen;
    int FRightLinePos = 0;
    TColor FHighlightColor = platform::clRed;
    TColor FHighlightBackgnd = platform::clWindow;
    TColor FSelBackColor = platform::clHighlight;
    TColor FSelTextColor = platform::clHighlightText;
    bool FHideSelection = true;
    bool FShowEndParSelected = true;
    TamNonPrintChars FShowNonPrintChars = 0;
    bool FReadOnly = false;
    bool FDisplayOnly = false;
    bool FOverwrite = false;
    bool FWantTabs = true;
    bool FEnableHotKeys = true;
    bool FPassOverCodes = true;
    TArtMemoOptions FOptions = kDefaultArtMemoOptions;
    TArtLineBreak FLineBreak = pbCRLF;
    char FNullReplacement = 0;

    TArtParaStrings FParagraphs{*this};
    TArtLinesStrings FLines{*this};
    TMemoClipboard FClipboardExchange{*this};
    TMemoContextMenu FContextMenu{*this};

    int FEventDeferral = 0;
    // While the text is written to a stream.
    bool FSaving = false;
    TMemoCaret FCaret;
    std::unique_ptr<TMemoInput> FInput;
};

} // namespace zandor
