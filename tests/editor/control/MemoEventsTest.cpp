#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"

#include "MemoTestSupport.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace zandor {
namespace {

using test::LoadText;
using test::TRecordingSink;

// Every event and every sink call, in the order they came.
struct EventLog : NotificationSink {
    explicit EventLog(TArtMemo& memo) {
        memo.OnChange = [this](TArtMemo*) { Entries.push_back("Change"); };
        memo.OnSelMove = [this](TArtMemo*) { Entries.push_back("SelMove"); };
        memo.OnBeforeChange = [this](TArtMemo*, const char*&) { Entries.push_back("BeforeChange"); };
        memo.OnParse = [this](TArtMemo*, int32_t a, int32_t b) {
            Entries.push_back("Parse " + std::to_string(a) + " " + std::to_string(b));
        };
        memo.OnProgress = [this](TArtMemo*) {
            if (Entries.empty() || Entries.back() != "Progress")
                Entries.push_back("Progress");
        };
        memo.OnVScroll = [this](TArtMemo*) { Entries.push_back("VScroll"); };
        memo.OnHScroll = [this](TArtMemo*) { Entries.push_back("HScroll"); };
        memo.EventSinks().Add(this);
    }
    void Notify(TArtMemoCore*, int32_t codes) override { Entries.push_back("sink " + std::to_string(codes)); }
    bool Has(const std::string& entry) const {
        return std::find(Entries.begin(), Entries.end(), entry) != Entries.end();
    }
    size_t IndexOf(const std::string& entry) const {
        return static_cast<size_t>(std::find(Entries.begin(), Entries.end(), entry) - Entries.begin());
    }
    std::vector<std::string> Entries;
};

TEST(MemoEvents, ReplacingTheSelectionAsksFirstTellsTheSinksAndReportsTheChangeOnce) {
    TArtMemo memo;
    LoadText(memo, "abc");
    memo.SetSelStart(1);
    EventLog log(memo);
    memo.SetSelText("XY");
    EXPECT_EQ(memo.Text(), "aXYbc");
    EXPECT_EQ(memo.SelStart(), 3) << "the caret ends after the new text";
    ASSERT_GE(log.Entries.size(), 4u);
    EXPECT_EQ(log.Entries[0], "BeforeChange");
    EXPECT_EQ(log.Entries[1], "sink 1024");
    EXPECT_LT(log.IndexOf("sink 1"), log.IndexOf("Change"));
    EXPECT_EQ(std::count(log.Entries.begin(), log.Entries.end(), "Change"), 1);
    EXPECT_TRUE(log.Has("sink 2")) << "the caret moved";
    EXPECT_TRUE(log.Has("SelMove"));
}

TEST(MemoEvents, BeforeChangeMaySubstituteTheText) {
    TArtMemo memo;
    LoadText(memo, "abc");
    memo.SelectAll();
    memo.OnBeforeChange = [](TArtMemo*, const char*& txt) { txt = "other"; };
    memo.SetSelText("ignored");
    EXPECT_EQ(memo.Text(), "other");
}

TEST(MemoEvents, NothingHappensForAnEmptyTextWithoutSelection) {
    TArtMemo memo;
    LoadText(memo, "abc");
    EventLog log(memo);
    memo.SetSelText("");
    EXPECT_FALSE(log.Has("Change"));
    EXPECT_EQ(memo.Text(), "abc");
}

TEST(MemoEvents, EditsInsideOneBracketReportOneChangeAtTheOutermostEnd) {
    TArtMemo memo;
    LoadText(memo, "abc");
    EventLog log(memo);
    memo.BeginUpdate();
    memo.BeginUpdate();
    memo.SetSelStart(0);
    memo.SetSelText("1");
    memo.SetSelStart(memo.CharCount());
    memo.SetSelText("2");
    memo.EndUpdate();
    EXPECT_FALSE(log.Has("Change"));
    memo.EndUpdate();
    memo.EndUpdate(); // never below zero
    EXPECT_EQ(memo.UpdateLevel(), 0);
    EXPECT_EQ(std::count(log.Entries.begin(), log.Entries.end(), "Change"), 1);
    EXPECT_EQ(memo.Text(), "1abc2");
}

TEST(MemoEvents, LoadingParsesTheWholeTextThenReportsTheChangeThenTheLoad) {
    TArtMemo memo;
    EventLog log(memo);
    LoadText(memo, "ab\ncd");
    const std::vector<std::string> expected{"Parse 0 6", "Progress", "sink 1", "Change", "sink 2048"};
    std::vector<std::string> relevant;
    for (const std::string& e : log.Entries)
        if (e != "sink 2" && e != "SelMove" && e != "sink 4")
            relevant.push_back(e);
    EXPECT_EQ(relevant, expected);
}

TEST(MemoEvents, FailingLoadLeavesAClearedViewAndPassesTheFailureOn) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    LoadText(memo, "old text\nmore");
    memo.SetSelStart(4);
    memo.SetSelLength(3);
    TArtNavigator* bookmark = memo.Core().Navigators().Adopt(std::make_unique<TArtNavigator>(&memo.Core()));
    bookmark->SetPos(9);
    EventLog log(memo);
    test::TFailingStream stream("abc\ndefgh\nij", 6);
    EXPECT_THROW(memo.LoadFromStream(stream), EStreamError);
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(memo.TopOrigin(), 0);
    EXPECT_EQ(bookmark->Pos(), 0);
    EXPECT_FALSE(log.Has("Change"));
    EXPECT_FALSE(log.Has("sink 2048"));
    // Whatever was kept is the start of what the stream gave, nothing of the old text.
    EXPECT_TRUE(std::string("abc\r\nde").starts_with(memo.Text())) << memo.Text();
    EXPECT_GE(memo.ParagraphCount(), 1);
}

TEST(MemoEvents, ScrollingReportsEachDirectionAndTellsTheSinks) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += std::string(200, 'w') + "\n";
    LoadText(memo, text);
    memo.SetScrollTime(0);
    EventLog log(memo);
    memo.SetTopOrigin(40);
    EXPECT_FALSE(log.Has("VScroll")) << "no window, no scroll";
    memo.show();
    log.Entries.clear();
    memo.SetTopOrigin(3 * memo.LinePixels());
    EXPECT_EQ(memo.TopOrigin(), 3 * memo.LinePixels());
    EXPECT_EQ(memo.TopLine(), 3);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"VScroll", "sink 128"}));
    log.Entries.clear();
    memo.SetLeftOrigin(30);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"HScroll", "sink 256"}));
    log.Entries.clear();
    memo.ScrollTo(0, 0, 0);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"HScroll", "VScroll", "sink 384"}));
    log.Entries.clear();
    memo.ScrollTo(0, 0, 0);
    EXPECT_TRUE(log.Entries.empty()) << "nothing changed, nothing reported";
}

TEST(MemoEvents, WheelRemainderCarriesOverToTheNextNotch) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    memo.SetMouseWheelFactor(3);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\n";
    LoadText(memo, text);
    memo.show();
    memo.SetScrollTime(0);
    memo.SetTopLine(10);
    const int lh = memo.LinePixels();
    ASSERT_EQ(memo.TopOrigin(), 10 * lh);
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(memo.viewport(), &event);
    };
    wheel(60); // 180: one line, 60 left
    EXPECT_EQ(memo.TopOrigin(), 9 * lh);
    wheel(60); // 240: two lines
    EXPECT_EQ(memo.TopOrigin(), 7 * lh);
    wheel(-40); // -120: one line down
    EXPECT_EQ(memo.TopOrigin(), 8 * lh);
}

TEST(MemoEvents, WindowCreationReportsAVerticalScrollOnce) {
    TArtMemo memo;
    int vscrolls = 0;
    memo.OnVScroll = [&](TArtMemo*) { ++vscrolls; };
    EXPECT_FALSE(memo.HandleAllocated());
    memo.show();
    EXPECT_TRUE(memo.HandleAllocated());
    EXPECT_EQ(vscrolls, 1);
    memo.hide();
    memo.show();
    EXPECT_EQ(vscrolls, 1);
}

TEST(MemoEvents, SelLengthChangeMarksTheSelectionMovedOnlyWhenItChanges) {
    TArtMemo memo;
    LoadText(memo, "abcdef");
    memo.SetSelStart(2);
    int moves = 0;
    memo.OnSelMove = [&](TArtMemo*) { ++moves; };
    memo.SetSelLength(3);
    EXPECT_EQ(moves, 1);
    memo.SetSelLength(3);
    EXPECT_EQ(moves, 1);
}

TEST(MemoEvents, CaretEnteringAnotherStyleReportsBothCodesInOneNotification) {
    TArtMemo memo;
    memo.SetStaticFormat(true);
    LoadText(memo, "ab\x02"
                   "cd\x02"
                   "ef");
    memo.SetSelStart(1);
    TRecordingSink sink;
    memo.EventSinks().Add(&sink);
    int styleChanges = 0;
    memo.OnStyleChange = [&](TArtMemo*) { ++styleChanges; };
    memo.SetSelStart(4); // inside the bold part
    EXPECT_EQ(styleChanges, 1);
    EXPECT_EQ(sink.Codes(), std::vector<int32_t>{nc::CaretMoved | nc::StyleChanged});
    memo.SetSelStart(5); // still bold
    EXPECT_EQ(styleChanges, 1);
    EXPECT_EQ(sink.Codes().back(), nc::CaretMoved);
    memo.SetSelStart(5); // not moved at all: nothing to tell
    EXPECT_EQ(sink.Calls.size(), 2u);
}

TEST(MemoEvents, GrowingAWindowThatShowedTheEndLeavesNoEmptySpaceBelowIt) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\n";
    LoadText(memo, text);
    memo.resize(300, 200);
    memo.show();
    memo.SetScrollTime(0);
    const int lh = memo.LinePixels();
    const int textHeight = memo.Core().VisibleLineCount() * lh;
    memo.SetTopOrigin(textHeight - memo.ClientHeight() + 3);
    const int before = memo.TopOrigin();
    memo.resize(300, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.TopOrigin(), textHeight - memo.ClientHeight() + 3);
    EXPECT_LT(memo.TopOrigin(), before);

    // A view at the top stays at the top.
    memo.SetTopOrigin(0);
    memo.resize(300, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.TopOrigin(), 0);
}

enum class THandler { KeyDown, MouseDown, MouseUp, MouseMove, DoubleClick };

class SelMoveInsideAHandler : public ::testing::TestWithParam<THandler> {};

TEST_P(SelMoveInsideAHandler, WaitsForTheEndOfTheHandlerAndFiresOnce) {
    TArtMemo memo;
    memo.show();
    LoadText(memo, "abcdef");
    std::vector<std::string> order;
    memo.OnSelMove = [&](TArtMemo*) { order.push_back("SelMove"); };
    auto moveAround = [&](TArtMemo* sender) {
        sender->SetSelStart(2);
        sender->SetSelLength(2);
        sender->SetSelStart(4);
        order.push_back("handler done");
    };
    auto onMouse = [&](TArtMemo* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        moveAround(sender);
    };
    const QPoint at(10, 4);
    auto mouse = [&](QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent e(type, at, memo.viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(memo.viewport(), &e);
    };
    switch (GetParam()) {
    case THandler::KeyDown: {
        memo.OnKeyDown = [&](TArtMemo* sender, int&, Qt::KeyboardModifiers) { moveAround(sender); };
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QCoreApplication::sendEvent(&memo, &press);
        break;
    }
    case THandler::MouseDown:
        memo.OnMouseDown = onMouse;
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        break;
    case THandler::MouseUp:
        memo.OnMouseUp = onMouse;
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton);
        break;
    case THandler::DoubleClick:
        memo.OnMouseDown = onMouse;
        memo.OnDblClick = [&](TArtMemo* sender) { moveAround(sender); };
        mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
        // Both handlers ran before the one event.
        order.erase(order.begin());
        break;
    case THandler::MouseMove:
        memo.OnMouseMove = [&](TArtMemo* sender, Qt::KeyboardModifiers, int, int) { moveAround(sender); };
        mouse(QEvent::MouseMove, Qt::NoButton);
        break;
    }
    EXPECT_EQ(order, (std::vector<std::string>{"handler done", "SelMove"}));
    order.clear();
    memo.SetSelStart(1);
    EXPECT_EQ(order, std::vector<std::string>{"SelMove"}) << "outside a handler it fires at once";
}

INSTANTIATE_TEST_SUITE_P(MemoEvents, SelMoveInsideAHandler,
                         ::testing::Values(THandler::KeyDown, THandler::MouseDown, THandler::MouseUp,
                                           THandler::MouseMove, THandler::DoubleClick));

} // namespace
} // namespace zandor
