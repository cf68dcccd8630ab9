// The mouse in the editor control: a press places the caret (Shift extends, Alt starts a column
// block, a press on the selection picks it up, a press in the left margin selects a line), moving
// with the button held selects (by words after a double-click, by lines from the margin) and
// scrolls when the mouse leaves the text, a release ends it and reports a click on a highlighted
// run's context; without the button the cursor says what a press would do.
#pragma once

#include <QPoint>
#include <Qt>

#include <cstdint>

namespace zandor {

class TArtMemo;
class TArtNavigator;
class TMemoTextDrag;
struct TInputState;

// Refers to its control, the input state and the text drag, all owned elsewhere.
class TMemoMouse {
public:
    TMemoMouse(TArtMemo& memo, TInputState& state, TMemoTextDrag& drag);

    // The left button went down at p; doubleClick: the press that follows a double-click.
    void LeftDown(Qt::KeyboardModifiers shift, QPoint p, bool doubleClick);
    // Selects the word under p (word-select mode until the button goes up).
    void DoubleClick(QPoint p);
    void Move(Qt::KeyboardModifiers shift, QPoint p);
    // The control's part of a release, before OnMouseUp.
    void Release(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p);

private:
    // The character the mouse is over (not the gap nearest to it), or -1 outside the text.
    int32_t CharacterAt(QPoint p);
    bool InLeftMargin(QPoint p) const;
    bool OverSelection(QPoint p);
    // Blanks beyond a line end or over a tab up to the mouse (column-keeping and blocks).
    void PendingBlanksTo(int x);
    void SelectLine(int32_t line);
    void ExtendByLines(QPoint p);
    void ExtendByWords(int32_t pos);
    // The cursor for the mouse at rest at p.
    void Hover(QPoint p);
    void ContextClick(Qt::MouseButton button, QPoint p);

    TArtMemo& FMemo;
    TInputState& FState;
    TMemoTextDrag& FDrag;
    TArtNavigator* FNav; // owned by the control's registry
};

} // namespace zandor
