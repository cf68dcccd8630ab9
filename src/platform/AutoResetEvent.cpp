#include "platform/AutoResetEvent.h"

namespace zandor::platform {

void TAutoResetEvent::Set() {
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FSet = true;
    }
    FSignal.notify_one();
}

void TAutoResetEvent::Wait() {
    std::unique_lock<std::mutex> lock(FMutex);
    FSignal.wait(lock, [this] { return FSet; });
    FSet = false;
}

bool TAutoResetEvent::TryWait() {
    std::lock_guard<std::mutex> lock(FMutex);
    const bool was = FSet;
    FSet = false;
    return was;
}

} // namespace zandor::platform
