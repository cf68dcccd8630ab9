// The format thread driven through the Qt event loop: a stand-in for the widget answers each
// wake-up with one format step, which wakes the thread again while work remains. Nothing waits on
// a clock: the loop runs until the condition holds, and the layout budget counts a clock of the
// test's own.
#include "editor/engine/FormatThread.h"
#include "FormatTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/FormatScheduler.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace zandor::test {
namespace {

struct StandInMemo {
    explicit StandInMemo(TArtMemoCore& core) : Core(core) {}
    void Step() {
        ++Steps;
        Core.FormatStep();
    }
    std::function<void()> StepFunction() {
        return [this] { Step(); };
    }
    TArtMemoCore& Core;
    int Steps = 0;
};

class ThreadHost : public TRecordingHost {
public:
    void WakeFormatThread() override {
        ++Wakes;
        if (Thread)
            Thread->SetEvent();
    }
    TamFormatThread* Thread = nullptr;
};

class FormatThread : public ::testing::Test {
protected:
    FormatThread() {
        core.SetClientSize(96, 170);
        core.SetFormatHost(&host);
        // Every look at the clock takes a millisecond: a step lays out as many paragraphs as its
        // budget has milliseconds, however fast the machine is.
        core.Scheduler().SetClock([this] { return ++ticks; });
    }
    void Load(int pars) {
        std::string text;
        for (int p = 0; p < pars; ++p)
            text += p == 0 ? "aaa bbb ccc ddd" : "\r\naaa bbb ccc ddd";
        LoadThroughStream(core, text);
    }
    ~FormatThread() override {
        host.Thread = nullptr;
        core.SetFormatHost(nullptr);
        // Detached workers end as soon as they see their stop; wait for that here so that no test
        // leaves one behind.
        while (TamFormatThread::Running() > 0) {
            QCoreApplication::processEvents();
            std::this_thread::yield();
        }
    }

    ThreadHost host;
    TArtMemoCore core;
    StandInMemo memo{core};
    int64_t ticks = 0;
};

TEST_F(FormatThread, FormatsALargeTextInTheBackgroundToTheEnd) {
    Load(20000);
    TamFormatThread thread(memo.StepFunction());
    host.Thread = &thread;
    core.ScheduleFormatting(); // wakes the thread
    while (core.BgNext() < core.ParagraphCount())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_GE(memo.Steps, 1);
    EXPECT_EQ(core.BgLast(), -1);
    EXPECT_EQ(core.LineCount(), 40000);

    TArtMemoCore fresh;
    fresh.SetClientSize(96, 170);
    std::string text;
    for (int p = 0; p < core.ParagraphCount(); ++p)
        text += (p ? "\r\n" : "") + ParText(core.Paragraphs().Par(p));
    LoadThroughStream(fresh, text);
    FormatAll(fresh);
    EXPECT_TRUE(SameLayout(core, fresh));

    thread.Stop(true);
    EXPECT_TRUE(thread.Stopped());
    EXPECT_EQ(TamFormatThread::Running(), 0) << "a waiting stop returns after the thread ended";
}

TEST_F(FormatThread, StoppingWithWorkPendingDetachesAtOnce) {
    Load(1000);
    auto thread = std::make_unique<TamFormatThread>(memo.StepFunction());
    host.Thread = thread.get();
    core.ScheduleFormatting();
    while (memo.Steps == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_LT(core.BgNext(), core.ParagraphCount()) << "a step keeps to its budget";
    // Stop between steps, with a wake-up possibly queued and the event set again.
    thread->SetEvent();
    thread->Stop(false);
    host.Thread = nullptr;
    thread.reset();
    const int steps = memo.Steps;
    const int32_t front = core.BgNext();
    while (TamFormatThread::Running() > 0) {
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.Steps, steps) << "a queued wake-up of a stopped thread does nothing";
    EXPECT_EQ(core.BgNext(), front);
}

TEST_F(FormatThread, AThreadDestroyedWithoutStopEndsByItself) {
    Load(10);
    {
        TamFormatThread thread(memo.StepFunction());
        thread.SetEvent();
    }
    while (TamFormatThread::Running() > 0) {
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.Steps, 0);
}

} // namespace
} // namespace zandor::test
