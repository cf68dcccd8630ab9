#include "editor/engine/DynArray2.h"

#include "editor/engine/EngineErrors.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zandor {

TDynArray2::TDynArray2(int recSize, int stride)
    : FRecSize(static_cast<int16_t>(recSize)), FStride(static_cast<int16_t>(stride)),
      FPerBlock(static_cast<int16_t>(PerBlockFor(stride))) {
    if (recSize <= 0 || stride < recSize || stride > kBlockSize)
        throw EInternalError();
}

TDynArray2::~TDynArray2() = default;

void TDynArray2::ThrowRange() {
    throw ERangeError();
}

void TDynArray2::SetCapacity(int n) {
    n = std::max(n, FCount);
    // (n - 1) div PerBlock + 1 with division toward zero: 0 records still keep one block.
    const int64_t wanted = (static_cast<int64_t>(n) - 1) / FPerBlock + 1;
    if (wanted * FPerBlock > INT32_MAX)
        throw std::bad_alloc();
    const auto blocks = static_cast<size_t>(wanted);
    if (blocks < FBlocks.size()) {
        FBlocks.resize(blocks);
    } else {
        FBlocks.reserve(blocks);
        // Capacity follows every block that is in place, so a failed allocation leaves the array
        // consistent with what it really holds.
        while (FBlocks.size() < blocks) {
            FBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(kBlockSize));
            FCapacity = static_cast<int32_t>(FBlocks.size()) * FPerBlock;
        }
    }
    FCapacity = static_cast<int32_t>(FBlocks.size()) * FPerBlock;
}

void TDynArray2::SetCount(int n) {
    n = std::max(n, 0);
    if (n == FCount)
        return;
    if (FCapacity < n)
        SetCapacity(n);
    FCount = n;
}

int TDynArray2::AddGrowing(const void* rec) {
    if (FCount == INT32_MAX)
        throw std::bad_alloc();
    SetCount(FCount + 1);
    std::memcpy(At(FCount - 1), rec, static_cast<size_t>(FRecSize));
    return FCount - 1;
}

void TDynArray2::PutRec(int i, const void* rec) {
    std::memcpy(Items(i), rec, static_cast<size_t>(FRecSize));
}

void TDynArray2::GetRec(int i, void* out) const {
    std::memcpy(out, Items(i), static_cast<size_t>(FRecSize));
}

void TDynArray2::MoveRecords(int from, int to, int n) {
    if (n <= 0 || from == to)
        return;
    if (from < 0 || to < 0 || static_cast<int64_t>(from) + n > FCount ||
        static_cast<int64_t>(to) + n > FCount)
        throw ERangeError();
    // Copy in runs that stay inside one source and one destination block. Moving towards lower
    // indexes goes front to back and towards higher indexes back to front, so overlapping ranges
    // never overwrite records before they are read.
    if (to < from) {
        int done = 0;
        while (done < n) {
            const int s = from + done, d = to + done;
            const int run = std::min({n - done, FPerBlock - s % FPerBlock, FPerBlock - d % FPerBlock});
            std::memmove(At(d), At(s), static_cast<size_t>(run - 1) * FStride + FRecSize);
            done += run;
        }
    } else {
        int left = n;
        while (left > 0) {
            const int s = from + left - 1, d = to + left - 1; // last records still to move
            const int run = std::min({left, s % FPerBlock + 1, d % FPerBlock + 1});
            std::memmove(At(d - run + 1), At(s - run + 1), static_cast<size_t>(run - 1) * FStride + FRecSize);
            left -= run;
        }
    }
}

} // namespace zandor
