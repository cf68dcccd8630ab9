// An editor dressed in an export's look the way the window's editor would be: its colours, font and
// line height, no borders, bars or end-of-text line, and the addresses and keywords in the highlight
// colours as the window's highlight list gives them. The tests compare the export's pictures with
// what such an editor paints.
#pragma once

#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "export/ArtExport.h"
#include "keywords/HighlightList.h"
#include "platform/Canvas.h"

#include <QFontMetrics>

namespace zandor::test {

// urls must outlive the editor.
inline void DressInLook(TArtMemo& memo, TURLHighlighter& urls, const TExportLook& look) {
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
    memo.SetHighlighter(&urls);
    ApplyHighlightList(memo, urls, look.KeywordFile);
}

} // namespace zandor::test
