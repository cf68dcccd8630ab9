#include "editor/control/MemoSinks.h"

#include <algorithm>

namespace zandor {

void TSinkList::Add(NotificationSink* sink) {
    if (sink)
        FItems.push_back(sink);
}

void TSinkList::Remove(NotificationSink* sink) {
    for (NotificationSink*& item : FItems)
        if (item == sink)
            item = nullptr;
    if (FPassDepth == 0)
        Compact();
}

bool TSinkList::Contains(const NotificationSink* sink) const {
    return sink && std::find(FItems.begin(), FItems.end(), sink) != FItems.end();
}

bool TSinkList::Empty() const {
    return std::all_of(FItems.begin(), FItems.end(), [](const NotificationSink* s) { return s == nullptr; });
}

void TSinkList::Notify(TArtMemoCore* sender, int32_t codes) {
    // Compaction waits for the outermost pass: an inner pass (a sink that causes another
    // notification) must not shift the entries under the outer loop's index.
    const std::shared_ptr<bool> alive = FAlive;
    ++FPassDepth;
    const size_t count = FItems.size();
    for (size_t i = 0; i < count && i < FItems.size(); ++i) {
        NotificationSink* sink = FItems[i];
        if (!sink)
            continue;
        try {
            sink->Notify(sender, codes);
        } catch (...) {
            if (*alive)
                EndPass();
            throw;
        }
        if (!*alive)
            return;
    }
    EndPass();
}

void TSinkList::EndPass() {
    if (--FPassDepth == 0)
        Compact();
}

void TSinkList::Compact() {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
}

} // namespace zandor
