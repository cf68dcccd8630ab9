#include "editor/control/ArtMemo.h"
#include "editor/engine/FormatThread.h"

#include "MemoTestSupport.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace zandor {
namespace {

using test::TRecordingSink;

void SendKey(TArtMemo& memo, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&memo, &press);
}

void SendLeftPress(TArtMemo& memo, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, memo.viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(memo.viewport(), &press);
}

TEST(MessageHooks, HooksSeeTheMessageBeforeAndAfterTheControlHandlesIt) {
    TArtMemo memo;
    // Read-only: the key types nothing, so no text-changed message comes in between.
    memo.SetReadOnly(true);
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    std::vector<std::string> order;
    hook.During = [&](int32_t codes) { order.push_back(codes == nc::BeforeMessage ? "before" : "after"); };
    memo.OnKeyDown = [&](TArtMemo*, int& key, Qt::KeyboardModifiers) {
        order.push_back("key " + std::to_string(key));
    };
    SendKey(memo, Qt::Key_A, "a");
    EXPECT_EQ(order, (std::vector<std::string>{"before", "key " + std::to_string(Qt::Key_A), "after"}));
    ASSERT_EQ(hook.Calls.size(), 2u);
    EXPECT_EQ(hook.Calls[0].Msg, wm::KEYDOWN);
    EXPECT_EQ(hook.Calls[1].Msg, wm::KEYDOWN);
    EXPECT_EQ(memo.CurrentMessage().WParam, uint64_t('A'));
    EXPECT_EQ(hook.Senders[0], &memo.Core());
}

TEST(MessageHooks, MouseMessagesCarryThePointAndTheKeyState) {
    TArtMemo memo;
    memo.show();
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    std::vector<TMessageRecord> seen;
    hook.During = [&](int32_t codes) {
        if (codes == nc::BeforeMessage)
            seen.push_back(memo.CurrentMessage());
    };
    int afterDown = 0;
    memo.OnAfterMouseDown = [&](TArtMemo*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        EXPECT_EQ(button, Qt::LeftButton);
        EXPECT_EQ(x, 12);
        EXPECT_EQ(y, 7);
        ++afterDown;
    };
    SendLeftPress(memo, QPoint(12, 7));
    EXPECT_EQ(afterDown, 1);
    bool found = false;
    for (const TMessageRecord& m : seen)
        if (m.Msg == wm::LBUTTONDOWN) {
            found = true;
            EXPECT_EQ(m.LParam, (7 << 16) | 12);
            EXPECT_EQ(m.WParam, MK_LBUTTON | MK_SHIFT);
        }
    EXPECT_TRUE(found);
}

TEST(MessageHooks, ResultOf127SuppressesTheControlsOwnHandlingButNotTheAfterHooks) {
    TArtMemo memo;
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    hook.During = [&](int32_t codes) {
        if (codes == nc::BeforeMessage && memo.CurrentMessage().Msg == wm::KEYDOWN)
            memo.CurrentMessage().Result = kSuppressMessage;
    };
    int keys = 0;
    memo.OnKeyDown = [&](TArtMemo*, int&, Qt::KeyboardModifiers) { ++keys; };
    SendKey(memo, Qt::Key_B, "b");
    EXPECT_EQ(keys, 0);
    ASSERT_EQ(hook.Calls.size(), 2u);
    EXPECT_EQ(hook.Calls[1].Codes, nc::AfterMessage);
    EXPECT_EQ(hook.Calls[1].Msg, wm::KEYDOWN);

    // Another result lets the message through.
    hook.During = [&](int32_t codes) {
        if (codes == nc::BeforeMessage)
            memo.CurrentMessage().Result = 126;
    };
    SendKey(memo, Qt::Key_B, "b");
    EXPECT_EQ(keys, 1);
}

TEST(MessageHooks, TextChangeIsAMessageWhileHooksListen) {
    TArtMemo memo;
    TRecordingSink hook(&memo);
    std::vector<uint32_t> messages;
    hook.During = [&](int32_t codes) {
        if (codes == nc::BeforeMessage)
            messages.push_back(memo.CurrentMessage().Msg);
    };
    int changes = 0;
    memo.OnChange = [&](TArtMemo*) {
        ++changes;
        EXPECT_EQ(messages, std::vector<uint32_t>{wm::TEXTCHANGED}) << "the message comes before OnChange";
    };
    memo.MessageHooks().Add(&hook);
    memo.SetSelText("x");
    EXPECT_EQ(changes, 1);
    memo.MessageHooks().Remove(&hook);
    messages.clear();
    memo.OnChange = nullptr;
    memo.SetSelText("y");
    EXPECT_TRUE(messages.empty());
}

TEST(MessageHooks, FormatStepsPassTheHooksAsTheirOwnMessage) {
    TArtMemo memo;
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    QEvent step(kFormatStepEvent);
    QCoreApplication::sendEvent(&memo, &step);
    ASSERT_EQ(hook.Calls.size(), 2u);
    EXPECT_EQ(hook.Calls[0].Msg, wm::FORMATSTEP);
    EXPECT_EQ(hook.Calls[0].Msg, 1025u);
}

TEST(MessageHooks, ReleaseInsideItsOwnHandlerWaitsUntilTheHandlerReturned) {
    QPointer<TArtMemo> memo = new TArtMemo;
    memo->SetReadOnly(true);
    TRecordingSink hook(memo.data());
    memo->MessageHooks().Add(&hook);
    memo->OnKeyDown = [&](TArtMemo* sender, int&, Qt::KeyboardModifiers) {
        sender->Release();
        // Still whole: the rest of the handling may use it.
        EXPECT_EQ(sender->CharCount(), 0);
    };
    SendKey(*memo, Qt::Key_C, "c");
    ASSERT_FALSE(memo.isNull());
    EXPECT_TRUE(memo->isHidden());
    EXPECT_EQ(hook.Calls.size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(memo.isNull());
}

TEST(MessageHooks, ControlDeletedByABeforeHookIsNotTouchedAgain) {
    auto* memo = new TArtMemo;
    TRecordingSink hook;
    memo->MessageHooks().Add(&hook);
    const int before = TArtMemo::InstanceCount();
    hook.During = [&](int32_t codes) {
        if (codes == nc::BeforeMessage)
            delete memo;
    };
    TMessageRecord message;
    message.Msg = wm::PAINT;
    bool handled = false;
    // The hook deletes the control; neither the handling nor the after-hooks may run.
    EXPECT_TRUE(memo->DispatchMessage(message, [&] {
        handled = true;
        return true;
    }));
    EXPECT_FALSE(handled);
    EXPECT_EQ(hook.Calls.size(), 1u);
    EXPECT_EQ(TArtMemo::InstanceCount(), before - 1);
}

class PerformedMessages : public ::testing::TestWithParam<std::pair<uint32_t, bool>> {};

TEST_P(PerformedMessages, PassTheHooksWithTheirParametersAndReportWhetherTheControlKnowsThem) {
    const auto [msg, known] = GetParam();
    TArtMemo memo;
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    std::vector<TMessageRecord> seen;
    hook.During = [&](int32_t) { seen.push_back(memo.CurrentMessage()); };
    EXPECT_EQ(memo.Perform(msg, 7, 9), known);
    ASSERT_EQ(hook.Codes(), (std::vector<int32_t>{nc::BeforeMessage, nc::AfterMessage}));
    for (const TMessageRecord& m : seen) {
        EXPECT_EQ(m.Msg, msg);
        EXPECT_EQ(m.WParam, 7u);
        EXPECT_EQ(m.LParam, 9);
    }
}

INSTANTIATE_TEST_SUITE_P(MessageHooks, PerformedMessages,
                         // No clipboard exchange yet: its messages pass the hooks but are not handled.
                         ::testing::Values(std::pair{wm::CUT, false}, std::pair{wm::COPY, false},
                                           std::pair{wm::PASTE, false}, std::pair{wm::UNDO, true},
                                           std::pair{wm::FORMATSTEP, true}, std::pair{0x0303u, false}));

// The application's handler destroys the control outright; the control's own handling and its
// after-hooks stop there instead of touching freed memory (the sanitizer build checks).
enum class TDeletingHandler { KeyDown, KeyPress, MouseDown, AfterMouseDown, MouseUp, DoubleClick, MouseMove };

class DeletedInsideAHandler : public ::testing::TestWithParam<TDeletingHandler> {};

TEST_P(DeletedInsideAHandler, StopsTheControlsHandlingWithoutTouchingIt) {
    QWidget window;
    auto* memo = new TArtMemo(&window);
    window.show();
    TRecordingSink hook;
    memo->MessageHooks().Add(&hook);
    const int before = TArtMemo::InstanceCount();
    int selMoves = 0;
    memo->OnSelMove = [&](TArtMemo*) { ++selMoves; };
    auto destroy = [&memo] { delete memo; };
    const QPoint at(12, 5);
    auto mouse = [&](QEvent::Type type) {
        QMouseEvent e(type, at, memo->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(memo->viewport(), &e);
    };
    switch (GetParam()) {
    case TDeletingHandler::KeyDown:
        memo->OnKeyDown = [&](TArtMemo*, int&, Qt::KeyboardModifiers) { destroy(); };
        SendKey(*memo, Qt::Key_A, "a");
        break;
    case TDeletingHandler::KeyPress:
        memo->OnKeyPress = [&](TArtMemo*, char&) { destroy(); };
        SendKey(*memo, Qt::Key_A, "a");
        break;
    case TDeletingHandler::MouseDown:
        memo->OnMouseDown = [&](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { destroy(); };
        mouse(QEvent::MouseButtonPress);
        break;
    case TDeletingHandler::AfterMouseDown:
        memo->OnAfterMouseDown = [&](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            destroy();
        };
        mouse(QEvent::MouseButtonPress);
        break;
    case TDeletingHandler::MouseUp:
        memo->OnMouseUp = [&](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { destroy(); };
        mouse(QEvent::MouseButtonRelease);
        break;
    case TDeletingHandler::MouseMove:
        memo->OnMouseMove = [&](TArtMemo*, Qt::KeyboardModifiers, int, int) { destroy(); };
        mouse(QEvent::MouseMove);
        break;
    case TDeletingHandler::DoubleClick:
        // The double-click is answered before the press it also is.
        memo->OnDblClick = [&](TArtMemo*) { destroy(); };
        memo->OnMouseDown = [&](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            ADD_FAILURE() << "press event of a deleted control";
        };
        mouse(QEvent::MouseButtonDblClick);
        break;
    }
    EXPECT_EQ(TArtMemo::InstanceCount(), before - 1);
    EXPECT_EQ(hook.Codes(), (std::vector<int32_t>{nc::BeforeMessage}));
    EXPECT_EQ(selMoves, 0);
    QCoreApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(MessageHooks, DeletedInsideAHandler,
                         ::testing::Values(TDeletingHandler::KeyDown, TDeletingHandler::KeyPress,
                                           TDeletingHandler::MouseDown, TDeletingHandler::AfterMouseDown,
                                           TDeletingHandler::MouseUp, TDeletingHandler::DoubleClick,
                                           TDeletingHandler::MouseMove));

TEST(MessageHooks, ReleaseOutsideAnyHandlerDeletesAtOnce) {
    QPointer<TArtMemo> memo = new TArtMemo;
    memo->Release();
    EXPECT_TRUE(memo.isNull());
}

TEST(MessageHooks, TabKeyStaysWithTheControlWhileItWantsTabs) {
    QWidget window;
    auto* memo = new TArtMemo(&window);
    auto* other = new TArtMemo(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    memo->setFocus();
    ASSERT_TRUE(test::DriveUntil([&] { return memo->hasFocus(); }, 1000));
    int tabs = 0;
    memo->OnKeyDown = [&](TArtMemo*, int& key, Qt::KeyboardModifiers) { tabs += key == Qt::Key_Tab; };
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
    QApplication::sendEvent(memo, &tab);
    EXPECT_EQ(tabs, 1);
    EXPECT_TRUE(memo->hasFocus());
    memo->SetWantTabs(false);
    QApplication::sendEvent(memo, &tab);
    EXPECT_EQ(tabs, 1) << "without WantTabs the key moves the focus on";
    EXPECT_TRUE(other->hasFocus());
}

TEST(MessageHooks, MouseEnterAndLeaveAreReportedAsTheirMessages) {
    TArtMemo memo;
    TRecordingSink hook(&memo);
    memo.MessageHooks().Add(&hook);
    std::vector<std::string> events;
    memo.OnMouseEnter = [&](TArtMemo*) { events.push_back("enter"); };
    memo.OnMouseLeave = [&](TArtMemo*) { events.push_back("leave"); };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&memo, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&memo, &leave);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
    ASSERT_EQ(hook.Calls.size(), 4u);
    EXPECT_EQ(hook.Calls[0].Msg, wm::MOUSEENTER);
    EXPECT_EQ(hook.Calls[2].Msg, wm::MOUSELEAVE);
}

TEST(MessageHooks, VirtualKeysOfNavigationKeys) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Left), 0x25u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Down), 0x28u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Delete), 0x2Eu);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F1), 0x70u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Z), uint32_t('Z'));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_7), uint32_t('7'));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Return), 0x0Du);
}

} // namespace
} // namespace zandor
