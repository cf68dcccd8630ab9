// Key-down handling of the editor control, in its order: nothing inside an update bracket, the keys
// of a text drag, the scrolling keys of a display-only control, the Ctrl hot keys, the context-menu
// key, and the navigation and editing keys (caret moves with and without Shift, column blocks with
// Shift+Alt, Backspace, Delete, Insert).
#pragma once

#include "editor/control/MemoCaretKeys.h"

#include <Qt>

#include <cstdint>
#include <string>

namespace zandor {

class TArtMemo;
class TArtNavigator;
class TMemoTextDrag;
struct TInputState;

// Refers to its control, the input state and the text drag, all owned elsewhere; owns the caret keys.
class TMemoKeys {
public:
    TMemoKeys(TArtMemo& memo, TInputState& state, TMemoTextDrag& drag);

    // After OnKeyDown: true when the key was consumed, so that it types no character.
    bool KeyDown(int key, Qt::KeyboardModifiers shift);

private:
    void ScrollOnly(int key, bool ctrl);
    bool HotKey(int key, bool shift);
    bool NavigationKey(int key, bool shift, bool ctrl, bool alt);

    void Finish();

    // ---- edits
    void Backspace(bool ctrl);
    void Delete(bool shift, bool ctrl);
    void Insert(bool shift, bool ctrl);
    // Replaces [from, to) by nothing; pending blanks go in front when keepPending (the SelText rule).
    void Erase(int32_t from, int32_t to, bool keepPending = false);
    int32_t BackIndentTarget(int32_t column);

    TArtMemo& FMemo;
    TInputState& FState;
    TMemoTextDrag& FDrag;
    TMemoCaretKeys FCaretKeys;
    Qt::KeyboardModifiers FShift;
    TArtNavigator* FNav; // owned by the control's registry
};

} // namespace zandor
