#include "editor/control/MemoTextDrag.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoCursors.h"
#include "editor/control/MemoInput.h"
#include "editor/engine/ArtNavigator.h"

namespace zandor {

TMemoTextDrag::TMemoTextDrag(TArtMemo& memo, TInputState& state) : FMemo(memo), FState(state) {}

void TMemoTextDrag::ShowCursor(bool copy) {
    if (FState.DragOutside)
        FMemo.viewport()->setCursor(Qt::ForbiddenCursor);
    else if (copy)
        FMemo.viewport()->setCursor(DragCopyCursor());
    else
        FMemo.viewport()->setCursor(Qt::DragMoveCursor);
}

void TMemoTextDrag::Start(QPoint p) {
    FState.DraggingText = true;
    FState.DragOutside = false;
    FMemo.MouseNavigator().SetPos(FMemo.Editor().PositionAt(p.x(), p.y()));
    ShowCursor(false);
    // The caret now shows the drop point.
    FMemo.UpdateCaret(true);
}

void TMemoTextDrag::Follow(QPoint p, Qt::KeyboardModifiers shift) {
    FState.DragOutside = !FMemo.viewport()->rect().contains(p);
    if (!FState.DragOutside)
        FMemo.MouseNavigator().SetPos(FMemo.Editor().PositionAt(p.x(), p.y()));
    ShowCursor(shift & Qt::ControlModifier);
    FMemo.UpdateCaret();
}

void TMemoTextDrag::CopyKey(bool down) {
    if (FState.DraggingText)
        ShowCursor(down);
}

void TMemoTextDrag::Cancel() {
    const int32_t at = FMemo.MouseNavigator().Pos();
    FState.DraggingText = false;
    FState.DragOutside = false;
    FState.MouseDown = false;
    FMemo.Scroller().StopAutoScroll();
    FMemo.viewport()->setCursor(Qt::IBeamCursor);
    FState.ShownCursor = -1;
    FMemo.Editor().Select(at, at);
    FMemo.UpdateCaret(true);
}

void TMemoTextDrag::Drop(QPoint p, bool copy) {
    FState.DraggingText = false;
    const bool inside = FMemo.viewport()->rect().contains(p);
    FState.DragOutside = false;
    TMemoEditor& editor = FMemo.Editor();
    TMemoSelection& sel = FMemo.Selection();
    TArtNavigator& drop = FMemo.MouseNavigator();
    const int32_t lower = sel.Lower();
    const int32_t upper = sel.Upper();
    if (inside && (drop.Pos() < lower || drop.Pos() > upper)) {
        // Taken, deleted (unless copied) and put in again: one undo step. The drop point is a
        // registered navigator: deleting the text before it moves it along.
        TUpdateBracket bracket(editor);
        const std::string text = editor.SelText();
        if (!copy)
            editor.SetSelTextBuf("");
        const int32_t at = drop.Pos();
        editor.Select(at, at);
        editor.SetSelTextBuf(text.c_str());
        const int32_t end = sel.SelStart();
        editor.Select(end, drop.Pos());
    } else if (inside) {
        editor.Select(drop.Pos(), drop.Pos());
    }
}

} // namespace zandor
