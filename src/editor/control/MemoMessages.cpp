#include "editor/control/MemoMessages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace zandor {

namespace {

constexpr int64_t MakeLParam(int low, int high) {
    return static_cast<int64_t>((static_cast<uint32_t>(high & 0xFFFF) << 16) |
                                static_cast<uint32_t>(low & 0xFFFF));
}

uint32_t MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    uint32_t state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    return state;
}

// Down, up and double-click messages of a button are three apart from the left button's.
uint32_t ButtonMessage(Qt::MouseButton button, uint32_t leftMessage) {
    switch (button) {
    case Qt::LeftButton:
        return leftMessage;
    case Qt::RightButton:
        return leftMessage + 3;
    case Qt::MiddleButton:
        return leftMessage + 6;
    default:
        return 0;
    }
}

bool MouseMessage(const QMouseEvent& e, uint32_t leftMessage, TMessageRecord& message) {
    uint32_t msg = leftMessage == wm::MOUSEMOVE ? wm::MOUSEMOVE : ButtonMessage(e.button(), leftMessage);
    if (msg == 0)
        return false;
    QPoint p = e.position().toPoint();
    message.Msg = msg;
    message.WParam = MouseKeyState(e.buttons(), e.modifiers());
    message.LParam = MakeLParam(p.x(), p.y());
    return true;
}

} // namespace

uint32_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<uint32_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + static_cast<uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Pause:
        return 0x13;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Menu:
        return 0x5D;
    default:
        return 0;
    }
}

bool MessageFromEvent(const QEvent& event, bool clientEvent, TMessageRecord& message) {
    message = TMessageRecord{};
    const QEvent::Type type = event.type();
    if (clientEvent) {
        switch (type) {
        case QEvent::Paint:
            message.Msg = wm::PAINT;
            return true;
        case QEvent::Resize: {
            const QSize size = static_cast<const QResizeEvent&>(event).size();
            message.Msg = wm::SIZE;
            message.LParam = MakeLParam(size.width(), size.height());
            return true;
        }
        case QEvent::MouseButtonPress:
            return MouseMessage(static_cast<const QMouseEvent&>(event), wm::LBUTTONDOWN, message);
        case QEvent::MouseButtonRelease:
            return MouseMessage(static_cast<const QMouseEvent&>(event), wm::LBUTTONUP, message);
        case QEvent::MouseButtonDblClick:
            return MouseMessage(static_cast<const QMouseEvent&>(event), wm::LBUTTONDBLCLK, message);
        case QEvent::MouseMove:
            return MouseMessage(static_cast<const QMouseEvent&>(event), wm::MOUSEMOVE, message);
        case QEvent::Wheel: {
            const auto& e = static_cast<const QWheelEvent&>(event);
            const bool horizontal = e.angleDelta().y() == 0 && e.angleDelta().x() != 0;
            const int delta = horizontal ? e.angleDelta().x() : e.angleDelta().y();
            const QPoint p = e.position().toPoint();
            message.Msg = horizontal ? wm::MOUSEHWHEEL : wm::MOUSEWHEEL;
            message.WParam = (static_cast<uint64_t>(static_cast<uint16_t>(delta)) << 16) |
                             MouseKeyState(e.buttons(), e.modifiers());
            message.LParam = MakeLParam(p.x(), p.y());
            return true;
        }
        default:
            return false;
        }
    }
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& e = static_cast<const QKeyEvent&>(event);
        message.Msg = type == QEvent::KeyPress ? wm::KEYDOWN : wm::KEYUP;
        message.WParam = VirtualKeyOf(e.key());
        // Repeat count 1; bit 30 marks a repeated key-down, bits 30 and 31 every key-up.
        message.LParam = 1;
        if (type == QEvent::KeyRelease)
            message.LParam |= int64_t(0xC0000000);
        else if (e.isAutoRepeat())
            message.LParam |= int64_t(0x40000000);
        return message.WParam != 0 || !e.text().isEmpty();
    }
    case QEvent::FocusIn:
        message.Msg = wm::SETFOCUS;
        return true;
    case QEvent::FocusOut:
        message.Msg = wm::KILLFOCUS;
        return true;
    case QEvent::Show:
        message.Msg = wm::SHOWWINDOW;
        message.WParam = 1;
        return true;
    case QEvent::Hide:
        message.Msg = wm::SHOWWINDOW;
        return true;
    case QEvent::ContextMenu:
        message.Msg = wm::CONTEXTMENU;
        return true;
    case QEvent::FontChange:
        message.Msg = wm::FONTCHANGED;
        return true;
    case QEvent::Enter:
        message.Msg = wm::MOUSEENTER;
        return true;
    case QEvent::Leave:
        message.Msg = wm::MOUSELEAVE;
        return true;
    default:
        break;
    }
    if (type == kTextChangedEvent) {
        message.Msg = wm::TEXTCHANGED;
        return true;
    }
    return false;
}

} // namespace zandor
