#include "editor/control/MemoTyping.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoInput.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/IndentRules.h"
#include "editor/engine/NoOverwriteBracket.h"
#include "editor/engine/ParagraphsList.h"

#include <optional>

namespace zandor {

namespace {

constexpr uint8_t kCtrlA = 1;
constexpr uint8_t kCtrlC = 3;
constexpr uint8_t kCtrlE = 5;
constexpr uint8_t kTab = 9;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kCtrlV = 22;
constexpr uint8_t kCtrlX = 24;

} // namespace

TMemoTyping::TMemoTyping(TArtMemo& memo, TInputState& state)
    : FMemo(memo), FState(state),
      FNav(memo.Core().Navigators().Adopt(std::make_unique<TArtNavigator>(&memo.Core()))) {}

TMemoTyping::TResult TMemoTyping::Character(uint8_t ch, bool control) {
    TArtMemo& m = FMemo;
    if (FState.AltShift) {
        FState.AltShift = false;
        return Ignored;
    }
    if (m.UpdateLevel() > 0 || FState.DraggingText || m.DisplayOnly() ||
        (m.ReadOnly() && !(control && ch == kCtrlC)))
        return Ignored;
    // The clipboard keys act on the selection itself; everything else acts at the caret when
    // selections are not to be typed over.
    std::optional<TNoOverwriteBracket> bracket;
    if (!(control && (ch == kCtrlC || ch == kCtrlV || ch == kCtrlX)))
        bracket.emplace(m.Editor());
    if (control)
        return ControlCharacter(ch);
    Printable(static_cast<char>(ch));
    return Scroll;
}

TMemoTyping::TResult TMemoTyping::ControlCharacter(uint8_t ch) {
    TArtMemo& m = FMemo;
    switch (ch) {
    case kCtrlA:
        m.SelectAll();
        return NoScroll;
    case kCtrlC:
        m.CopyToClipboard();
        return NoScroll;
    case kCtrlE:
        m.viewport()->repaint();
        m.CheckConsistency();
        return Scroll;
    case kTab:
        Tab();
        return Scroll;
    case kEnter:
        Enter();
        return Scroll;
    case kCtrlV:
        m.PasteFromClipboard();
        return Scroll;
    case kCtrlX:
        m.CutToClipboard();
        return Scroll;
    default:
        return Ignored;
    }
}

void TMemoTyping::Printable(char ch) {
    TArtMemo& m = FMemo;
    TMemoSelection& sel = m.Selection();
    TArtNavigator& caret = sel.Caret();
    const bool selection = sel.SelLength() != 0 || sel.BlockMode();
    const bool atEnd = caret.ParOffset() >= ParLength(*caret.Par());
    if (m.Overwrite() && !selection && !atEnd) {
        const int32_t pos = caret.Pos();
        m.Editor().Select(pos, pos + 1);
    } else if (ch == ' ' && !selection && atEnd && m.Options().Has(amoDiscardTrailingSpaces)) {
        // A blank at the line end stays pending until something follows it.
        m.Editor().SetPendingBlanks(m.PendingBlanks() + ' ');
        return;
    }
    m.SetSelText(std::string(1, ch));
}

void TMemoTyping::Enter() {
    TArtMemo& m = FMemo;
    TMemoSelection& sel = m.Selection();
    TMemoEditor& editor = m.Editor();
    const bool selection = sel.SelLength() != 0 || sel.BlockMode();
    TArtNavigator& caret = sel.Caret();
    if (m.Overwrite() && !selection) {
        // In overwrite mode Enter moves to the next line; only the last line gets a new one.
        m.Core().FormatUpTo(caret.ParNb());
        const int32_t line = caret.DisplayLine();
        if (line + 1 < m.Core().VisibleLineCount()) {
            FNav->SetDisplayLine(line + 1);
            editor.MoveCaret(FNav->Pos(), false);
        } else {
            editor.MoveCaret(m.CharCount(), false);
            m.SetSelText("\r\n");
        }
        return;
    }
    if (selection || !m.Options().Has(amoAutoIndent)) {
        m.SetSelText("\r\n");
        return;
    }
    // The indentation of the nearest line above that is not empty, no wider than the caret's column.
    m.Core().FormatUpTo(caret.ParNb());
    const int32_t column = caret.LineOffset() + static_cast<int32_t>(m.PendingBlanks().size());
    std::string indent;
    for (int32_t line = caret.DisplayLine(); line >= 0; --line) {
        FNav->SetDisplayLine(line);
        const std::string text = FNav->LineText();
        if (!text.empty()) {
            indent = std::string(LeadingIndent(text, column));
            break;
        }
    }
    const bool atEnd = caret.ParOffset() >= ParLength(*caret.Par());
    if (m.Options().Has(amoDiscardTrailingSpaces) && atEnd) {
        m.SetSelText("\r\n");
        if (!indent.empty())
            editor.SetPendingBlanks(IndentAsBlanks(indent, m.TabStops()));
        return;
    }
    m.SetSelText("\r\n" + indent);
}

void TMemoTyping::Tab() {
    TArtMemo& m = FMemo;
    TMemoSelection& sel = m.Selection();
    TArtNavigator& caret = sel.Caret();
    if (m.Options().Has(amoSmartTabs)) {
        if (m.WordWrap()) {
            m.SetSelText("\t");
            return;
        }
        int32_t column =
            TArtNavigator::ColumnOf(*caret.Par(), caret.ParOffset(), m.TabStops(), m.StaticFormat());
        for (char c : m.PendingBlanks())
            column = c == '\t' && m.TabStops() > 0 ? (column / m.TabStops() + 1) * m.TabStops() : column + 1;
        const int32_t blanks =
            SmartTabBlanks(m.Core().Paragraphs(), caret.ParNb(), column, m.TabStops(), m.StaticFormat());
        if (blanks == 0)
            return;
        // The selection stays in front of the blanks; a column block is typed over like any
        // selection, its rows could not stand in a line.
        const std::string kept = sel.BlockMode() ? std::string() : m.SelText();
        m.SetSelText(kept + std::string(static_cast<size_t>(blanks), ' '));
        return;
    }
    const bool selection = sel.SelLength() != 0 || sel.BlockMode();
    if (!selection && caret.ParOffset() >= ParLength(*caret.Par()) &&
        m.Options().Has(amoDiscardTrailingSpaces)) {
        m.Editor().SetPendingBlanks(m.PendingBlanks() + '\t');
        return;
    }
    m.SetSelText("\t");
}

} // namespace zandor
