// Pixel geometry of one display line: where a character stands, which character lies under a
// pixel, and how wide one character is. The painter's rules in measuring form: runs and format
// codes choose the font, tabs jump to tab stops, justified spaces stretch.
#pragma once

#include "editor/engine/ParagraphsList.h"

#include <cstdint>

namespace zandor {

class TArtMemoCore;

// Refers to the control, the paragraph record and a copy of the line; lives for one question.
class TLineGeometry {
public:
    TLineGeometry(TArtMemoCore& memo, const ParInfo& par, const LineInfo& line);

    // Where the line's left end lies in unscrolled client pixels (margin and alignment).
    int LeftEdge() const;
    // Pixels from the left end of the line to offset (clamped to the line).
    int WidthTo(int32_t offset);
    // The column (characters from the line start) that a point x pixels right of the left end of
    // the line falls to: a point on the right half of a character lands after it.
    int32_t ColumnAt(int x);
    // Width of the character at offset as it stands in the line (a tab to its stop, a format code 0).
    int AdvanceAt(int32_t offset);

private:
    struct Walk;

    TArtMemoCore& FMemo;
    const ParInfo& FPar;
    LineInfo FLine;
    const char* FText;
    int32_t FLength;
    bool FJustify;
};

} // namespace zandor
