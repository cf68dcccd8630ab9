// Keyboard and mouse input of the editor control: the widget's key, character, input-method and
// mouse events come here, in the order the control answers them: the application's own event
// first, then the control's rules (keys in MemoKeys, typed characters in MemoTyping, the mouse in
// MemoMouse, dragged text in MemoTextDrag), which move the caret, select and edit through the
// editing core.
#pragma once

#include "editor/control/MemoScroller.h"

#include <QPoint>
#include <Qt>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;

namespace zandor {

class TArtMemo;
class TMemoKeys;
class TMemoMouse;
class TMemoTextDrag;
class TMemoTyping;

// What the input remembers between events (all on the UI thread).
struct TInputState {
    // A key went down with exactly Shift+Alt; the next typed character is swallowed. Kept while Alt
    // stays down.
    bool AltShift = false;
    // A key went up since the last typed character: that character skips the immediate repaint.
    bool KeyUpSeen = false;
    // The left button went down inside the control and is still down.
    bool MouseDown = false;
    // Set by a double-click until the button goes up: dragging extends by whole words of the
    // word first double-clicked (WordFrom .. WordTo).
    bool WordSelect = false;
    int32_t WordFrom = 0;
    int32_t WordTo = 0;
    // Where the button went down, and whether the mouse moved since.
    QPoint MouseDownPoint;
    bool MovedSincePress = false;
    // A press in the left margin selected a line: dragging selects whole lines from it.
    bool LineSelect = false;
    int32_t LineFrom = 0;
    int32_t LineTo = 0;
    // The mouse is over the selected text, where a press starts dragging it.
    bool OverSelection = false;
    // Selected text is being dragged; Outside while the mouse is outside the text area.
    bool DraggingText = false;
    bool DragOutside = false;
    // The last place and keys the mouse was seen with.
    QPoint LastMouse;
    Qt::KeyboardModifiers LastModifiers;
    // Which cursor the mouse at rest shows (-1: another part of the input set one).
    int ShownCursor = 0;
    // Context number of the run last clicked.
    int32_t Context = 0;
};

// A character typed, as the control's character handling takes it: a byte of the font's character
// set, and whether it stands for a control key (Ctrl+letter, Tab, Enter) rather than for text.
struct TTypedChar {
    uint8_t Byte;
    bool Control;
};

// Refers to its control (which owns it); owns the handlers of keys, characters, mouse and text
// drag, and the keyboard-scroll mark while a key is handled.
class TMemoInput {
public:
    explicit TMemoInput(TArtMemo& memo);
    ~TMemoInput();
    TMemoInput(const TMemoInput&) = delete;
    TMemoInput& operator=(const TMemoInput&) = delete;

    // ---- the widget's events, each with the application's event at its place
    // Key-down (OnKeyDown first), then the typed characters the key stands for (OnKeyPress first).
    void KeyPress(QKeyEvent& event);
    // OnKeyUp, then what a released key ends.
    void KeyRelease(QKeyEvent& event);
    // Text from an input method or a dead key, typed as characters.
    void InputMethod(QInputMethodEvent& event);
    // OnMouseDown, the control's press, the focus, OnAfterMouseDown.
    void MousePress(QMouseEvent& event);
    // The double-click's word selection and OnDblClick, then the press it also is.
    void MouseDoubleClick(QMouseEvent& event);
    void MouseMove(QMouseEvent& event);
    // The control's release, OnMouseUp, the right button's menu, OnClick.
    void MouseRelease(QMouseEvent& event);

    // ---- what the control reads
    bool DraggingText() const { return FState.DraggingText; }
    int32_t Context() const { return FState.Context; }
    const TInputState& State() const { return FState; }

    // The characters a key event types: Ctrl+letter as its control code, Tab and Enter, and the
    // event's text turned into bytes of the character set (OEM: code page 437, else the ANSI code
    // page); a character without a byte there types nothing.
    static std::vector<TTypedChar> TypedCharacters(const QKeyEvent& event, int key, uint8_t charset);
    // The byte that stands for a character of typed text in the character set, or -1.
    static int TypedByte(char16_t ch, uint8_t charset);

private:
    // Types characters one by one (OnKeyPress first), then brings the caret into view.
    void Type(const std::vector<TTypedChar>& chars);
    void BeginKey();
    void EndKey();

    TArtMemo& FMemo;
    TInputState FState;
    std::unique_ptr<TMemoTextDrag> FDrag;
    std::unique_ptr<TMemoKeys> FKeys;
    std::unique_ptr<TMemoTyping> FTyping;
    std::unique_ptr<TMemoMouse> FMouse;
    // Held while a key is handled, so that scrolls within 200 ms of each other are shown at once.
    int FKeyNesting = 0;
    std::optional<TMemoScroller::TKeyboardScroll> FKeyMark;
};

} // namespace zandor
