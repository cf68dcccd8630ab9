// Dragging selected text inside the editor control: a press on the selection picks it up, the caret
// shows where it would land, the release moves it there (or copies it with Ctrl) as one undo step,
// and Esc puts it down where it was.
#pragma once

#include <QPoint>
#include <Qt>

namespace zandor {

class TArtMemo;
struct TInputState;

// Refers to its control and the input state, both owned elsewhere. The drop point is the control's
// mouse navigator, which edits move along with the text.
class TMemoTextDrag {
public:
    TMemoTextDrag(TArtMemo& memo, TInputState& state);

    // A press at point p on the selection starts the drag.
    void Start(QPoint p);
    // The mouse moved with the button held: the drop point follows inside the text area.
    void Follow(QPoint p, Qt::KeyboardModifiers shift);
    // Ctrl went down or up while dragging: the cursor says whether the text would be copied.
    void CopyKey(bool down);
    // Esc: the drag ends without a drop, the caret where the mouse is.
    void Cancel();
    // The button went up at p; with copy the selection stays where it was.
    void Drop(QPoint p, bool copy);

private:
    void ShowCursor(bool copy);

    TArtMemo& FMemo;
    TInputState& FState;
};

} // namespace zandor
