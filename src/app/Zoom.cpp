#include "app/Zoom.h"

#include "app/ArtScale.h"
#include "platform/ScreenFonts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include <algorithm>
#include <array>

namespace zandor {

namespace {

constexpr std::array<int, 18> kLadder{6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Hands the zoom keys of the widget it watches to the zoom and keeps them from the widget.
class TZoomKeys : public QObject {
public:
    TZoomKeys(QObject& widget, TZoom& zoom) : QObject(&widget), FZoom(zoom) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<TZoomStep> step = ZoomStepForKey(key->key(), key->modifiers());
        if (!step)
            return false;
        FZoom.Step(*step);
        return true;
    }

private:
    TZoom& FZoom;
};

} // namespace

void TZoom::TakeKeysOf(QObject& widget) {
    widget.installEventFilter(new TZoomKeys(widget, *this));
}

std::optional<TZoomStep> ZoomStepForKey(int key, Qt::KeyboardModifiers modifiers) {
    // Shift may be down for "+", the keypad's keys carry their own flag; Alt and Meta make other keys.
    const Qt::KeyboardModifiers other = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (other != Qt::ControlModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return TZoomStep::In;
    case Qt::Key_Minus:
        return TZoomStep::Out;
    case Qt::Key_0:
        // Ctrl+0 on the digit row jumps to bookmark 0; the keypad's 0 is free.
        if (modifiers & Qt::KeypadModifier)
            return TZoomStep::Reset;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<TZoomStep> ZoomStepForWheel(int delta, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & ~Qt::ShiftModifier) != Qt::ControlModifier || delta == 0)
        return std::nullopt;
    return delta > 0 ? TZoomStep::In : TZoomStep::Out;
}

int ZoomedPoints(int points, TZoomStep step) {
    if (step == TZoomStep::In) {
        const auto next = std::upper_bound(kLadder.begin(), kLadder.end(), points);
        return next == kLadder.end() ? std::max(points, kLadder.back()) : *next;
    }
    if (step == TZoomStep::Out) {
        const auto next = std::lower_bound(kLadder.begin(), kLadder.end(), points);
        return next == kLadder.begin() ? std::min(points, kLadder.front()) : *(next - 1);
    }
    return points;
}

void TZoom::Step(TZoomStep step) {
    const platform::FontValue font = FHooks.Font();
    if (platform::IsScreenFontFace(font.Name)) {
        const int scale = FHooks.ArtScale();
        const int next = step == TZoomStep::Reset ? 1
                         : step == TZoomStep::In  ? std::min(scale + 1, kMaxArtScale)
                                                  : std::max(scale - 1, 1);
        if (next != scale)
            FHooks.ChooseArtScale(next);
        FHooks.Show(QStringLiteral("Art Scale \u00D7%1").arg(FHooks.ArtScale()));
        return;
    }
    if (!FApplied || !(font == *FApplied))
        FOriginal = font;
    platform::FontValue next = *FOriginal;
    if (step != TZoomStep::Reset) {
        next = font;
        next.Size = ZoomedPoints(font.PointSize(), step);
        next.Height = 0;
    }
    if (!(next == font))
        FHooks.ApplyFont(next);
    FApplied = FHooks.Font();
    FHooks.Show(QStringLiteral("%1 pt").arg(FApplied->PointSize()));
}

bool TZoom::Wheel(int delta, Qt::KeyboardModifiers modifiers) {
    const std::optional<TZoomStep> step = ZoomStepForWheel(delta, modifiers);
    if (!step) {
        FWheelRemainder = 0;
        return (modifiers & Qt::ControlModifier) != 0; // a Ctrl turn never scrolls
    }
    FWheelRemainder += delta;
    while (FWheelRemainder >= 120 || FWheelRemainder <= -120) {
        const int notch = FWheelRemainder > 0 ? 120 : -120;
        FWheelRemainder -= notch;
        Step(notch > 0 ? TZoomStep::In : TZoomStep::Out);
    }
    return true;
}

} // namespace zandor
