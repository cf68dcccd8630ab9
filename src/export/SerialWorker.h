// A thread of its own that runs jobs one at a time, each handed over when the one before has
// finished: the export paints a band on the calling thread while the worker compresses the last.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace zandor {

// Owns its thread. A job refers to whatever it captured, which must outlive the worker or the
// next Wait(); the destructor lets the running job finish and drops its failure.
class TSerialWorker {
public:
    TSerialWorker();
    ~TSerialWorker();
    TSerialWorker(const TSerialWorker&) = delete;
    TSerialWorker& operator=(const TSerialWorker&) = delete;

    // Waits for the job before (rethrowing what it threw, which drops this one), then starts `job`.
    void Post(std::function<void()> job);
    // Waits for the last job; rethrows what it threw.
    void Wait();

private:
    void Run();

    std::mutex FLock;
    std::condition_variable FChanged;
    std::function<void()> FJob; // set while a job waits or runs
    std::exception_ptr FFailure;
    bool FStopping = false;
    std::thread FThread;
};

} // namespace zandor
