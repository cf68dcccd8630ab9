#include "editor/engine/NoOverwriteBracket.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"

#include <algorithm>
#include <exception>

namespace zandor {

TNoOverwriteBracket::TNoOverwriteBracket(TMemoEditor& editor)
    : FEditor(editor), FUncaught(std::uncaught_exceptions()) {
    TMemoSelection& sel = editor.FSel;
    if (!editor.FOptions.Has(amoNoOverwriteBlocks) || (sel.SelLength() == 0 && !sel.BlockMode()))
        return;
    const int32_t caret = sel.SelStart();
    if (!editor.FOptions.Has(amoPersistentBlocks)) {
        editor.RepaintSelection();
        sel.Collapse(caret);
        return;
    }
    FActive = true;
    FBlock = sel.BlockMode();
    TArtMemoCore& core = editor.FCore;
    // The lower end moves after text typed at it, the upper end stays before it: the block keeps
    // exactly its text.
    FLower = std::make_unique<TArtNavigator>(&core);
    FLower->StickToEnd = true;
    FLower->SetPos(sel.Lower());
    FUpper = std::make_unique<TArtNavigator>(&core);
    FUpper->SetPos(sel.Upper());
    if (FBlock) {
        const int t = core.TabStops();
        const bool codes = core.StaticFormat();
        const bool caretLow = sel.SelLength() >= 0;
        const int lowColumn = caretLow ? sel.BlockColumn() : sel.BlockAnchorColumn();
        const int highColumn = caretLow ? sel.BlockAnchorColumn() : sel.BlockColumn();
        FStartOffset = lowColumn - TArtNavigator::ColumnOf(*FLower->Par(), FLower->ParOffset(), t, codes);
        FEndOffset = highColumn - TArtNavigator::ColumnOf(*FUpper->Par(), FUpper->ParOffset(), t, codes);
    }
    sel.Collapse(caret);
    editor.BeginUpdate();
}

TNoOverwriteBracket::~TNoOverwriteBracket() noexcept(false) {
    if (!FActive)
        return;
    const bool failing = std::uncaught_exceptions() > FUncaught;
    TMemoSelection& sel = FEditor.FSel;
    TArtMemoCore& core = FEditor.FCore;
    const int32_t caret = sel.Caret().Pos();
    const int32_t lower = std::min(FLower->Pos(), FUpper->Pos());
    const int32_t upper = std::max(FLower->Pos(), FUpper->Pos());
    if (FBlock) {
        const int t = core.TabStops();
        const bool codes = core.StaticFormat();
        FLower->SetPos(lower);
        FUpper->SetPos(upper);
        const int lowColumn =
            FStartOffset + TArtNavigator::ColumnOf(*FLower->Par(), FLower->ParOffset(), t, codes);
        const int highColumn =
            FEndOffset + TArtNavigator::ColumnOf(*FUpper->Par(), FUpper->ParOffset(), t, codes);
        FEditor.SelectBlock(lowColumn, FLower->ParNb(), FUpper->ParNb(), highColumn);
    } else {
        sel.SetEnds(lower, upper - lower);
    }
    FLower.reset();
    FUpper.reset();
    sel.SetPendingBlanks({});
    sel.FreeCaret().SetPos(caret);
    sel.SetFreeCaretActive(true);
    sel.SetMoved(true);
    try {
        FEditor.EndUpdate();
        if (FEditor.UpdateLevel() == 0 && FEditor.FHost)
            FEditor.FHost->ScrollCaretInView();
    } catch (...) {
        if (!failing)
            throw;
    }
}

} // namespace zandor
