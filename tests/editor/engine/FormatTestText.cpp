#include "FormatTestText.h"

#include "StoreInvariants.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/ParagraphStreams.h"

#include <sstream>

namespace zandor::test {

void LoadThroughStream(TArtMemoCore& core, std::string_view text) {
    TParagraphsList& list = core.Paragraphs();
    list.ClearAll();
    TMemoryStream stream(text);
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(list, stream, 1000, {}, kind, false, ' ');
    core.Navigators().ResetAll();
}

void FormatAll(TArtMemoCore& core) {
    core.FormatRange(0, core.ParagraphCount() - 1, false, true);
}

std::vector<LineInfo> LineTable(const ParInfo& par) {
    TLinesList lines(const_cast<ParInfo*>(&par));
    std::vector<LineInfo> table;
    for (int k = 0; k < lines.LineCount(); ++k)
        table.push_back(*lines.LineAt(k));
    return table;
}

std::string Breaks(const ParInfo& par) {
    const std::string text = ParText(par);
    std::string out;
    for (const LineInfo& line : LineTable(par)) {
        if (!out.empty())
            out += '|';
        out += text.substr(static_cast<size_t>(line.Start), static_cast<size_t>(line.Stop - line.Start));
    }
    return out;
}

std::string DescribeLines(const ParInfo& par) {
    std::ostringstream out;
    for (const LineInfo& l : LineTable(par))
        out << "  [" << l.Start << "," << l.Stop << ") text " << l.TextWidth << " full " << l.FullWidth
            << " spaces " << l.Spaces << " from " << l.JustifyFrom << " style " << int(l.StartStyle)
            << " runs " << l.RunIndex << "\n";
    return out.str();
}

namespace {

bool SameLine(const LineInfo& a, const LineInfo& b) {
    return a.Start == b.Start && a.Stop == b.Stop && a.TextWidth == b.TextWidth &&
           a.FullWidth == b.FullWidth && a.Spaces == b.Spaces && a.JustifyFrom == b.JustifyFrom &&
           a.StartStyle == b.StartStyle && a.RunIndex == b.RunIndex;
}

} // namespace

::testing::AssertionResult SameLayout(TArtMemoCore& actual, TArtMemoCore& expected) {
    const TParagraphsList& a = actual.Paragraphs();
    const TParagraphsList& e = expected.Paragraphs();
    if (a.Count() != e.Count())
        return ::testing::AssertionFailure() << "paragraphs " << a.Count() << " vs " << e.Count();
    for (int p = 0; p < a.Count(); ++p) {
        const ParInfo& pa = a.Par(p);
        const ParInfo& pe = e.Par(p);
        const std::vector<LineInfo> la = LineTable(pa), le = LineTable(pe);
        bool same = la.size() == le.size() && pa.FirstLine == pe.FirstLine;
        for (size_t k = 0; same && k < la.size(); ++k)
            same = SameLine(la[k], le[k]);
        if (!same)
            return ::testing::AssertionFailure()
                   << "paragraph " << p << " \"" << ParText(pa) << "\"\n FirstLine " << +pa.FirstLine
                   << " vs " << +pe.FirstLine << "\n incremental:\n"
                   << DescribeLines(pa) << " from scratch:\n"
                   << DescribeLines(pe);
    }
    if (a.LineCount != e.LineCount || a.VisibleLineCount != e.VisibleLineCount)
        return ::testing::AssertionFailure()
               << "LineCount " << a.LineCount << " vs " << e.LineCount << ", VisibleLineCount "
               << a.VisibleLineCount << " vs " << e.VisibleLineCount;
    return ::testing::AssertionSuccess();
}

} // namespace zandor::test
