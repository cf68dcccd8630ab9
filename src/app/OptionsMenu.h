// The Options menu of the main window: the check marks shown when it opens and the option toggles
// with their immediate effects on the window and the editor.
#pragma once

#include "platform/Colors.h"

#include <functional>
#include <optional>

namespace zandor {

class TZandorF;

// Refers to the window it serves (which owns it) and acts on its settings, editor and panels.
class TOptionsMenu {
public:
    explicit TOptionsMenu(TZandorF& window);
    TOptionsMenu(const TOptionsMenu&) = delete;
    TOptionsMenu& operator=(const TOptionsMenu&) = delete;

    // Connects every Options item of the main menu to its toggle.
    void Wire();

    // Menu preparation: the check marks show the settings; "Set Font Style and Color for" names the
    // current extension.
    void Options1Click();
    void InitialFocus1Click();
    void Windowdimensions1Click();

    void AlwaysonTop1Click();
    void miShowButtonsClick();
    void Showlinenumbers1Click();
    void Showspacestabs1Click();
    void miShowCRClick();
    void DragDrop1Click();
    void LaunchURLs1Click();
    void Highlightkeywords1Click();
    void AllowonlyoneZandorinstance1Click();
    void Wordwrap1Click();
    void Exitbutton1Click();
    void Textfield1Click();
    void Samewindowforallfiletypes1Click();
    void Individualdimensions1Click();
    void Setcolor1Click();
    void SetHighlightBackgroundColor1Click();
    void SetHighlightColor1Click();

    // Asks the user for a colour starting at the given one; nothing when the dialog was cancelled.
    // Replaced by tests.
    std::function<std::optional<platform::TColor>(platform::TColor initial)> ChooseColor;

    // The editor options that follow DragDrop and the gutter that follows LineNumbers.
    void ApplyDragDrop();
    void ApplyLineNumbers();

private:
    TZandorF& w_;
};

} // namespace zandor
