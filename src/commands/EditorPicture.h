// A picture of what an editor control shows at this moment: its text area (without scroll bars or
// anything beside it) drawn by the control's own painter into a picture, so the picture is the
// same on any display, offscreen included, and whatever covers the window.
#pragma once

#include <QImage>

namespace zandor {

class TArtMemo;

// The editor's text area as it is painted: the background colour, the visible lines at their
// scroll position with their fonts, colours, highlighting, marks and selection. The caret is left
// out; it is no part of the text.
QImage PaintEditorPicture(TArtMemo& memo);

} // namespace zandor
