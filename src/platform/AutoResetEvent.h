// An event that one thread sets and another waits for; a successful wait resets it, so each set
// releases at most one wait. Sets that arrive while it is already set merge into one.
#pragma once

#include <condition_variable>
#include <mutex>

namespace zandor::platform {

class TAutoResetEvent {
public:
    TAutoResetEvent() = default;
    TAutoResetEvent(const TAutoResetEvent&) = delete;
    TAutoResetEvent& operator=(const TAutoResetEvent&) = delete;

    void Set();
    // Blocks until the event is set, then resets it.
    void Wait();
    // Resets it and reports whether it was set, without blocking.
    bool TryWait();

private:
    std::mutex FMutex;
    std::condition_variable FSignal;
    bool FSet = false;
};

} // namespace zandor::platform
