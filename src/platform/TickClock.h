// The millisecond tick: a monotonic clock with an arbitrary origin. Work that paces itself by time
// (layout slices, animated scrolling, progress reports) takes a tick source, so that tests can hand
// it a clock of their own and never depend on the machine's speed.
#pragma once

#include <cstdint>
#include <functional>

namespace zandor::platform {

// Milliseconds since an arbitrary moment; never goes back.
int64_t TickCount();

using TTickSource = std::function<int64_t()>;

} // namespace zandor::platform
