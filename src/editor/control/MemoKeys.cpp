#include "editor/control/MemoKeys.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoCaretKeys.h"
#include "editor/control/MemoInput.h"
#include "editor/control/MemoTextDrag.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/NoOverwriteBracket.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

namespace {

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

int32_t LeadingBlanks(const std::string& line) {
    int32_t n = 0;
    while (n < static_cast<int32_t>(line.size()) && line[static_cast<size_t>(n)] == ' ')
        ++n;
    return n;
}

} // namespace

TMemoKeys::TMemoKeys(TArtMemo& memo, TInputState& state, TMemoTextDrag& drag)
    : FMemo(memo), FState(state), FDrag(drag), FCaretKeys(memo),
      FNav(memo.Core().Navigators().Adopt(std::make_unique<TArtNavigator>(&memo.Core()))) {}

bool TMemoKeys::KeyDown(int key, Qt::KeyboardModifiers shift) {
    TArtMemo& m = FMemo;
    FShift = shift;
    const bool withShift = shift & Qt::ShiftModifier;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool alt = shift & Qt::AltModifier;
    if (m.UpdateLevel() > 0)
        return true;
    if (FState.DraggingText) {
        if (key == Qt::Key_Control)
            FDrag.CopyKey(true);
        else if (key == Qt::Key_Escape)
            FDrag.Cancel();
        return true;
    }
    if (m.DisplayOnly()) {
        ScrollOnly(key, ctrl);
        return false;
    }
    if (ctrl && !alt && !m.ReadOnly() && m.EnableHotKeys() && HotKey(key, withShift)) {
        m.ScrollInView();
        return true;
    }
    if (key == Qt::Key_Menu) {
        const int64_t y = int64_t(m.Selection().Caret().DisplayLine()) * m.LinePixels() - m.TopOrigin();
        const QPoint at(m.Editor().CaretX(), static_cast<int>(std::clamp<int64_t>(y, 0, m.ClientHeight())));
        m.ShowContextMenu(m.viewport()->mapToGlobal(at));
        return true;
    }
    const uint32_t code = VirtualKeyOf(key);
    if (code == 0 || code >= 48)
        return false;
    TMemoSelection& sel = m.Selection();
    m.Core().FormatUpTo(sel.Caret().ParNb());
    if (withShift && alt && !ctrl && IsArrow(key) && m.Options().Has(amoBlockSelection) && !m.WordWrap() &&
        !sel.BlockMode())
        m.Editor().StartBlock(m.Editor().CaretColumn());
    return NavigationKey(key, withShift, ctrl, alt);
}

// ---- a display-only control: the keys scroll the view -------------------------------------------

void TMemoKeys::ScrollOnly(int key, bool ctrl) {
    TArtMemo& m = FMemo;
    const int32_t top = m.TopLine();
    const int32_t window = m.VisibleLineCount();
    const int32_t lastTop = std::max(m.LineCount() - window + 1, 0);
    const int width = m.TextAreaWidth();
    const int rightmost = std::max(m.Core().WidestWidth() + m.RightMargin() - width, 0);
    const int left = m.LeftOrigin();
    switch (key) {
    case Qt::Key_PageUp:
        m.SetTopLine(ctrl ? 0 : std::max(top - window + 1, 0));
        break;
    case Qt::Key_PageDown:
        m.SetTopLine(ctrl ? lastTop : std::min(top + window - 1, lastTop));
        break;
    case Qt::Key_Home:
        m.SetLeftOrigin(0);
        break;
    case Qt::Key_End:
        m.SetLeftOrigin(rightmost);
        break;
    case Qt::Key_Left:
        m.SetLeftOrigin(std::max(left - width / 5 - 1, 0));
        break;
    case Qt::Key_Right:
        m.SetLeftOrigin(std::min(left + width / 5 + 1, rightmost));
        break;
    case Qt::Key_Up:
        m.SetTopLine(std::max(top - 1, 0));
        break;
    case Qt::Key_Down:
        m.SetTopLine(std::min(top + 1, lastTop));
        break;
    default:
        break;
    }
}

// ---- Ctrl hot keys ------------------------------------------------------------------------------

bool TMemoKeys::HotKey(int key, bool shift) {
    TArtMemo& m = FMemo;
    switch (key) {
    case Qt::Key_B:
        m.ToggleBold();
        return true;
    case Qt::Key_J:
        m.ToggleItalic();
        return true;
    case Qt::Key_U:
        m.ToggleUnderline();
        return true;
    case Qt::Key_H:
        m.ToggleHighlight();
        return true;
    case Qt::Key_F:
        m.ToggleAltFont();
        return true;
    case Qt::Key_P:
        // A paragraph break followed by a form feed: a page break for printing.
        m.SetSelText("\r\n\f");
        return true;
    case Qt::Key_T:
        m.SetSelText("\t");
        return true;
    case Qt::Key_Z:
        if (shift)
            m.Redo();
        else
            m.Undo();
        return true;
    default:
        return false;
    }
}

// ---- the navigation and editing keys --------------------------------------------------------------

bool TMemoKeys::NavigationKey(int key, bool shift, bool ctrl, bool alt) {
    const bool block = FMemo.BlockMode();
    switch (key) {
    case Qt::Key_Backspace:
        Backspace(ctrl);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (alt)
            return false;
        FCaretKeys.Vertical(key == Qt::Key_PageUp ? -1 : 1, true, FShift);
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (alt)
            return false;
        FCaretKeys.HomeEnd(key == Qt::Key_End, FShift);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (alt && !block)
            return false;
        FCaretKeys.Horizontal(key == Qt::Key_Right, FShift);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt && !block)
            return false;
        FCaretKeys.Vertical(key == Qt::Key_Up ? -1 : 1, false, FShift);
        break;
    case Qt::Key_Insert:
        if (alt)
            return false;
        Insert(shift, ctrl);
        break;
    case Qt::Key_Delete:
        if (alt)
            return false;
        Delete(shift, ctrl);
        break;
    default:
        // Tab, Enter, Esc, the space bar and the like: the typed character does their work.
        return false;
    }
    return true;
}

void TMemoKeys::Finish() {
    FMemo.ScrollInView();
    FMemo.PaintNow();
}

// ---- Insert, Delete and Backspace --------------------------------------------------------------------

void TMemoKeys::Insert(bool shift, bool ctrl) {
    TArtMemo& m = FMemo;
    const auto alive = m.AliveToken();
    if (shift && !m.ReadOnly()) {
        m.PasteFromClipboard();
    } else if (ctrl) {
        m.CopyToClipboard();
    } else if (m.Options().Has(amoInsertKeyActive)) {
        m.SetOverwrite(!m.Overwrite());
        if (m.OnStyleChange)
            m.OnStyleChange(&m);
    }
    if (*alive)
        m.ScrollInView();
}

void TMemoKeys::Erase(int32_t from, int32_t to, bool keepPending) {
    if (from == to)
        return;
    TArtMemo& m = FMemo;
    const std::string pending = m.PendingBlanks();
    m.Editor().Select(to, from);
    if (keepPending) {
        m.Selection().SetPendingBlanks(pending);
        m.Editor().SetSelText({});
    } else {
        m.Editor().SetSelTextBuf("");
    }
}

void TMemoKeys::Delete(bool shift, bool ctrl) {
    TArtMemo& m = FMemo;
    if (m.ReadOnly())
        return;
    TMemoSelection& sel = m.Selection();
    TMemoEditor& editor = m.Editor();
    const bool hadSelection = sel.SelLength() != 0 || sel.BlockMode();
    if (shift && hadSelection) {
        const auto alive = m.AliveToken();
        m.CutToClipboard();
        if (*alive)
            m.ScrollInView();
        return;
    }
    TArtNavigator& caret = sel.Caret();
    const int32_t pos = caret.Pos();
    if (shift) {
        // Shows what the key would take without taking it: the character before the caret.
        const int32_t back = caret.ParOffset() == 0 ? 2 : 1;
        if (pos >= back)
            editor.Select(pos, pos - back);
        Finish();
        return;
    }
    const int oldX = editor.CaretX();
    {
        TNoOverwriteBracket bracket(editor);
        TArtNavigator& lower = sel.StartNav();
        TArtNavigator& upper = sel.EndNav();
        m.Core().FormatUpTo(upper.ParNb());
        const bool oneLine = lower.DisplayLine() == upper.DisplayLine() && !sel.BlockMode();
        if (ctrl && oneLine) {
            // To the end of the display line, never its paragraph break.
            FNav->Assign(lower);
            const int32_t start = lower.Pos() - FNav->LineOffset();
            Erase(lower.Pos(), start + static_cast<int32_t>(FNav->LineText().size()));
        } else if (sel.SelLength() != 0 || sel.BlockMode()) {
            editor.ClearSelection();
        } else {
            const int32_t here = sel.Caret().Pos();
            const ParInfo& par = *sel.Caret().Par();
            const int32_t length = ParLength(par);
            int32_t offset = sel.Caret().ParOffset();
            const bool lastPar = sel.Caret().ParNb() == m.ParagraphCount() - 1;
            if (offset >= length) {
                if (!lastPar)
                    Erase(here, here + 2, true);
            } else {
                // The character goes with the format codes before it; codes that reach the end of
                // the paragraph take its break along.
                if (m.StaticFormat())
                    while (offset < length && IsFormatCode(par.Text[offset]))
                        ++offset;
                if (offset < length)
                    Erase(here, par.Start + offset + 1);
                else
                    Erase(here, par.Start + length + (lastPar ? 0 : 2));
            }
        }
    }
    if (m.Options().Has(amoKeepColumnPos) && !m.WordWrap() && !hadSelection) {
        const int lost = (oldX - editor.CaretX()) / std::max(1, m.AvgCharWidth());
        if (lost > 0)
            editor.SetPendingBlanks(m.PendingBlanks() + std::string(static_cast<size_t>(lost), ' '));
    }
    Finish();
}

int32_t TMemoKeys::BackIndentTarget(int32_t column) {
    // The indentation of the nearest line above that is indented less.
    TArtNavigator& caret = FMemo.Selection().Caret();
    for (int32_t line = caret.DisplayLine() - 1; line >= 0; --line) {
        FNav->SetDisplayLine(line);
        const int32_t indent = LeadingBlanks(FNav->LineText());
        if (indent < column)
            return indent;
    }
    return 0;
}

void TMemoKeys::Backspace(bool ctrl) {
    TArtMemo& m = FMemo;
    if (m.ReadOnly())
        return;
    TMemoSelection& sel = m.Selection();
    TMemoEditor& editor = m.Editor();
    // Where the lower end of what goes stood in its display line, for amoKeepColumnPos below.
    int32_t lowerPar = -1;
    int32_t lowerLine = 0;
    int32_t lowerColumn = 0;
    const auto markLower = [&](TArtNavigator& at) {
        lowerPar = at.ParNb();
        lowerLine = at.LineIndex();
        lowerColumn = at.LineOffset();
    };
    {
        TNoOverwriteBracket bracket(editor);
        TArtNavigator& caret = sel.Caret();
        const int32_t pos = caret.Pos();
        const std::string pending = m.PendingBlanks();
        const auto eraseBackTo = [&](int32_t from) {
            FNav->SetPos(from);
            markLower(*FNav);
            Erase(from, pos);
        };
        if (sel.SelLength() != 0 || sel.BlockMode()) {
            markLower(sel.StartNav());
            editor.SetSelTextBuf("");
        } else if (ctrl) {
            FNav->SetPos(pos);
            FNav->WordLeft(m.Core().Separators());
            eraseBackTo(FNav->Pos());
        } else if (caret.ParOffset() == 0 && pending.empty()) {
            if (pos > 0)
                eraseBackTo(pos - 2);
        } else if (!pending.empty()) {
            editor.SetPendingBlanks(pending.substr(0, pending.size() - 1));
        } else {
            const int32_t column = caret.LineOffset();
            const ParInfo& par = *caret.Par();
            if (m.Options().Has(amoBackIndent) && column > 0 && column == LeadingBlanks(caret.LineText())) {
                eraseBackTo(pos - (column - BackIndentTarget(column)));
            } else {
                // One character, with format codes on together with the codes right before it.
                const bool codes = m.StaticFormat();
                int32_t from = caret.ParOffset();
                if (codes)
                    while (from > 0 && IsFormatCode(par.Text[from - 1]))
                        --from;
                if (from > 0) {
                    --from;
                    if (codes)
                        while (from > 0 && IsFormatCode(par.Text[from - 1]))
                            --from;
                    eraseBackTo(par.Start + from);
                } else if (caret.ParNb() > 0) {
                    // Only format codes before the caret: the paragraphs join as at its start.
                    eraseBackTo(par.Start - 2);
                }
            }
        }
    }
    sel.SetRememberedX(TMemoSelection::kNoX);
    // Trailing blanks the edit dropped leave the caret where it stood on screen.
    TArtNavigator& caret = sel.Caret();
    if (m.Options().Has(amoKeepColumnPos) && caret.ParNb() == lowerPar && caret.LineIndex() == lowerLine) {
        const int32_t lost =
            lowerColumn - caret.LineOffset() - static_cast<int32_t>(m.PendingBlanks().size());
        if (lost > 0)
            editor.SetPendingBlanks(m.PendingBlanks() + std::string(static_cast<size_t>(lost), ' '));
    }
    Finish();
}

} // namespace zandor
