#include "editor/engine/LinesList.h"

#include "editor/engine/EngineErrors.h"

#include <algorithm>

namespace zandor {

int TLinesList::LineCount() const {
    return FPar ? LineCountOf(*FPar) : 0;
}

LineInfo* TLinesList::LineAt(int k) {
    if (!FPar || k < 0 || k >= LineCountOf(*FPar))
        throw ERangeError();
    if (!IsExtended(*FPar)) {
        FScratch = LoadFirstLine(*FPar);
        return &FScratch;
    }
    if (k == 0)
        return &FPar->Extra->FirstLineInfo;
    return &FPar->Extra->Lines[static_cast<size_t>(k - 1)];
}

void TLinesList::GetLine(int k, LineInfo& out) {
    out = *LineAt(k);
}

void TLinesList::PutLine(int k, const LineInfo& info) {
    if (k == 0) {
        if (!FPar)
            throw ERangeError();
        // A compact line 0 lives in the record itself; writing the scratch copy would be lost.
        StoreFirstLine(*FPar, info);
        return;
    }
    *LineAt(k) = info;
}

void TLinesList::SetLineCount(int n) {
    if (!FPar)
        throw ERangeError();
    n = std::max(n, 1);
    if (n == 1 && !IsExtended(*FPar))
        return;
    ExtendPar(*FPar).Lines.resize(static_cast<size_t>(n - 1));
}

} // namespace zandor
