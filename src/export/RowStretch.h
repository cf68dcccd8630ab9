// The rows of a picture going out enlarged: `scale` times each without the DOS aspect; with it the
// picture is 1.35 times as high again, each of its rows showing the nearest source row, so whole
// rows repeat (some once more than others where the ratio is no whole number) and nothing blurs.
#pragma once

#include <cstdint>

namespace zandor {

class TRowStretch {
public:
    TRowStretch(int64_t rows, int scale, bool dosAspect);

    // The rows of the picture that goes out.
    int64_t Height() const { return FHeight; }
    // How many rows of the picture that goes out show the source row `row` (0 to rows - 1).
    int64_t Repeats(int64_t row) const { return FirstShowing(row + 1) - FirstShowing(row); }

private:
    // The first row that goes out showing `row` or a later source row.
    int64_t FirstShowing(int64_t row) const;

    int64_t FRows;
    int64_t FHeight;
};

} // namespace zandor
