// How add-ons follow an editor control: the control calls Notify on every sink in its lists with a
// set of change codes (text changed, mouse released on a context run, a message about to be
// handled, ...). The engine's highlighters are sinks, so the interface lives here, below the
// control that calls it.
#pragma once

#include <cstdint>

namespace zandor {

class TArtMemoCore;

class NotificationSink {
public:
    virtual ~NotificationSink() = default;
    virtual void Notify(TArtMemoCore* sender, int32_t codes) = 0;
};

} // namespace zandor
