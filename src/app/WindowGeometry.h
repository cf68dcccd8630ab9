// The arithmetic of the main window's size and place: remembered bounds per file type, the size
// that fits a loaded text, staying inside the desktop, and the bottom button row. Plain values in,
// plain values out, so every rule is checked without a window.
#pragma once

#include "platform/FileSystem.h"

#include <QRect>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace zandor {

// What the window asks of the desktop; replaced by tests with a desktop of their own.
struct TDesktop {
    std::function<QRect()> WorkArea;
    std::function<int()> MonitorCount;

    // The primary screen's available area and the number of screens.
    static TDesktop System();
};

// A work area's right and bottom edges as the window rules count them: just past the last pixel.
inline int RightOf(const QRect& r) {
    return r.x() + r.width();
}
inline int BottomOf(const QRect& r) {
    return r.y() + r.height();
}

inline constexpr const char* kOtherSection = "Other";

using platform::LowerExtension;

// The settings section for the bounds of a file: the extension without its dot when it has three or
// more letters, otherwise "Other" (so ".c" and ".md" share one set of bounds). An extension that
// cannot serve as a section name shares "Other" too.
std::string WindowSectionFor(const std::string& path);

// Width and height used for a section that has no stored bounds yet.
QSize DefaultWindowSize(const std::string& section, const QRect& workArea);
// Where a window of that size stands when nothing is stored: centred on the work area's far edges.
QPoint DefaultWindowPos(const QSize& size, const QRect& workArea);

// The widest line in characters of a text whose lines end in CR LF: each line ending in a CR counts
// its characters (LF characters never count); a line only counts when it is shorter than 133, and the
// result is at least 34. The last line, without a CR after it, is not measured.
int WidestLineChars(std::string_view text);

// The same widest line for a text of paragraphCount paragraphs joined by CR LF, read one paragraph
// at a time: a text of up to kWidestLineSample paragraphs is read whole; a longer one only in a
// sample of that many (the first half of it from the top, which the window shows first, the rest
// spread evenly over the text), so that a text of any size is sized in the same short time. Reading
// stops at 132 characters, the widest any line can count.
inline constexpr int kWidestLineSample = 16384;
int WidestLineChars(int paragraphCount, const std::function<std::string(int)>& paragraph);

inline constexpr int kMinAutoWidth = 460;
// The window width that shows the widest line: characters times the average width, plus the frame
// and scroll bar allowance and the gutter; never below 460.
int AutoWindowWidth(int widestChars, int avgCharWidth, int gutterWidth);

// The number of editor rows for a text of paragraphCount paragraphs when `available` pixels are free
// below the window's top: as many as fit, no more than the text has, and at least 14.
int AutoWindowRows(int available, int lineHeight, int paragraphCount);

// The free height for AutoWindowRows: the work area below the window's top, less the window's
// chrome and a margin of 40; 150 when that leaves less than 100.
int AutoHeightAvailable(const QRect& workArea, int windowTop, int chrome);

// The top-left corner that brings a window back inside the work area: pulled up and left when it
// hangs over the bottom or right edge, then never above or left of the screen's origin.
QPoint KeepInside(const QRect& window, const QRect& workArea);

// The five bottom buttons (Copy, Cut, Paste, Save, Exit) as x and width, for a panel of width W.
struct ButtonSpan {
    int Left;
    int Width;
};
std::array<ButtonSpan, 5> BottomButtonSpans(int panelWidth);

} // namespace zandor
