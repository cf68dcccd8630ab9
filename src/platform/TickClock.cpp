#include "platform/TickClock.h"

#include <chrono>

namespace zandor::platform {

int64_t TickCount() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace zandor::platform
