#include "NavigatorTestText.h"

#include "StoreInvariants.h"
#include "editor/engine/LinesList.h"

#include <algorithm>

namespace zandor::test {

namespace {

std::vector<std::string> SplitParagraphs(std::string_view text) {
    std::vector<std::string> pars;
    size_t from = 0;
    for (;;) {
        size_t at = text.find("\r\n", from);
        if (at == std::string_view::npos) {
            pars.emplace_back(text.substr(from));
            return pars;
        }
        pars.emplace_back(text.substr(from, at - from));
        from = at + 2;
    }
}

void RecountLineRuns(ParInfo& par) {
    TLinesList lines(&par);
    const TRunArray* runs = IsExtended(par) ? &par.Extra->Runs : nullptr;
    for (int k = 0; k < lines.LineCount(); ++k) {
        LineInfo line = *lines.LineAt(k);
        line.RunIndex = 0;
        if (runs)
            for (const TDynInfo& run : *runs)
                if (run.Offset < line.Start)
                    ++line.RunIndex;
        lines.PutLine(k, line);
    }
}

} // namespace

void LoadText(TArtMemoCore& core, std::string_view text) {
    FillParagraphs(core.Paragraphs(), SplitParagraphs(text));
}

void RenumberLines(TParagraphsList& list) {
    int32_t line = 0;
    int32_t all = 0;
    for (int p = 0; p < list.Count(); ++p) {
        ParInfo& par = list.Par(p);
        par.FirstLine = line;
        all += LineCountOf(par);
        if (!IsHidden(par))
            line += LineCountOf(par);
    }
    list.LineCount = all;
    list.VisibleLineCount = line;
}

void WrapAt(TArtMemoCore& core, int par, const std::vector<int32_t>& wraps) {
    ParInfo& rec = core.Paragraphs().Par(par);
    const int32_t length = zandor::ParLength(rec);
    TLinesList lines(&rec);
    lines.SetLineCount(static_cast<int>(wraps.size()) + 1);
    for (size_t k = 0; k <= wraps.size(); ++k) {
        LineInfo line{};
        line.Start = k == 0 ? 0 : wraps[k - 1];
        line.Stop = k == wraps.size() ? length : wraps[k];
        line.TextWidth = line.FullWidth = 8 * (line.Stop - line.Start);
        line.JustifyFrom = line.Stop;
        lines.PutLine(static_cast<int>(k), line);
    }
    RecountLineRuns(rec);
    RenumberLines(core.Paragraphs());
}

void HidePar(TArtMemoCore& core, int par) {
    core.Paragraphs().Par(par).Flags |= pfHidden;
    RenumberLines(core.Paragraphs());
}

void AddRun(TArtMemoCore& core, int par, int32_t offset, uint8_t styleFlags, int32_t context) {
    ParInfo& rec = core.Paragraphs().Par(par);
    TRunArray& runs = ExtendPar(rec).Runs;
    TDynInfo run = kDefaultRunState;
    run.Offset = offset;
    run.StyleFlags = styleFlags;
    run.Context = context;
    run.Depth = -1;
    auto at = std::upper_bound(runs.begin(), runs.end(), offset,
                               [](int32_t o, const TDynInfo& r) { return o < r.Offset; });
    runs.insert(at, run);
    RecountLineRuns(rec);
}

TextModel::TextModel(std::string text) : Text(std::move(text)) {
    Starts.push_back(0);
    for (size_t i = 0; i + 1 < Text.size(); ++i)
        if (Text[i] == '\r' && Text[i + 1] == '\n')
            Starts.push_back(static_cast<int32_t>(i + 2));
}

int TextModel::ParOf(int32_t pos) const {
    return static_cast<int>(std::upper_bound(Starts.begin(), Starts.end(), pos) - Starts.begin()) - 1;
}

int32_t TextModel::ParLength(int par) const {
    const auto next = static_cast<size_t>(par + 1);
    const int32_t end = next < Starts.size() ? Starts[next] - 2 : static_cast<int32_t>(Text.size());
    return end - Starts[static_cast<size_t>(par)];
}

uint8_t TextModel::CharAt(int32_t pos) const {
    return pos < static_cast<int32_t>(Text.size()) ? static_cast<uint8_t>(Text[static_cast<size_t>(pos)])
                                                   : 13;
}

} // namespace zandor::test
