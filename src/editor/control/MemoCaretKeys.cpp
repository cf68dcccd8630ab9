#include "editor/control/MemoCaretKeys.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/UndoList.h"

#include <algorithm>

namespace zandor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A target in a collapsed paragraph goes to the visible text before it (back) or after it.
int32_t VisibleTarget(TArtMemoCore& core, int32_t pos, bool forward) {
    TParagraphsList& pars = core.Paragraphs();
    TArtNavigator nav;
    nav.SetMemo(&core);
    nav.SetPos(pos);
    int32_t p = nav.ParNb();
    if (!IsHidden(pars.Par(p)))
        return pos;
    if (forward) {
        while (p < pars.Count() - 1 && IsHidden(pars.Par(p)))
            ++p;
        return IsHidden(pars.Par(p)) ? pos : pars.Par(p).Start;
    }
    while (p > 0 && IsHidden(pars.Par(p)))
        --p;
    return IsHidden(pars.Par(p)) ? pos : pars.Par(p).Start + ParLength(pars.Par(p));
}

} // namespace

TMemoCaretKeys::TMemoCaretKeys(TArtMemo& memo)
    : FMemo(memo), FNav(memo.Core().Navigators().Adopt(std::make_unique<TArtNavigator>(&memo.Core()))) {}

void TMemoCaretKeys::Finish() {
    FMemo.ScrollInView();
    FMemo.PaintNow();
}

void TMemoCaretKeys::OfferKeyDown(int key) {
    if (FMemo.OnKeyDown)
        FMemo.OnKeyDown(&FMemo, key, FKeys);
}

void TMemoCaretKeys::CollapseFirst(bool shift, bool keepX) {
    TMemoSelection& sel = FMemo.Selection();
    if (shift || FMemo.Options().Has(amoPersistentBlocks) || (sel.SelLength() == 0 && !sel.BlockMode()))
        return;
    // The caret keeps its display line: after Shift+End it may end the line the next one starts at.
    FMemo.Editor().MoveCaret(sel.Caret(), false, keepX);
}

void TMemoCaretKeys::MoveTo(int32_t pos, bool shift) {
    FMemo.Editor().MoveCaret(pos, shift);
    Finish();
}

void TMemoCaretKeys::ChangePendingBlanks(std::string blanks, bool shift) {
    TMemoEditor& editor = FMemo.Editor();
    editor.SetPendingBlanks(std::move(blanks));
    editor.Undos().StartNewGroup();
    if (shift && FMemo.BlockMode())
        editor.FollowCaretWithBlockColumn();
    Finish();
}

int32_t TMemoCaretKeys::StepLeft(int32_t pos) {
    TArtMemo& m = FMemo;
    FNav->SetPos(pos);
    const ParInfo& par = *FNav->Par();
    int32_t offset = FNav->ParOffset();
    if (m.PassOverCodes() && m.StaticFormat())
        while (offset > 0 && IsFormatCode(par.Text[offset - 1]))
            --offset;
    if (offset > 0)
        return par.Start + offset - 1;
    if (FNav->ParNb() == 0)
        return par.Start;
    // Over the break to the end of the paragraph before, and there before its trailing blanks
    // when those are not kept.
    const ParInfo& prev = m.Core().Paragraphs().Par(FNav->ParNb() - 1);
    int32_t end = ParLength(prev);
    if (m.Options().Has(amoDiscardTrailingSpaces))
        while (end > 0 && IsBlank(prev.Text[end - 1]))
            --end;
    return VisibleTarget(m.Core(), prev.Start + end, false);
}

int32_t TMemoCaretKeys::StepRight(int32_t pos) {
    TArtMemo& m = FMemo;
    FNav->SetPos(pos);
    const ParInfo& par = *FNav->Par();
    const int32_t length = ParLength(par);
    int32_t offset = FNav->ParOffset();
    if (m.PassOverCodes() && m.StaticFormat())
        while (offset < length && IsFormatCode(par.Text[offset]))
            ++offset;
    if (m.Options().Has(amoDiscardTrailingSpaces) && !m.BlockMode()) {
        int32_t k = offset;
        while (k < length && IsBlank(par.Text[k]))
            ++k;
        if (k == length)
            offset = length;
    }
    if (offset < length)
        return par.Start + offset + 1;
    if (FNav->ParNb() == m.ParagraphCount() - 1)
        return par.Start + length;
    return VisibleTarget(m.Core(), par.Start + length + 2, true);
}

int32_t TMemoCaretKeys::WordRightTarget(int32_t pos, bool shift) {
    const TCharSet& separators = FMemo.Core().Separators();
    FNav->SetPos(pos);
    if (!shift || FMemo.Options().Has(amoLargeWordSelect)) {
        FNav->WordRight(separators);
        return FNav->Pos();
    }
    // Selecting word by word stops at word ends.
    FNav->WordEnd(separators);
    if (FNav->Pos() != pos)
        return FNav->Pos();
    const int32_t par = FNav->ParNb();
    const bool atOwnEnd = FNav->ParOffset() == ParLength(*FNav->Par());
    FNav->WordRight(separators);
    if (FNav->ParNb() > par && !atOwnEnd)
        return FNav->Pos() - 2;
    FNav->WordEnd(separators);
    return FNav->Pos();
}

void TMemoCaretKeys::Horizontal(bool right, Qt::KeyboardModifiers keys) {
    FKeys = keys;
    const bool shift = keys & Qt::ShiftModifier;
    const bool ctrl = keys & Qt::ControlModifier;
    TArtMemo& m = FMemo;
    CollapseFirst(shift, false);
    TArtNavigator& caret = m.Selection().Caret();
    const int32_t pos = caret.Pos();
    const std::string& pending = m.PendingBlanks();
    if (ctrl) {
        if (right) {
            MoveTo(WordRightTarget(pos, shift), shift);
        } else {
            FNav->SetPos(pos);
            FNav->WordLeft(m.Core().Separators());
            MoveTo(FNav->Pos(), shift);
        }
        return;
    }
    if (!right) {
        if (!pending.empty()) {
            ChangePendingBlanks(pending.substr(0, pending.size() - 1), shift);
        } else if (pos == 0) {
            OfferKeyDown(Qt::Key_Left);
        } else {
            MoveTo(StepLeft(pos), shift);
        }
        return;
    }
    const bool atEnd = caret.ParOffset() >= ParLength(*caret.Par());
    const TArtMemoOptions options = m.Options();
    if (atEnd && (m.BlockMode() || (options.Has(amoKeepColumnPos) && !options.Has(amoWrapCaret)))) {
        ChangePendingBlanks(pending + ' ', shift);
        return;
    }
    MoveTo(StepRight(pos), shift);
}

void TMemoCaretKeys::HomeEnd(bool end, Qt::KeyboardModifiers keys) {
    const bool shift = keys & Qt::ShiftModifier;
    const bool ctrl = keys & Qt::ControlModifier;
    TArtMemo& m = FMemo;
    CollapseFirst(shift, false);
    TArtNavigator& caret = m.Selection().Caret();
    if (ctrl) {
        MoveTo(end ? m.CharCount() : 0, shift);
    } else if (end) {
        m.Editor().MoveCaretToLineEnd(shift);
        Finish();
    } else {
        FNav->Assign(caret);
        MoveTo(caret.Pos() - FNav->LineOffset(), shift);
    }
}

void TMemoCaretKeys::Vertical(int lines, bool page, Qt::KeyboardModifiers keys) {
    FKeys = keys;
    const bool shift = keys & Qt::ShiftModifier;
    const bool ctrl = keys & Qt::ControlModifier;
    TArtMemo& m = FMemo;
    TArtMemoCore& core = m.Core();
    TMemoSelection& sel = m.Selection();
    TMemoEditor& editor = m.Editor();
    const TArtMemoOptions options = m.Options();
    const int32_t line = sel.Caret().DisplayLine();
    if (!page && lines < 0 && line == 0) {
        OfferKeyDown(Qt::Key_Up);
        return;
    }
    CollapseFirst(shift, true);
    if (!m.WordWrap() && options.Has(amoPutExtraSpaces) && !options.Has(amoKeepColumnPos))
        sel.SetRememberedX(TMemoSelection::kNoX);
    const int32_t window = m.VisibleLineCount();
    const int32_t last = std::max(core.VisibleLineCount() - 1, 0);
    int32_t target = line + lines;
    if (page) {
        const int lh = m.LinePixels();
        const int64_t caretY = int64_t(line) * lh - m.TopOrigin();
        const bool caretVisible = caretY >= 0 && caretY < m.ClientHeight();
        if (lines < 0) {
            target = std::max(line - window + 1, 0);
            if (!ctrl && caretVisible)
                m.SetTopOrigin(std::max(0, m.TopOrigin() - (window - 1) * lh));
        } else {
            target = std::min(line + window - 1, last);
            if (!ctrl && caretVisible) {
                const int64_t bottom =
                    std::max<int64_t>(0, int64_t(core.VisibleLineCount()) * lh - m.ClientHeight() + 3);
                m.SetTopOrigin(
                    static_cast<int>(std::min<int64_t>(int64_t(m.TopOrigin()) + (window - 1) * lh, bottom)));
            }
        }
    }
    target = std::clamp(target, 0, last);
    editor.MoveCaretToLine(target, shift);
    TArtNavigator& caret = sel.Caret();

    const bool block = sel.BlockMode();
    if ((block || options.Has(amoKeepColumnPos)) && (!shift || block || options.Has(amoPersistentBlocks))) {
        const ParInfo& par = *caret.Par();
        const int32_t offset = caret.ParOffset();
        const bool gap = offset >= ParLength(par) || par.Text[offset] == '\t';
        const int missing =
            (sel.RememberedX() - m.LeftOrigin() - caret.GetX()) / std::max(1, m.AvgCharWidth());
        if (gap && missing > 0) {
            editor.SetPendingBlanks(std::string(static_cast<size_t>(missing), ' '));
            if (block && shift)
                editor.FollowCaretWithBlockColumn();
        }
    }
    Finish();
}

} // namespace zandor
