// The pacing thread of a control in background update mode. It never touches the text: each time
// its event is set it asks the UI thread, through the event loop, to run one format step for the
// control, and the step sets the event again while work remains. So formatting a long text is
// spread over the message loop in short slices and the window stays responsive, without a lock.
#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace zandor {

// Owns the worker thread until Stop; the worker and every wake-up still queued share one small
// state (the event and the step it runs), which the last of them frees. The step refers to the
// control that created the thread; Stop forgets it.
class TamFormatThread {
public:
    // Starts at once, waiting for its first wake-up. step runs on the UI thread, once per wake-up.
    explicit TamFormatThread(std::function<void()> step);
    // Stops without waiting when Stop was not called.
    ~TamFormatThread();
    TamFormatThread(const TamFormatThread&) = delete;
    TamFormatThread& operator=(const TamFormatThread&) = delete;

    // Wakes the thread; any thread may call it. Wake-ups that come while one is pending merge.
    void SetEvent();
    // UI thread only. Forgets the step at once, so a wake-up already queued does nothing, and ends
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
