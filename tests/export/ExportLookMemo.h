// An editor dressed in an export's look the way the window's editor would be: its colours, font and
// line height, no borders, bars or end-of-text line. The tests compare the export's pictures with
// what such an editor paints.
#pragma once

#include "editor/control/ArtMemo.h"
#include "export/ArtExport.h"
#include "platform/Canvas.h"

#include <QFontMetrics>

namespace zandor::test {

inline void DressInLook(TArtMemo& memo, const TExportLook& look) {
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.SetColor(look.Background);
    memo.SetFont(look.Font);
    const QFontMetrics metrics(platform::ToQFont(look.Font));
    memo.SetLineHeight(metrics.ascent() + metrics.descent());
    memo.SetHighlightColor(look.HighlightColor);
    memo.SetHighlightBackgnd(look.HighlightBackgnd);
    platform::TPenValue noEndMark = memo.EndOfTextMark();
    noEndMark.Style = platform::psClear;
    memo.SetEndOfTextMark(noEndMark);
}

} // namespace zandor::test
