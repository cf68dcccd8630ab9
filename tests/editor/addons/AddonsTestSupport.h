// Helpers of the add-on tests: an editor's text, and the address runs a URL highlighter left in it.
#pragma once

#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ParagraphsList.h"

#include <string_view>
#include <vector>

namespace zandor::test {

inline void LoadText(TArtMemo& memo, std::string_view text) {
    TMemoryStream stream(text);
    memo.LoadFromStream(stream);
}

// One styled address: paragraph, offsets in it, table row and the run that styles it.
struct TStyled {
    int Par;
    int32_t Start;
    int32_t End;
    int Row;
    TDynInfo Run;
    bool operator==(const TStyled& o) const {
        return Par == o.Par && Start == o.Start && End == o.End && Row == o.Row;
    }
};

inline std::ostream& operator<<(std::ostream& out, const TStyled& s) {
    return out << "{par " << s.Par << ", " << s.Start << ".." << s.End << ", row " << s.Row << "}";
}

// Highlights the whole text as formatting would, then lists the runs carrying address contexts.
inline std::vector<TStyled> AddressesOf(TArtMemo& memo, const TURLHighlighter& urls) {
    TArtMemoCore& core = memo.Core();
    core.Highlighting().HighlightUpTo(core.ParagraphCount() - 1);
    std::vector<TStyled> styled;
    for (int p = 0; p < core.ParagraphCount(); ++p) {
        const ParInfo& par = core.Paragraphs().Par(p);
        const int n = RunCount(par);
        for (int i = 0; i < n; ++i) {
            const TDynInfo& run = par.Extra->Runs[static_cast<size_t>(i)];
            const int row = run.Context - urls.BaseContext();
            if (!(run.StyleFlags & sfContext) || row < 0 || row >= kURLRows)
                continue;
            const int32_t end =
                i + 1 < n ? par.Extra->Runs[static_cast<size_t>(i + 1)].Offset : ParLength(par);
            styled.push_back({p, run.Offset, end, row, run});
        }
    }
    return styled;
}

} // namespace zandor::test
