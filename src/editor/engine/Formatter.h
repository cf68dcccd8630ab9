// Line formatting: where a paragraph's display lines break, how wide they are, how many of their
// spaces stretch when the text is justified, and the static format and run state at every line
// start. One formatter serves a batch of paragraphs measured in one measurer at one width.
#pragma once

#include "editor/engine/FontAdvances.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/TextMeasurer.h"

#include <cstdint>
#include <vector>

namespace zandor {

class TArtMemoCore;

// What to lay out again in one paragraph and what came of it.
struct TParFormat {
    // In: the first line to lay out again (lines before it are kept). Out: one less when blanks or
    // words at its start were merged into the line before it (that line changed too).
    int FirstLine = 0;
    // Out: the last old line that the new lines replaced.
    int StopLine = 0;
    // Out: the paragraph's number of lines, and new minus old.
    int LineCount = 1;
    int LineDelta = 0;
    // Allows stopping at the first new line break that coincides with an old one in the same
    // static state: the old lines after it are still right (after an edit that kept them).
    bool MayStopEarly = false;
};

// Refers to the control, the measurer (null: no measuring, every paragraph one line of width 0) and
// the font tables kept for it between batches; owns the scratch line tables.
class TLineFormatter {
public:
    // textAreaWidth: the pixels the control's text area has (margins are taken off here).
    TLineFormatter(TArtMemoCore& memo, TextMeasurer* canvas, int textAreaWidth, TMeasureCache& fonts);
    TLineFormatter(const TLineFormatter&) = delete;
    TLineFormatter& operator=(const TLineFormatter&) = delete;

    // Lays paragraph parIndex out from line f.FirstLine on and stores its lines; marks it formatted
    // and applies its keywords first when they are due.
    void FormatParagraph(int parIndex, TParFormat& f);

    // The wrap width of a paragraph with these flags, in pixels or, in column mode, characters.
    int64_t WrapWidth(const ParInfo& par) const;
    bool ColumnMode(const ParInfo& par) const;

private:
    struct Layout;
    friend struct Layout;

    void FormatWithoutCanvas(ParInfo& par, TParFormat& f);

    TArtMemoCore& FMemo;
    TextMeasurer* FCanvas;
    int FTextAreaWidth;
    int FTabCell = 0;
    int FPieceLimit = 256;
    TMeasureCache& FFonts;
    std::vector<LineInfo> FOld;
    std::vector<LineInfo> FNew;
};

} // namespace zandor
