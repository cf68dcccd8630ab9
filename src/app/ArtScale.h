// The art scale of the Options menu: the document editor's text drawn one to four times its size,
// the screen fonts as their cells enlarged pixel for pixel, so block art stays sharp and gap-free on
// large screens. Stored as "ArtScale" under "Options" and applied at once.
#pragma once

#include <QSize>

#include <array>
#include <functional>

class QAction;
class QMenu;

namespace zandor {

class TConfigSaver;

inline constexpr int kMaxArtScale = 4;

// A window size stored for a file type at scale 1, shown at `scale`: the whole window grows with
// its text, but never beyond the work area.
QSize ScaledWindowSize(QSize stored, int scale, QSize workArea);
// The size to store for a window shown at `scale` (the inverse of ScaledWindowSize inside the work
// area).
QSize UnscaledWindowSize(QSize shown, int scale);

// Owns the submenu it adds to the Options menu; refers to the settings store (which may be absent)
// and calls `apply` with every scale taken.
class TArtScale {
public:
    TArtScale(QMenu& options, TConfigSaver* store, std::function<void(int scale)> apply);
    TArtScale(const TArtScale&) = delete;
    TArtScale& operator=(const TArtScale&) = delete;

    int Scale() const { return FScale; }
    // Reads the stored scale (1 when none or a wrong one) and applies it.
    void Load();
    // A menu choice: stored and applied.
    void Choose(int scale);

    QMenu* ScaleMenu = nullptr;
    std::array<QAction*, kMaxArtScale> Items{};

private:
    void Show();

    TConfigSaver* FStore;
    std::function<void(int)> FApply;
    int FScale = 1;
};

} // namespace zandor
