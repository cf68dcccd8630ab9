// The mouse cursors of the editor control: the cursor numbers that highlighted runs carry, and the
// control's own cursors ("AMRIGHTARROW" for line selection in the left margin, "AMEMODRAGCOPY" while
// dragged text would be copied), which are images in the program's resources.
#pragma once

#include <QCursor>

#include <cstdint>

namespace zandor {

// Cursor numbers as runs and keyword lists store them (0 = the control's own cursor).
enum TCursor : int16_t {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

// The cursor a number stands for; numbers without a shape of their own give the arrow.
QCursor CursorOf(int16_t cursor);

// The arrow that points into the line a click in the left margin selects.
const QCursor& LineSelectCursor();
// Dragged text would be copied (Ctrl held).
const QCursor& DragCopyCursor();

} // namespace zandor
