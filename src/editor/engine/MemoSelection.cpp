#include "editor/engine/MemoSelection.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

TMemoSelection::TMemoSelection(TArtMemoCore& core) : FCore(core) {
    TNavigatorRegistry& registry = core.Navigators();
    auto adopt = [&] { return registry.Adopt(std::make_unique<TArtNavigator>(&core)); };
    FStart = adopt();
    FEnd = adopt();
    FFreeCaret = adopt();
    FScratch = adopt();
}

int32_t TMemoSelection::Lower() const {
    return FStart->Pos();
}

int32_t TMemoSelection::Upper() const {
    return std::max(FStart->Pos(), FEnd->Pos());
}

TArtNavigator& TMemoSelection::Caret() {
    if (FreeCaretActive())
        return *FFreeCaret;
    return FLength < 0 ? *FEnd : *FStart;
}

const TArtNavigator& TMemoSelection::Caret() const {
    return const_cast<TMemoSelection*>(this)->Caret();
}

int32_t TMemoSelection::SelStart() const {
    return Caret().Pos();
}

void TMemoSelection::SetEnds(int32_t caret, int32_t length) {
    const int32_t anchor = caret + length;
    // The ends keep what they know of their paragraphs when they stay near it.
    FStart->SetPos(std::min(caret, anchor));
    FEnd->SetPos(std::max(caret, anchor));
    FLength = length;
    FFreeCaretActive = false;
}

void TMemoSelection::Collapse(int32_t pos) {
    SetEnds(pos, 0);
    FBlockMode = false;
}

void TMemoSelection::CollapseAtEnd() {
    FStart->Assign(*FEnd);
    FLength = 0;
    FBlockMode = false;
    FFreeCaretActive = false;
}

void TMemoSelection::RecountLength() {
    const int32_t span = Upper() - Lower();
    FLength = FLength < 0 ? -span : span;
}

std::pair<int32_t, int32_t> TMemoSelection::BlockRow(int32_t par) const {
    const ParInfo& p = FCore.Paragraphs().Par(par);
    const int t = FCore.TabStops();
    const bool codes = FCore.StaticFormat();
    const int32_t start = p.Start;
    return {start + TArtNavigator::OffsetOfColumn(p, BlockLeft(), t, codes),
            start + TArtNavigator::OffsetOfColumn(p, BlockRight(), t, codes)};
}

std::string TMemoSelection::BlockText() const {
    std::string text;
    FScratch->SetPos(Lower());
    const int32_t first = FScratch->ParNb();
    FScratch->SetPos(Upper());
    const int32_t last = FScratch->ParNb();
    const TParagraphsList& pars = FCore.Paragraphs();
    for (int32_t i = first; i <= last; ++i) {
        const auto [from, to] = BlockRow(i);
        const ParInfo& p = pars.Par(i);
        if (to > from && p.Text)
            text.append(p.Text + (from - p.Start), static_cast<size_t>(to - from));
        text += "\r\n";
    }
    return text;
}

} // namespace zandor
