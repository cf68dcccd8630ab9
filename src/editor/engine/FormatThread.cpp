#include "editor/engine/FormatThread.h"

#include "platform/AutoResetEvent.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <atomic>

namespace zandor {

namespace {
std::atomic<int> gRunning{0};
} // namespace

struct TamFormatThread::State {
    platform::TAutoResetEvent Event;
    std::atomic<bool> Terminated{false};
    // Read and written on the UI thread only: the worker never looks at it, the queued wake-ups
    // check it where they run, so a control that has stopped its thread is never called again.
    QObject* Memo = nullptr;
};

TamFormatThread::TamFormatThread(QObject* memo) : FState(std::make_shared<State>()) {
    FState->Memo = memo;
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
    FState->Memo = nullptr;
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
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            continue;
        // The wake-up carries its share of the state, so it stays valid however long it waits in
        // the queue; the step itself runs on the UI thread, where Memo is checked.
        QMetaObject::invokeMethod(
            app,
            [state] {
                if (!state->Memo)
                    return;
                QEvent step(StepEventType);
                QCoreApplication::sendEvent(state->Memo, &step);
            },
            Qt::QueuedConnection);
    }
    state.reset();
    gRunning.fetch_sub(1);
}

} // namespace zandor
