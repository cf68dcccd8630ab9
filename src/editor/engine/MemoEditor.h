// The editing core of an editor control: the one operation that changes the text (replace the
// selection), the update level that brackets edits, undo and redo, the caret moves and selection
// changes that keys, mouse and commands call, and the edits built on the replace operation. It
// knows no window: what the widget must do about an edit (events, repaint, caret, scrolling) it
// asks of its host.
#pragma once

#include "editor/engine/MemoOptions.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace zandor {

class TArtMemoCore;
class TArtNavigator;
class TMemoSelection;
class TUndoList;

// What an edit needs of the widget that shows the text. Engine tests run without one.
class TEditorHost {
public:
    virtual ~TEditorHost() = default;
    // Before every replacement of the selection: OnBeforeChange may point text at another text
    // that outlives the call; the event sinks hear code 0x400.
    virtual void BeforeReplace(const char*& text) = 0;
    // OnParse for the positions of a new text (called inside a raised update level).
    virtual void Parsed(int32_t start, int32_t stop) = 0;
    // Display lines first .. last (either order) show a changed selection.
    virtual void RepaintLines(int32_t first, int32_t last) = 0;
    // The caret, the pending blanks or the selection changed: place the caret (not inside a
    // bracket), raise its notifications and the deferred OnSelMove.
    virtual void CaretChanged() = 0;
    // After the layout of an edit, outside brackets or at the outermost EndUpdate (wholeView):
    // scroll bars, repaint, caret and OnSelMove.
    virtual void AfterEdit(bool wholeView) = 0;
    virtual void ScrollCaretInView() = 0;
};

// Owned by the control's core; refers to the core, its selection and its undo list, and to the
// host (the widget), which it does not own.
class TMemoEditor {
public:
    TMemoEditor(TArtMemoCore& core, TMemoSelection& selection, TUndoList& undo);
    ~TMemoEditor();
    TMemoEditor(const TMemoEditor&) = delete;
    TMemoEditor& operator=(const TMemoEditor&) = delete;

    void SetHost(TEditorHost* host) { FHost = host; }
    TArtMemoCore& Core() { return FCore; }
    TMemoSelection& Selection() { return FSel; }
    TUndoList& Undos() { return FUndo; }

    // The options the editing rules read (the control's Options property).
    TArtMemoOptions Options() const { return FOptions; }
    void SetOptions(TArtMemoOptions value) { FOptions = value; }
    // While the whole text is read from a stream or the control is being designed, nothing is
    // recorded for undo.
    void SetLoading(bool value) { FLoading = value; }
    bool Loading() const { return FLoading; }
    void SetDesignTime(bool value) { FDesignTime = value; }

    // ---- the update bracket: no painting, layout or caret update while the level is above 0;
    // the outermost EndUpdate lays out, repaints and reports the change once, and every change
    // inside one bracket is one undo step. Prefer TUpdateBracket.
    int UpdateLevel() const { return FUpdateLevel; }
    void BeginUpdate() { ++FUpdateLevel; }
    void EndUpdate();
    // Raises the level for its lifetime without the after-edit update at its end (while the whole
    // text is replaced, or an event runs that must not see a half-done edit).
    class TQuietLevel {
    public:
        explicit TQuietLevel(TMemoEditor& editor) : FEditor(editor) { ++FEditor.FUpdateLevel; }
        ~TQuietLevel() { --FEditor.FUpdateLevel; }
        TQuietLevel(const TQuietLevel&) = delete;
        TQuietLevel& operator=(const TQuietLevel&) = delete;

    private:
        TMemoEditor& FEditor;
    };

    // ---- the one replace operation
    // Replaces the selection (a column block row by row) by a zero-terminated text, null = empty,
    // which may hold CR, LF, CR LF and LF CR breaks. Records undo, moves the registered
    // navigators, re-highlights and, outside brackets, lays out and reports the change. Afterwards
    // the caret stands after the new text, without selection. Does not look at ReadOnly.
    void SetSelTextBuf(const char* text);
    // The same, with the pending blanks in front when amoPutExtraSpaces applies (no block).
    void SetSelText(std::string_view text);
    void ClearSelection() { SetSelText({}); }
    // The selected text with its format codes; a block as its rows, each followed by CR LF.
    std::string SelText();
    // [start, stop) with both ends clamped to the text.
    std::string TextPart(int32_t start, int32_t stop);

    // ---- edits built on it
    // Replaces the whole text; the caret goes to 0.
    void SetTextBuf(const char* text);
    // Replaces paragraph index (without its break), appending empty paragraphs while index is
    // beyond the last; the caret stays where it was (shifted by an edit before it).
    void SetParagraph(int32_t index, std::string_view text);
    // With StaticFormat: wraps the selection in a format code (bold 2, italic 1, underline 21,
    // highlight 3, alternate font 4) and selects it again, or puts the caret between two codes.
    // Twice on the same selection gives the text back.
    void ToggleStyle(char code);

    // ---- undo and redo
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndo();

    // ---- selection and caret, as properties and commands set them
    // Collapses the selection at value (clamped), clears the pending blanks and the remembered x.
    void SetSelStart(int32_t value);
    // Anchor at caret + value, clamped to the text; the caret stays. Ends block mode.
    void SetSelLength(int32_t value);
    void SelectAll();
    // Caret at from, anchor at to (either order), no block.
    void Select(int32_t from, int32_t to);
    // The same with the caret where `caret` stands and on its display line (see MoveCaret).
    void Select(const TArtNavigator& caret, int32_t anchor);
    // Column block from column col1 of paragraph line1 to column col2 of paragraph line2 (columns
    // in average character widths; indexes clamped); the caret at line2. Ignored with WordWrap.
    void SelectBlock(int col1, int32_t line1, int32_t line2, int col2);

    // ---- caret moves, as the keys and the mouse make them
    // Moves the caret to pos (clamped). extend: the selection grows or shrinks from its anchor
    // (Shift); else it collapses there, or with amoPersistentBlocks and a selection the free
    // caret moves and the block stays. Clears the pending blanks; keepX keeps the remembered x
    // (vertical moves), otherwise it is forgotten. Starts a new typing undo group. In block mode
    // with extend the block's current column follows the caret.
    void MoveCaret(int32_t pos, bool extend, bool keepX = false);
    // The same to where `to` stands and on its display line: a position that ends one display
    // line and starts the next keeps the caret on the line `to` took it as the end of, after that
    // line's last character. `to` may be any navigator of this control, the caret included.
    void MoveCaret(const TArtNavigator& to, bool extend, bool keepX = false);
    // To the end of the caret's display line (End): after its last character, on that line; a line
    // that wrapped after blanks ends before the blank it broke at.
    void MoveCaretToLineEnd(bool extend);
    // One or more display lines up or down (vertical moves): the caret goes to the column of
    // display line `line` (clamped) nearest to the remembered x, which is taken from the caret
    // first when there is none and kept. Pending blanks that fill a gap are the caller's.
    void MoveCaretToLine(int32_t line, bool extend);
    // To column `column` (characters, a tab counts one) of the caret's display line, clamped to its
    // end; with amoKeepColumnPos and no word wrap the rest becomes pending blanks.
    void MoveCaretToColumn(int32_t column, bool extend);
    // The position under client point (x, y): the character nearest to x on the display line at
    // y, the end of the text below the last line (mouse presses and drags). Right of a line's end
    // it is that line's end, as End puts it. The navigator stays valid until the next call.
    const TArtNavigator& NavigatorAt(int x, int y);
    int32_t PositionAt(int x, int y);
    // Pending blanks beyond the line end (the caret moves, the text does not).
    void SetPendingBlanks(std::string blanks);
    // Starts a column block at the caret: both columns at column.
    void StartBlock(int column);
    // The block's current column := the caret's screen column (pending blanks included).
    void FollowCaretWithBlockColumn();
    // The caret's screen column: (caret x + LeftOrigin - LeftMargin) div average width, with the
    // pending blanks.
    int CaretColumn();
    // The caret's pixel x (client coordinates) with the pending blanks.
    int CaretX();

    // The selected text with the pending blanks in front when amoPutExtraSpaces applies (no block),
    // as the SelText property puts it in place.
    std::string WithPendingBlanks(std::string_view text) const;

private:
    friend class TNoOverwriteBracket;
    // The replace operation; a replay (Undo, Redo) puts back exactly the recorded text.
    void Replace(const char* text, bool replaying, bool reinsertCodes, bool removePairs);
    void ReplaceBlock(const char* text);
    void ReplaceSelected(const char* text, bool reinsertCodes, bool removePairs, bool discardTrailing);
    void Replay(bool undo);
    void MoveCaretTo(int32_t pos, const TArtNavigator* to, bool extend, bool keepX);
    void SelectTo(int32_t from, int32_t to, const TArtNavigator* caretAt);
    void RepaintSelection();
    void CaretChanged();

    TArtMemoCore& FCore;
    TMemoSelection& FSel;
    TUndoList& FUndo;
    TEditorHost* FHost = nullptr;
    TArtMemoOptions FOptions = kDefaultArtMemoOptions;
    int FUpdateLevel = 0;
    bool FLoading = false;
    bool FDesignTime = false;
    // Where the last replacement's new text began.
    int32_t FNewTextStart = 0;
    TArtNavigator* FScratch; // adopted by the core's registry
    // Where the caret goes, copied first: the navigator a caret move is given may be one of the
    // selection's own, which the move itself sets.
    TArtNavigator* FTarget; // adopted by the core's registry
};

// An update bracket as an object: BeginUpdate now, EndUpdate when it goes out of scope, so an
// exception cannot leave the control locked. One bracket is one undo step and one layout, repaint
// and change event. Work that can fail happens inside it; the after-edit update at its end may
// report the change to handlers, whose errors pass on unless another error is already on its way.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TMemoEditor& editor) : FEditor(editor), FUncaught(std::uncaught_exceptions()) {
        FEditor.BeginUpdate();
    }
    ~TUpdateBracket() noexcept(false);
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    TMemoEditor& FEditor;
    int FUncaught;
};

} // namespace zandor
