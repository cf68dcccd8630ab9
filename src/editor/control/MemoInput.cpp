#include "editor/control/MemoInput.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoKeys.h"
#include "editor/control/MemoMouse.h"
#include "editor/control/MemoTextDrag.h"
#include "editor/control/MemoTyping.h"
#include "platform/CodePages.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zandor {

namespace {

constexpr Qt::KeyboardModifiers kKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

} // namespace

TMemoInput::TMemoInput(TArtMemo& memo)
    : FMemo(memo), FDrag(std::make_unique<TMemoTextDrag>(memo, FState)),
      FKeys(std::make_unique<TMemoKeys>(memo, FState, *FDrag)),
      FTyping(std::make_unique<TMemoTyping>(memo, FState)),
      FMouse(std::make_unique<TMemoMouse>(memo, FState, *FDrag)) {}

TMemoInput::~TMemoInput() = default;

void TMemoInput::BeginKey() {
    if (FKeyNesting++ == 0)
        FKeyMark.emplace(FMemo.Scroller());
}

void TMemoInput::EndKey() {
    if (--FKeyNesting == 0)
        FKeyMark.reset();
}

// ---- keys and characters ----------------------------------------------------------------------

void TMemoInput::KeyPress(QKeyEvent& event) {
    const auto alive = FMemo.AliveToken();
    const Qt::KeyboardModifiers shift = event.modifiers() & kKeys;
    // Shift+Alt swallows the character that follows, for as long as Alt stays down.
    if (shift == (Qt::ShiftModifier | Qt::AltModifier))
        FState.AltShift = true;
    else if (!(shift & Qt::AltModifier))
        FState.AltShift = false;

    int key = event.key();
    if (FMemo.OnKeyDown) {
        FMemo.OnKeyDown(&FMemo, key, shift);
        if (!*alive || key == 0)
            return;
    }
    BeginKey();
    struct TEnd {
        TMemoInput* Input;
        std::shared_ptr<const bool> Alive;
        ~TEnd() {
            if (*Alive)
                Input->EndKey();
        }
    } end{this, alive};

    if (FKeys->KeyDown(key, shift) || !*alive)
        return;
    Type(TypedCharacters(event, key, FMemo.Font().Charset));
}

void TMemoInput::KeyRelease(QKeyEvent& event) {
    const auto alive = FMemo.AliveToken();
    int key = event.key();
    if (FMemo.OnKeyUp) {
        FMemo.OnKeyUp(&FMemo, key, event.modifiers() & kKeys);
        if (!*alive)
            return;
    }
    // A held key repeats with a release before every press; only a real release counts.
    if (!event.isAutoRepeat())
        FState.KeyUpSeen = true;
    if (event.key() == Qt::Key_Alt)
        FState.AltShift = false;
    if (event.key() == Qt::Key_Control && FState.DraggingText)
        FDrag->CopyKey(false);
}

void TMemoInput::InputMethod(QInputMethodEvent& event) {
    std::vector<TTypedChar> chars;
    const uint8_t charset = FMemo.Font().Charset;
    for (QChar ch : event.commitString()) {
        const int byte = TypedByte(ch.unicode(), charset);
        if (byte >= 0)
            chars.push_back({static_cast<uint8_t>(byte), false});
    }
    if (chars.empty())
        return;
    BeginKey();
    const auto alive = FMemo.AliveToken();
    Type(chars);
    if (*alive)
        EndKey();
}

void TMemoInput::Type(const std::vector<TTypedChar>& chars) {
    const auto alive = FMemo.AliveToken();
    bool typed = false;
    bool scroll = false;
    for (TTypedChar typedChar : chars) {
        char ch = static_cast<char>(typedChar.Byte);
        if (FMemo.OnKeyPress) {
            FMemo.OnKeyPress(&FMemo, ch);
            if (!*alive)
                return;
            if (ch == 0)
                continue;
            // A character the handler replaced is taken as the keyboard would have typed it.
            if (static_cast<uint8_t>(ch) != typedChar.Byte)
                typedChar.Control = static_cast<uint8_t>(ch) <= 30 || static_cast<uint8_t>(ch) == 127;
        }
        const TMemoTyping::TResult result = FTyping->Character(static_cast<uint8_t>(ch), typedChar.Control);
        if (!*alive)
            return;
        typed = typed || result != TMemoTyping::Ignored;
        scroll = scroll || result == TMemoTyping::Scroll;
    }
    if (!typed)
        return;
    if (scroll)
        FMemo.ScrollInView();
    // While a key repeats there are no releases between its characters: each is shown at once.
    if (FState.KeyUpSeen)
        FState.KeyUpSeen = false;
    else
        FMemo.PaintNow();
}

int TMemoInput::TypedByte(char16_t ch, uint8_t charset) {
    if (ch < 0x20 || ch == 0x7F)
        return -1;
    return charset == platform::OemCharset ? platform::UnicodeToCp437(ch) : platform::UnicodeToCp1252(ch);
}

std::vector<TTypedChar> TMemoInput::TypedCharacters(const QKeyEvent& event, int key, uint8_t charset) {
    const Qt::KeyboardModifiers shift = event.modifiers() & kKeys;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool alt = shift & Qt::AltModifier;
    if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z)
        return {{static_cast<uint8_t>(key - Qt::Key_A + 1), true}};
    // Alt with a key is a command of the window (menus), not text.
    if (alt && !ctrl)
        return {};
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return ctrl ? std::vector<TTypedChar>{} : std::vector<TTypedChar>{{9, true}};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ctrl ? std::vector<TTypedChar>{} : std::vector<TTypedChar>{{13, true}};
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }
    // Ctrl with anything else types nothing; Ctrl+Alt is how some keyboards reach their third
    // level of characters.
    if (ctrl && !alt)
        return {};
    std::vector<TTypedChar> chars;
    for (QChar ch : event.text()) {
        const int byte = TypedByte(ch.unicode(), charset);
        if (byte >= 0)
            chars.push_back({static_cast<uint8_t>(byte), false});
    }
    return chars;
}

// ---- the mouse ------------------------------------------------------------------------------------

void TMemoInput::MousePress(QMouseEvent& event) {
    const auto alive = FMemo.AliveToken();
    const QPoint p = event.position().toPoint();
    const Qt::KeyboardModifiers shift = event.modifiers() & kKeys;
    FState.MouseDownPoint = p;
    FState.MovedSincePress = false;
    if (FMemo.OnMouseDown) {
        FMemo.OnMouseDown(&FMemo, event.button(), shift, p.x(), p.y());
        if (!*alive)
            return;
    }
    if (event.button() == Qt::LeftButton) {
        FMouse->LeftDown(shift, p, event.type() == QEvent::MouseButtonDblClick);
        if (!*alive)
            return;
    }
    if (!FMemo.hasFocus() && FMemo.focusPolicy() != Qt::NoFocus)
        FMemo.setFocus(Qt::MouseFocusReason);
    if (*alive && FMemo.OnAfterMouseDown)
        FMemo.OnAfterMouseDown(&FMemo, event.button(), shift, p.x(), p.y());
}

void TMemoInput::MouseDoubleClick(QMouseEvent& event) {
    const auto alive = FMemo.AliveToken();
    if (event.button() == Qt::LeftButton) {
        FMouse->DoubleClick(event.position().toPoint());
        if (!*alive)
            return;
        if (FMemo.OnDblClick) {
            FMemo.OnDblClick(&FMemo);
            if (!*alive)
                return;
        }
    }
    MousePress(event);
}

void TMemoInput::MouseMove(QMouseEvent& event) {
    const auto alive = FMemo.AliveToken();
    const QPoint p = event.position().toPoint();
    // The move that auto-scroll sends carries no keys; the keys held are those last seen.
    const Qt::KeyboardModifiers shift =
        FMemo.Scroller().InAutoScrollMove() ? FState.LastModifiers : event.modifiers() & kKeys;
    if (FMemo.OnMouseMove) {
        FMemo.OnMouseMove(&FMemo, shift, p.x(), p.y());
        if (!*alive)
            return;
    }
    FMouse->Move(shift, p);
}

void TMemoInput::MouseRelease(QMouseEvent& event) {
    const auto alive = FMemo.AliveToken();
    const QPoint p = event.position().toPoint();
    const Qt::KeyboardModifiers shift = event.modifiers() & kKeys;
    const Qt::MouseButton button = event.button();
    FMouse->Release(button, shift, p);
    if (!*alive)
        return;
    if (FMemo.OnMouseUp) {
        FMemo.OnMouseUp(&FMemo, button, shift, p.x(), p.y());
        if (!*alive)
            return;
    }
    if (button == Qt::RightButton) {
        FMemo.ShowContextMenu(FMemo.viewport()->mapToGlobal(p));
        if (!*alive)
            return;
    }
    if (button == Qt::LeftButton && !FMemo.DisplayOnly())
        FMemo.ScrollInView();
    if (button == Qt::LeftButton && FMemo.viewport()->rect().contains(p) && FMemo.OnClick)
        FMemo.OnClick(&FMemo);
}

} // namespace zandor
