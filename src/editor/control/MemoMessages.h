// The window messages the editor control's hooks see. Qt delivers events, but add-ons were
// written against message numbers and their parameters, so every event that the control handles
// is described to them as the message of the same kind.
#pragma once

#include <QEvent>

#include <cstdint>

namespace zandor {

// Message numbers of the events the control describes to its hooks.
namespace wm {
inline constexpr uint32_t SIZE = 0x0005;
inline constexpr uint32_t SETFOCUS = 0x0007;
inline constexpr uint32_t KILLFOCUS = 0x0008;
inline constexpr uint32_t PAINT = 0x000F;
inline constexpr uint32_t SHOWWINDOW = 0x0018;
inline constexpr uint32_t CONTEXTMENU = 0x007B;
inline constexpr uint32_t KEYDOWN = 0x0100;
inline constexpr uint32_t KEYUP = 0x0101;
inline constexpr uint32_t HSCROLL = 0x0114;
inline constexpr uint32_t VSCROLL = 0x0115;
inline constexpr uint32_t MOUSEMOVE = 0x0200;
inline constexpr uint32_t LBUTTONDOWN = 0x0201;
inline constexpr uint32_t LBUTTONUP = 0x0202;
inline constexpr uint32_t LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t RBUTTONDOWN = 0x0204;
inline constexpr uint32_t RBUTTONUP = 0x0205;
inline constexpr uint32_t RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t MBUTTONDOWN = 0x0207;
inline constexpr uint32_t MBUTTONUP = 0x0208;
inline constexpr uint32_t MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t MOUSEWHEEL = 0x020A;
inline constexpr uint32_t MOUSEHWHEEL = 0x020E;
inline constexpr uint32_t CUT = 0x0300;
inline constexpr uint32_t COPY = 0x0301;
inline constexpr uint32_t PASTE = 0x0302;
inline constexpr uint32_t UNDO = 0x0304;
// The control's background layout step.
inline constexpr uint32_t FORMATSTEP = 0x0401;
// The framework's notifications.
inline constexpr uint32_t FONTCHANGED = 0xB00E;
inline constexpr uint32_t TEXTCHANGED = 0xB012;
inline constexpr uint32_t MOUSEENTER = 0xB013;
inline constexpr uint32_t MOUSELEAVE = 0xB014;
} // namespace wm

// Scroll-bar request codes (the low word of a scroll message's WParam).
enum TScrollCode : uint16_t {
    sbLineUp = 0,
    sbLineDown = 1,
    sbPageUp = 2,
    sbPageDown = 3,
    sbThumbPosition = 4,
    sbThumbTrack = 5,
    sbTop = 6,
    sbBottom = 7,
    sbEndScroll = 8,
};

// Key-state flags of mouse messages.
inline constexpr uint32_t MK_LBUTTON = 0x01;
inline constexpr uint32_t MK_RBUTTON = 0x02;
inline constexpr uint32_t MK_SHIFT = 0x04;
inline constexpr uint32_t MK_CONTROL = 0x08;
inline constexpr uint32_t MK_MBUTTON = 0x10;

// The message being handled, as the hooks read and (Result) write it.
struct TMessageRecord {
    uint32_t Msg = 0;
    uint64_t WParam = 0;
    int64_t LParam = 0;
    int64_t Result = 0;
};

// A hook that sets Result to this before the control handles a message keeps it from doing so.
inline constexpr int64_t kSuppressMessage = 127;

// Event types of the control's own events: a background layout step (the format thread's wake-up)
// and the text-changed notification.
inline constexpr QEvent::Type kFormatStepEvent = static_cast<QEvent::Type>(QEvent::User + 1025);
inline constexpr QEvent::Type kTextChangedEvent = static_cast<QEvent::Type>(QEvent::User + 1026);

// The message an event stands for; false when the event has no counterpart (hooks do not see it).
// clientEvent: the event was delivered to the text area (paint, mouse, wheel, size); the others
// come to the control itself (keys, focus, the control's own events).
bool MessageFromEvent(const QEvent& event, bool clientEvent, TMessageRecord& message);

// The virtual-key code of a Qt key (letters and digits as their upper-case characters); 0 for keys
// without one.
uint32_t VirtualKeyOf(int qtKey);

} // namespace zandor
