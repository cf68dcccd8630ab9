#include "export/SerialWorker.h"

#include <utility>

namespace zandor {

TSerialWorker::TSerialWorker() : FThread([this] { Run(); }) {}

TSerialWorker::~TSerialWorker() {
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    FChanged.notify_all();
    FThread.join();
}

void TSerialWorker::Post(std::function<void()> job) {
    Wait();
    {
        std::lock_guard lock(FLock);
        FJob = std::move(job);
    }
    FChanged.notify_all();
}

void TSerialWorker::Wait() {
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return !FJob; });
    if (FFailure)
        std::rethrow_exception(std::exchange(FFailure, nullptr));
}

void TSerialWorker::Run() {
    std::unique_lock lock(FLock);
    for (;;) {
        FChanged.wait(lock, [this] { return FJob || FStopping; });
        if (!FJob)
            return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            FJob();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        FFailure = failure;
        FJob = nullptr;
        FChanged.notify_all();
    }
}

} // namespace zandor
