// The caret of an editor control as plain state: the rectangle it is drawn in, whether it exists,
// and what the control last reported about its place and style, so that a caret update knows
// which notifications are due.
#pragma once

#include <QRect>
#include <QRegion>

#include <cstdint>
#include <string>

namespace zandor {

// Owns plain values only.
class TMemoCaret {
public:
    // The caret exists while its control has the focus and shows one.
    bool Created() const { return FCreated; }
    void SetCreated(bool value) { FCreated = value; }
    // Re-created for a new width while focused: one pixel short of the line height.
    bool Short() const { return FShort; }
    void SetShort(bool value) { FShort = value; }

    bool Shown() const { return FShown; }
    // Where it stands on screen; empty while it is not shown.
    QRect Rect() const { return FShown ? FRect : QRect(); }

    // Shows the caret at `rect`; returns the area to repaint (old and new place, or nothing when it
    // stays put and is not re-created).
    QRegion ShowAt(const QRect& rect, bool recreate);
    // Returns the area it covered.
    QRegion Hide();

    // Width in pixels: the setting, or one pixel per 14 of line height plus one when it is 0.
    static int Width(int setting, int lineHeight);

    // Records where the caret stands now; returns the notification codes due: caret moved (its
    // position or the pending blanks changed) and style changed.
    int32_t Record(int32_t pos, const std::string& pendingBlanks, int style);

private:
    bool FCreated = false;
    bool FShort = false;
    bool FShown = false;
    QRect FRect;
    int32_t FLastPos = 0;
    std::string FLastPendingBlanks;
    int FLastStyle = 0;
};

} // namespace zandor
