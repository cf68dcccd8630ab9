// Zooming from the keyboard and the wheel: Ctrl+plus, Ctrl+minus, Ctrl+0 on the keypad (on the digit
// row it is the bookmark key), and the wheel with Ctrl.
// The screen fonts zoom by the Art Scale, in whole multiples of their cells and stored as the
// Options menu stores it; other fonts zoom by their size in points, for this window only, and
// Ctrl+0 gives back the size the document opened in. Each step says where it is ("Art Scale ×2",
// "14 pt") for a moment.
#pragma once

#include "platform/FontValue.h"

#include <QString>

class QObject;
#include <Qt>

#include <functional>
#include <optional>

namespace zandor {

enum class TZoomStep { In, Out, Reset };

// The step a key with its modifiers asks for: Ctrl with "+" or "=" (the key "+" is on) or "-", on
// the main keys or the keypad, and Ctrl with the keypad's "0"; nothing for any other key.
std::optional<TZoomStep> ZoomStepForKey(int key, Qt::KeyboardModifiers modifiers);
// The step a turn of the wheel asks for: with Ctrl, away from the user zooms in.
std::optional<TZoomStep> ZoomStepForWheel(int delta, Qt::KeyboardModifiers modifiers);

// The next font size on the usual ladder of sizes (6 to 72 points), or the size itself at its end.
int ZoomedPoints(int points, TZoomStep step);

// What zooming reads and changes in the window.
struct TZoomHooks {
    std::function<platform::FontValue()> Font; // the document editor's font
    std::function<void(const platform::FontValue&)> ApplyFont;
    std::function<int()> ArtScale;
    std::function<void(int)> ChooseArtScale;
    std::function<void(const QString&)> Show; // a note in the status panel
};

class TZoom {
public:
    // Also takes the zoom keys pressed in `editor` (from an event filter, which sees the keypad's
    // flag that the editor's own key events leave out) and its Ctrl turns of the wheel.
    explicit TZoom(TZoomHooks hooks) : FHooks(std::move(hooks)) {}
    // Takes the zoom keys pressed in `widget` before it sees them.
    void TakeKeysOf(QObject& widget);

    void Step(TZoomStep step);
    // A turn of the wheel: with Ctrl a step for each notch (120, gathered from the finer turns of
    // touch pads) and true; false for a turn that scrolls.
    bool Wheel(int delta, Qt::KeyboardModifiers modifiers);

private:
    TZoomHooks FHooks;
    // The font before the first step, and the one the last step applied: when the editor's font is
    // no longer the one applied (another document, the font dialog), zooming starts afresh.
    std::optional<platform::FontValue> FOriginal;
    std::optional<platform::FontValue> FApplied;
    int FWheelRemainder = 0;
};

} // namespace zandor
