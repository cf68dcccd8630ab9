// The lists of notification sinks through which add-ons follow an editor control.
#pragma once

#include "editor/engine/NotificationSink.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zandor {

// Notification codes, one bit each.
namespace nc {
inline constexpr int32_t Change = 0x1;
inline constexpr int32_t CaretMoved = 0x2;
inline constexpr int32_t StyleChanged = 0x4;
inline constexpr int32_t ContextClick = 0x8;
inline constexpr int32_t ContextRightClick = 0x10;
inline constexpr int32_t BeforeMessage = 0x20;
inline constexpr int32_t AfterMessage = 0x40;
inline constexpr int32_t TopOriginChanged = 0x80;
inline constexpr int32_t LeftOriginChanged = 0x100;
inline constexpr int32_t FontChanged = 0x200;
inline constexpr int32_t BeforeReplace = 0x400;
inline constexpr int32_t AfterLoad = 0x800;
} // namespace nc

// Refers to sinks it does not own. A sink leaves the list by having its entry overwritten with
// null, which is safe in the middle of a notification pass (even from the sink being called): a
// pass skips null entries, and the list is compacted when the outermost pass ends.
class TSinkList {
public:
    TSinkList() = default;
    ~TSinkList() { *FAlive = false; }
    TSinkList(const TSinkList&) = delete;
    TSinkList& operator=(const TSinkList&) = delete;

    void Add(NotificationSink* sink);
    // Overwrites the sink's entries with null; nothing when it is not in the list.
    void Remove(NotificationSink* sink);
    bool Contains(const NotificationSink* sink) const;
    // Entries, the nulls not compacted yet included.
    int Count() const { return static_cast<int>(FItems.size()); }
    NotificationSink* operator[](int i) const { return FItems[static_cast<size_t>(i)]; }
    // True when no live sink is registered.
    bool Empty() const;

    // Calls Notify on every entry that is there when the pass starts and is not null when its turn
    // comes. Sinks added during the pass are first called by the next one.
    void Notify(TArtMemoCore* sender, int32_t codes);

private:
    void Compact();
    void EndPass();

    std::vector<NotificationSink*> FItems;
    int FPassDepth = 0;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

} // namespace zandor
