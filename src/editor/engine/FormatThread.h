// The pacing thread of a control in background update mode. It never touches the text: each time
// its event is set it asks the UI thread, through the event loop, to run one format step on the
// control, and the step sets the event again while work remains. So formatting a long text is
// spread over the message loop in short slices and the window stays responsive, without a lock.
#pragma once

#include <QEvent>

#include <memory>
#include <thread>

class QObject;

namespace zandor {

// Owns the worker thread until Stop; the worker and every wake-up still queued share one small
// state (the event and the control it serves), which the last of them frees. Refers to Memo, the
// control object, without owning it.
class TamFormatThread {
public:
    // The event a wake-up delivers to Memo on the UI thread; the control answers it with
    // FormatStep.
    static constexpr QEvent::Type StepEventType = static_cast<QEvent::Type>(QEvent::User + 1025);

    // Starts at once, waiting for its first wake-up. memo lives on the UI thread.
    explicit TamFormatThread(QObject* memo);
    // Stops without waiting when Stop was not called.
    ~TamFormatThread();
    TamFormatThread(const TamFormatThread&) = delete;
    TamFormatThread& operator=(const TamFormatThread&) = delete;

    // Wakes the thread; any thread may call it. Wake-ups that come while one is pending merge.
    void SetEvent();
    // UI thread only. Detaches from Memo at once, so a step already queued does nothing, and ends
    // the thread. wait = false: the thread frees what it shares when it ends by itself; wait = true:
    // returns after it has ended (never blocks on the UI thread, so no deadlock).
    void Stop(bool wait);
    bool Stopped() const { return !FState; }

    // Format threads whose worker has not ended yet (in every control).
    static int Running();

private:
    struct State;
    static void Execute(std::shared_ptr<State> state);

    std::shared_ptr<State> FState;
    std::thread FThread;
};

} // namespace zandor
