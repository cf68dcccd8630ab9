// Helpers of the keyboard and mouse tests: a shown control in the 8x16 screen font (one character
// is 8 pixels wide, the text starts at the 8-pixel left margin), real key and mouse events sent to
// it, and a short notation for a text with its caret and selection:
//   "ab|c"   caret at 2;   "a^bc|"  anchor at 1, caret at 3 (SelStart 3, SelLength -2);
//   "\n"     a paragraph break (two characters, CR LF);
//   "|__"    two blanks pending beyond the line end after the caret ('~' for a pending tab).
#pragma once

#include "MemoTestSupport.h"
#include "PaintTestSupport.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "platform/FontValue.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

// A control that notes the clipboard operations its keys ask for instead of doing them.
class TRecordingMemo : public TArtMemo {
public:
    using TArtMemo::TArtMemo;
    void CopyToClipboard() override { Calls.push_back("copy"); }
    void CutToClipboard() override { Calls.push_back("cut"); }
    void PasteFromClipboard() override { Calls.push_back("paste"); }
    std::vector<std::string> Calls;
};

struct TNotationState {
    std::string Text; // with CR LF breaks
    int32_t Caret = 0;
    int32_t Anchor = 0;
    std::string Pending;
};

inline TNotationState ParseNotation(std::string_view notation) {
    TNotationState state;
    bool anchorSeen = false;
    for (size_t i = 0; i < notation.size(); ++i) {
        const char c = notation[i];
        if (c == '|') {
            state.Caret = static_cast<int32_t>(state.Text.size());
            while (i + 1 < notation.size() && (notation[i + 1] == '_' || notation[i + 1] == '~'))
                state.Pending += notation[++i] == '_' ? ' ' : '\t';
        } else if (c == '^') {
            state.Anchor = static_cast<int32_t>(state.Text.size());
            anchorSeen = true;
        } else if (c == '\n') {
            state.Text += "\r\n";
        } else {
            state.Text += c;
        }
    }
    if (!anchorSeen)
        state.Anchor = state.Caret;
    return state;
}

inline std::string Notation(TArtMemo& memo) {
    const std::string text = memo.Text();
    const int32_t caret = memo.SelStart();
    const int32_t anchor = caret + memo.SelLength();
    std::string out;
    for (int32_t i = 0; i <= static_cast<int32_t>(text.size()); ++i) {
        if (i == anchor && anchor != caret)
            out += '^';
        if (i == caret) {
            out += '|';
            for (char c : memo.PendingBlanks())
                out += c == '\t' ? '~' : '_';
        }
        if (i == static_cast<int32_t>(text.size()))
            break;
        if (text[static_cast<size_t>(i)] == '\r' && i + 1 < static_cast<int32_t>(text.size()) &&
            text[static_cast<size_t>(i) + 1] == '\n') {
            out += '\n';
            ++i;
        } else {
            out += text[static_cast<size_t>(i)];
        }
    }
    return out;
}

// The text a key types on a keyboard without an input method (what the window system puts in
// the event).
inline QString KeyText(int key, Qt::KeyboardModifiers mods) {
    const bool ctrl = mods & Qt::ControlModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        if (ctrl)
            return QString(QChar(key - Qt::Key_A + 1));
        const QChar c(key - Qt::Key_A + 'a');
        return (mods & Qt::ShiftModifier) ? c.toUpper() : c;
    }
    switch (key) {
    case Qt::Key_Space:
        return QStringLiteral(" ");
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Delete:
        return QString(QChar(0x7F));
    case Qt::Key_Escape:
        return QString(QChar(0x1B));
    default:
        return {};
    }
}

// Waits for events (timers included) until done() holds or five seconds passed; returns done().
inline bool WaitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterTestFonts()) << ScreenFontsFolder();
        memo = std::make_unique<TRecordingMemo>();
        memo->SetBorderStyle(bsNone);
        memo->SetScrollBars(ssNone);
        memo->SetWordWrap(false);
        memo->SetUpdateMode(umImmediate);
        memo->SetScrollTime(0);
        platform::FontValue font;
        font.Name = platform::LargeScreenFontFace;
        font.Height = 16;
        font.Charset = platform::OEM_CHARSET;
        memo->SetFont(font);
        memo->resize(400, 170);
        memo->show();
        QCoreApplication::processEvents();
        memo->HandleNeeded();
        ASSERT_EQ(memo->AvgCharWidth(), 8);
    }

    void Load(std::string_view notation) {
        const TNotationState state = ParseNotation(notation);
        LoadText(*memo, state.Text);
        memo->Editor().Select(state.Caret, state.Anchor);
        if (!state.Pending.empty())
            memo->Editor().SetPendingBlanks(state.Pending);
    }

    std::string State() { return Notation(*memo); }

    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        KeyWithText(key, mods, KeyText(key, mods));
    }

    void KeyWithText(int key, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(memo.get(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(memo.get(), &release);
    }

    // The point inside the left part of character `column` of display line `line` (both from 0),
    // where a click puts the caret before that character.
    QPoint At(int column, int line) const {
        return QPoint(memo->LeftMargin() + 8 * column + 2 - memo->LeftOrigin(),
                      line * memo->LinePixels() + 3 - memo->TopOrigin());
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, memo->viewport()->mapToGlobal(at), button, buttons, mods);
        QCoreApplication::sendEvent(memo->viewport(), &e);
    }
    void Press(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, at, button, button, mods);
    }
    void MoveHeld(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, mods);
    }
    void Hover(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void Release(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier,
                 Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton, mods);
    }
    void Click(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(at, mods);
        Release(at, mods);
    }
    void DoubleClick(QPoint at) {
        Click(at);
        Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        Release(at);
    }

    std::unique_ptr<TRecordingMemo> memo;
};

} // namespace zandor::test
