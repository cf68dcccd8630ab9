// The main window's clipboard commands: Cut, Copy (trimmed when "Trim Selection before Copy" is
// on), Paste and Select All from the Edit menu, the context menu and the bottom buttons, the
// enabling of their items, and the copy after every selection with "Auto-Copy Selection to
// Clipboard".
#pragma once

#include "commands/TextTransforms.h"

#include <string>
#include <string_view>

namespace zandor {

class TZandorF;

// Refers to the window it serves (which owns it) and acts on its editor and settings. The window
// wires its items and buttons to these handlers.
class TClipboardCommands {
public:
    explicit TClipboardCommands(TZandorF& window);
    TClipboardCommands(const TClipboardCommands&) = delete;
    TClipboardCommands& operator=(const TClipboardCommands&) = delete;

    // The Paste items follow the desktop clipboard's changes from now on.
    void Wire();

    void Cut1Click();
    void Copy1Click() { CopySelection(); }
    void Paste1Click();
    void SelectAll1Click();

    // Copies the selection, trimmed at both ends (codes up to 32) when Trim is on; a column block
    // is copied as a block, untrimmed. Nothing without a selection.
    void CopySelection();
    bool PutClipboardText(std::string_view text);
    bool ClipboardHasText();

    // Cut and Copy of the Edit menu follow the selection (the context menu's stay enabled); both
    // Paste items follow the clipboard. Kept current, so that the items' keys act when they can.
    void UpdateSelectionItems();
    void UpdatePasteItems();

private:
    TZandorF& w_;
};

} // namespace zandor
