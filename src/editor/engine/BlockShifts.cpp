#include "editor/engine/BlockShifts.h"

#include <algorithm>

namespace zandor {

void TBlockShifts::Resize(int blocks) {
    blocks = std::max(blocks, 0);
    if (FStep >= blocks) {
        // The step leaves the array: what it carried is owed by no block that remains.
        FStep = blocks;
        FStepShift = {};
    }
    const size_t old = FOwn.size();
    FOwn.resize(static_cast<size_t>(blocks));
    // New blocks hold no records yet: they owe nothing, not even what the step carries.
    for (size_t b = old; b < FOwn.size(); ++b)
        if (static_cast<int>(b) >= FStep)
            FOwn[b] = {-FStepShift.Start, -FStepShift.Lines};
}

void TBlockShifts::Clear() {
    std::fill(FOwn.begin(), FOwn.end(), TShift{});
    FStep = 0;
    FStepShift = {};
}

TShift TBlockShifts::Take(int b) {
    const TShift owed = Owed(b);
    TShift& own = FOwn[static_cast<size_t>(b)];
    // The block's own share cancels what the step still adds to it.
    own = {};
    if (b >= FStep) {
        own.Start = -FStepShift.Start;
        own.Lines = -FStepShift.Lines;
    }
    return owed;
}

void TBlockShifts::Add(int from, const TShift& shift) {
    const int count = BlockCount();
    if (from >= count || shift.Empty())
        return;
    from = std::max(from, 0);
    if (FStepShift.Empty()) {
        FStep = from;
        FStepShift = shift;
        return;
    }
    if (from >= FStep) {
        // Forward: the blocks the step passes over keep what it carried as their own.
        for (int b = FStep; b < from; ++b)
            FOwn[static_cast<size_t>(b)] += FStepShift;
        FStep = from;
        FStepShift += shift;
        return;
    }
    // Backward: either the blocks between get the new shift one by one, or the step hands what it
    // carries to every block after it and starts again here; whichever touches fewer blocks.
    if (FStep - from <= count - FStep) {
        for (int b = from; b < FStep; ++b)
            FOwn[static_cast<size_t>(b)] += shift;
        FStepShift += shift;
    } else {
        for (int b = FStep; b < count; ++b)
            FOwn[static_cast<size_t>(b)] += FStepShift;
        FStep = from;
        FStepShift = shift;
    }
}

} // namespace zandor
