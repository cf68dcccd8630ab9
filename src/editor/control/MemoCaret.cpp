#include "editor/control/MemoCaret.h"

#include "editor/control/MemoSinks.h"

#include <algorithm>

namespace zandor {

QRegion TMemoCaret::ShowAt(const QRect& rect, bool recreate) {
    QRegion dirty;
    if (recreate || rect != FRect || !FShown) {
        if (FShown)
            dirty += FRect;
        dirty += rect;
        FRect = rect;
    }
    FShown = true;
    return dirty;
}

QRegion TMemoCaret::Hide() {
    QRegion dirty;
    if (FShown)
        dirty += FRect;
    FShown = false;
    return dirty;
}

int TMemoCaret::Width(int setting, int lineHeight) {
    return std::max(1, setting > 0 ? setting : lineHeight / 14 + 1);
}

int32_t TMemoCaret::Record(int32_t pos, const std::string& pendingBlanks, int style) {
    int32_t codes = 0;
    if (pos != FLastPos || pendingBlanks != FLastPendingBlanks) {
        FLastPos = pos;
        FLastPendingBlanks = pendingBlanks;
        codes |= nc::CaretMoved;
    }
    if (style != FLastStyle) {
        FLastStyle = style;
        codes |= nc::StyleChanged;
    }
    return codes;
}

} // namespace zandor
