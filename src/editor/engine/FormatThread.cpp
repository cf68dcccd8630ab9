#include "editor/engine/FormatThread.h"

#include "platform/AutoResetEvent.h"
#include "platform/UiThread.h"

#include <atomic>

namespace zandor {

namespace {
std::atomic<int> gRunning{0};
} // namespace

struct TamFormatThread::State {
    platform::TAutoResetEvent Event;
    std::atomic<bool> Terminated{false};
    // A wake-up is waiting in the UI thread's queue. Wake-ups that come meanwhile merge into it, so
    // the queue never holds two steps that the event loop would run back to back, with no input
    // or painting between them.
    std::atomic<bool> Queued{false};
    // Read and written on the UI thread only: the worker never looks at it, the queued wake-ups
    // check it where they run, so a control that has stopped its thread is never called again.
    std::function<void()> Step;
};

TamFormatThread::TamFormatThread(std::function<void()> step) : FState(std::make_shared<State>()) {
    FState->Step = std::move(step);
    gRunning.fetch_add(1);
    FThread = std::thread(&TamFormatThread::Execute, FState);
}

TamFormatThread::~TamFormatThread() {
    if (FState)
        Stop(false);
}

int TamFormatThread::Running() {
    return gRunning.load();
}

void TamFormatThread::SetEvent() {
    if (FState)
        FState->Event.Set();
}

void TamFormatThread::Stop(bool wait) {
    if (!FState)
        return;
    FState->Step = nullptr;
    FState->Terminated.store(true);
    FState->Event.Set();
    if (wait)
        FThread.join();
    else
        FThread.detach();
    FState.reset();
}

void TamFormatThread::Execute(std::shared_ptr<State> state) {
    for (;;) {
        state->Event.Wait();
        if (state->Terminated.load())
            break;
        if (state->Queued.exchange(true))
            continue;
        // The wake-up carries its share of the state, so it stays valid however long it waits in
        // the queue; the step itself runs on the UI thread, where it is checked. It is copied
        // first: the step may stop the thread, which forgets the step while it runs.
        platform::PostToUiThread([state] {
            state->Queued.store(false);
            const std::function<void()> step = state->Step;
            if (step)
                step();
        });
    }
    state.reset();
    gRunning.fetch_sub(1);
}

} // namespace zandor
