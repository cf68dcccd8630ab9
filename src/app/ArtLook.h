// The Art submenu of the Options menu: the screen fonts in the VGA's nine-pixel cells, and their
// rows stretched to the DOS aspect (at an Art Scale of x2 and more). Stored as "NineDotCells" and
// "DosAspect" under "Options"; a file whose SAUCE record tells its letter spacing or aspect is
// shown that way whatever the menu says.
#pragma once

#include "platform/ScreenCells.h"

#include <functional>

class QAction;
class QMenu;

namespace zandor {

class TConfigSaver;
struct TSauceRecord;

// Owns the submenu it adds to the Options menu; refers to the settings store (which may be absent)
// and calls `apply` whenever the choice changes.
class TArtLook {
public:
    TArtLook(QMenu& options, TConfigSaver* store, std::function<void()> apply);
    TArtLook(const TArtLook&) = delete;
    TArtLook& operator=(const TArtLook&) = delete;

    // What the menu says.
    platform::TScreenCells Chosen() const { return FChosen; }
    // The cells a document is shown in: the menu's, unless its SAUCE record says otherwise.
    platform::TScreenCells For(const TSauceRecord* sauce) const;

    // Reads the stored choice (off when none) and applies it.
    void Load();
    // A menu choice: stored and applied.
    void Choose(platform::TScreenCells cells);

    QMenu* ArtMenu = nullptr;
    QAction* NineDots = nullptr;
    QAction* DosAspect = nullptr;

private:
    void Show();
    // A stored choice; off when none or an unreadable one.
    bool Read(const char* key) const;

    TConfigSaver* FStore;
    std::function<void()> FApply;
    platform::TScreenCells FChosen;
};

} // namespace zandor
