#include "editor/engine/LineWidths.h"

#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

void TLineWidths::Add(int32_t width) {
    if (width <= 0)
        return;
    if (width >= kDense) {
        ++FWide[width];
        return;
    }
    const auto w = static_cast<size_t>(width);
    if (w >= FCounts.size()) {
        // Grown in powers of two: a text of narrow lines keeps a small table.
        size_t size = std::max<size_t>(FCounts.size(), 256);
        while (size <= w)
            size *= 2;
        FCounts.resize(size);
        FGroups.resize(size >> kGroupBits);
    }
    ++FCounts[w];
    ++FGroups[w >> kGroupBits];
    FTop = std::max(FTop, width);
}

void TLineWidths::Remove(int32_t width) {
    if (width <= 0)
        return;
    if (width >= kDense) {
        auto it = FWide.find(width);
        if (it != FWide.end() && --it->second == 0)
            FWide.erase(it);
        return;
    }
    const auto w = static_cast<size_t>(width);
    if (w >= FCounts.size() || FCounts[w] == 0)
        return;
    --FCounts[w];
    --FGroups[w >> kGroupBits];
}

void TLineWidths::AddLines(const ParInfo& par) {
    if (!IsExtended(par)) {
        Add(par.Compact.Width16);
        return;
    }
    Add(par.Extra->FirstLineInfo.TextWidth);
    for (const LineInfo& line : par.Extra->Lines)
        Add(line.TextWidth);
}

void TLineWidths::RemoveLines(const ParInfo& par) {
    if (!IsExtended(par)) {
        Remove(par.Compact.Width16);
        return;
    }
    Remove(par.Extra->FirstLineInfo.TextWidth);
    for (const LineInfo& line : par.Extra->Lines)
        Remove(line.TextWidth);
}

void TLineWidths::Clear() {
    FCounts.clear();
    FGroups.clear();
    FWide.clear();
    FTop = 0;
}

int32_t TLineWidths::Widest() const {
    if (!FWide.empty())
        return FWide.rbegin()->first;
    // Down from the last top: whole empty groups at a time.
    int32_t w = FTop;
    while (w > 0) {
        const auto g = static_cast<size_t>(w >> kGroupBits);
        if (FGroups[g] == 0) {
            w = static_cast<int32_t>(g << kGroupBits) - 1;
            continue;
        }
        if (FCounts[static_cast<size_t>(w)] > 0)
            break;
        --w;
    }
    FTop = std::max(w, 0);
    return FTop;
}

} // namespace zandor
