// Typed characters in the editor control: the control keys (Ctrl+A, Ctrl+C, Ctrl+E, Tab, Enter,
// Ctrl+V, Ctrl+X) and printable characters, with overwrite mode, automatic and smart indentation
// and blanks left pending at line ends.
#pragma once

#include <cstdint>

namespace zandor {

class TArtMemo;
class TArtNavigator;
struct TInputState;

// Refers to its control and the input state, both owned elsewhere.
class TMemoTyping {
public:
    enum TResult { Ignored, NoScroll, Scroll };

    TMemoTyping(TArtMemo& memo, TInputState& state);

    // One typed byte, after OnKeyPress. control: it stands for a control key, not for text.
    // Returns whether it was taken, and whether the caret is to be brought into view.
    TResult Character(uint8_t ch, bool control);

private:
    TResult ControlCharacter(uint8_t ch);
    void Printable(char ch);
    void Enter();
    void Tab();

    TArtMemo& FMemo;
    TInputState& FState;
    TArtNavigator* FNav; // owned by the control's registry
};

} // namespace zandor
