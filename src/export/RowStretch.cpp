#include "export/RowStretch.h"

#include "platform/ScreenCells.h"

#include <algorithm>
#include <cmath>

namespace zandor {

TRowStretch::TRowStretch(int64_t rows, int scale, bool dosAspect)
    : FRows(std::max<int64_t>(0, rows)), FHeight(FRows * std::max(1, scale)) {
    if (dosAspect)
        FHeight = int64_t(std::llround(double(FHeight) * platform::kDosAspect));
}

int64_t TRowStretch::FirstShowing(int64_t row) const {
    if (FRows == 0 || row <= 0)
        return 0;
    if (row >= FRows)
        return FHeight;
    // Row y shows source row floor((2y + 1) * rows / (2 * height)) (the nearest, as the screen
    // fonts' stretched cells do), which reaches `row` from y = ceil((2 * height * row - rows) /
    // (2 * rows)) on. The product may pass 2^63 for the tallest pictures, so it is taken wider.
    const __int128 numerator = __int128(2) * FHeight * row - FRows;
    const __int128 first = (numerator + 2 * FRows - 1) / (2 * FRows);
    return first < 0 ? 0 : int64_t(first);
}

} // namespace zandor
