// The format thread driven through the Qt event loop: a QObject stands in for the widget and
// answers each step event with one format step, which wakes the thread again while work remains.
// Nothing waits on a clock: the loop runs until the condition holds.
#include "editor/engine/FormatThread.h"
#include "FormatTestText.h"
#include "StoreInvariants.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace zandor::test {
namespace {

class StandInMemo : public QObject {
public:
    explicit StandInMemo(TArtMemoCore& core) : Core(core) {}
    bool event(QEvent* e) override {
        if (e->type() != TamFormatThread::StepEventType)
            return QObject::event(e);
        ++Steps;
        Core.FormatStep();
        return true;
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
};

TEST_F(FormatThread, FormatsALargeTextInTheBackgroundToTheEnd) {
    Load(20000);
    TamFormatThread thread(&memo);
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
    Load(300000);
    auto thread = std::make_unique<TamFormatThread>(&memo);
    host.Thread = thread.get();
    core.ScheduleFormatting();
    while (memo.Steps == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (core.BgNext() >= core.ParagraphCount())
        GTEST_SKIP() << "one step laid the whole text out; nothing was left to stop";
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
        TamFormatThread thread(&memo);
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
