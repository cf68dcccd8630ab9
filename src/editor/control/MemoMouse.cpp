#include "editor/control/MemoMouse.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoCursors.h"
#include "editor/control/MemoInput.h"
#include "editor/control/MemoTextDrag.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

namespace {

// The cursors the mouse at rest shows besides those of highlighted runs (which are int16 numbers).
constexpr int kOwnCursor = 0;
constexpr int kLineCursor = 0x10001;
constexpr int kArrowCursor = 0x10002;

} // namespace

TMemoMouse::TMemoMouse(TArtMemo& memo, TInputState& state, TMemoTextDrag& drag)
    : FMemo(memo), FState(state), FDrag(drag),
      FNav(memo.Core().Navigators().Adopt(std::make_unique<TArtNavigator>(&memo.Core()))) {}

// ---- where the mouse is ------------------------------------------------------------------------

bool TMemoMouse::InLeftMargin(QPoint p) const {
    return p.x() < FMemo.LeftMargin() - FMemo.LeftOrigin() - 2;
}

int32_t TMemoMouse::CharacterAt(QPoint p) {
    TArtMemo& m = FMemo;
    const int64_t y = int64_t(p.y()) + m.TopOrigin();
    if (y < 0 || p.x() < m.LeftMargin() - m.LeftOrigin())
        return -1;
    const int64_t line = y / std::max(1, m.LinePixels());
    if (line >= m.Core().VisibleLineCount())
        return -1;
    FNav->SetDisplayLine(static_cast<int32_t>(line));
    m.Core().FormatUpTo(FNav->ParNb());
    FNav->SetDisplayLine(static_cast<int32_t>(line));
    const int32_t lineEnd = FNav->Pos() + static_cast<int32_t>(FNav->LineText().size());
    FNav->SetX(p.x());
    int32_t pos = FNav->Pos();
    // SetX finds the gap nearest to x; the character under x is the one before it when the gap
    // lies to the right.
    if (FNav->GetX() > p.x() && FNav->LineOffset() > 0)
        --pos;
    return pos < lineEnd ? pos : -1;
}

bool TMemoMouse::OverSelection(QPoint p) {
    TMemoSelection& sel = FMemo.Selection();
    if (sel.SelLength() == 0 || sel.BlockMode())
        return false;
    const int32_t c = CharacterAt(p);
    return c >= sel.Lower() && c < sel.Upper();
}

void TMemoMouse::Hover(QPoint p) {
    TArtMemo& m = FMemo;
    TMemoSelection& sel = m.Selection();
    const TArtMemoOptions options = m.Options();
    if (InLeftMargin(p) && !options.Has(amoNoLineSelection)) {
        const int64_t line =
            std::max<int64_t>(int64_t(p.y()) + m.TopOrigin(), 0) / std::max(1, m.LinePixels());
        sel.SetLineAnchor(static_cast<int32_t>(std::min<int64_t>(line, m.Core().VisibleLineCount() - 1)));
    } else {
        sel.SetLineAnchor(-1);
    }
    FState.OverSelection =
        !options.Has(amoNoDragnDrop) && !m.ReadOnly() && !m.DisplayOnly() && OverSelection(p);
    int cursor = kOwnCursor;
    if (sel.LineAnchor() >= 0) {
        cursor = kLineCursor;
    } else if (FState.OverSelection) {
        cursor = kArrowCursor;
    } else {
        const int32_t c = CharacterAt(p);
        if (c >= 0) {
            FNav->SetPos(c);
            FNav->SkipRunsHere();
            const TDynInfo* run = FNav->CurrentRun();
            if (run && run->StyleFlags != 0 && run->Cursor != crDefault)
                cursor = run->Cursor;
        }
    }
    if (cursor == FState.ShownCursor)
        return;
    FState.ShownCursor = cursor;
    QWidget* area = m.viewport();
    if (cursor == kLineCursor)
        area->setCursor(LineSelectCursor());
    else if (cursor == kArrowCursor)
        area->setCursor(Qt::ArrowCursor);
    else if (cursor == kOwnCursor)
        area->setCursor(Qt::IBeamCursor);
    else
        area->setCursor(CursorOf(static_cast<int16_t>(cursor)));
}

// ---- press --------------------------------------------------------------------------------------

void TMemoMouse::PendingBlanksTo(int x) {
    TArtMemo& m = FMemo;
    TArtNavigator& caret = m.Selection().Caret();
    const ParInfo& par = *caret.Par();
    const int32_t offset = caret.ParOffset();
    if (offset < ParLength(par) && par.Text[offset] != '\t')
        return;
    const int blanks = (x - caret.GetX()) / std::max(1, m.AvgCharWidth());
    if (blanks > 0)
        m.Editor().SetPendingBlanks(std::string(static_cast<size_t>(blanks), ' '));
}

void TMemoMouse::SelectLine(int32_t line) {
    TArtMemo& m = FMemo;
    FNav->SetDisplayLine(line);
    m.Core().FormatUpTo(FNav->ParNb());
    FNav->SetDisplayLine(line);
    const int32_t start = FNav->Pos();
    int32_t end = start + static_cast<int32_t>(FNav->LineText().size());
    // The last line of a paragraph takes its break along, unless it ends the text.
    if (FNav->LineIndex() == LineCountOf(*FNav->Par()) - 1 && FNav->ParNb() < m.ParagraphCount() - 1)
        end += 2;
    FState.LineSelect = true;
    FState.LineFrom = start;
    FState.LineTo = end;
    m.Editor().Select(start, end);
}

void TMemoMouse::LeftDown(Qt::KeyboardModifiers shift, QPoint p, bool doubleClick) {
    TArtMemo& m = FMemo;
    TMemoSelection& sel = m.Selection();
    TMemoEditor& editor = m.Editor();
    const TArtMemoOptions options = m.Options();
    if (sel.BlockMode())
        editor.Select(sel.SelStart(), sel.Anchor());
    sel.SetRememberedX(TMemoSelection::kNoX);
    if (m.DisplayOnly())
        return;
    FState.MouseDown = true;
    if (doubleClick)
        return;
    if (!m.PendingBlanks().empty())
        editor.SetPendingBlanks({});
    if (!m.ReadOnly() && !options.Has(amoNoDragnDrop) && OverSelection(p)) {
        FState.ShownCursor = -1;
        FDrag.Start(p);
        return;
    }
    if (InLeftMargin(p) && !options.Has(amoNoLineSelection)) {
        const int64_t line =
            std::max<int64_t>(int64_t(p.y()) + m.TopOrigin(), 0) / std::max(1, m.LinePixels());
        const int32_t anchor = static_cast<int32_t>(std::min<int64_t>(line, m.Core().VisibleLineCount() - 1));
        SelectLine(anchor);
        sel.SetLineAnchor(anchor);
        return;
    }
    // Right of a wrapped line's end the caret stays at the end of that line.
    const TArtNavigator& at = editor.NavigatorAt(p.x(), p.y());
    const bool block = shift == Qt::AltModifier && options.Has(amoBlockSelection) && !m.WordWrap();
    if (shift & Qt::ShiftModifier)
        editor.MoveCaret(at, true);
    else
        editor.Select(at, at.Pos());
    if (options.Has(amoKeepColumnPos) || block)
        PendingBlanksTo(p.x());
    if (block)
        editor.StartBlock(editor.CaretColumn());
}

void TMemoMouse::DoubleClick(QPoint p) {
    TArtMemo& m = FMemo;
    if (m.DisplayOnly())
        return;
    const TCharSet& separators = m.Core().Separators();
    const int32_t pos = m.Editor().PositionAt(p.x(), p.y());
    FNav->SetPos(pos);
    FNav->WordStart(separators);
    const int32_t from = FNav->Pos();
    FNav->SetPos(pos);
    FNav->WordEnd(separators);
    int32_t to = FNav->Pos();
    if (m.Options().Has(amoLargeWordSelect)) {
        // The separators after the word come along, up to the end of the paragraph.
        const ParInfo& par = *FNav->Par();
        int32_t offset = FNav->ParOffset();
        while (offset < ParLength(par) && separators.test(static_cast<uint8_t>(par.Text[offset])))
            ++offset;
        to = par.Start + offset;
    }
    FState.WordSelect = true;
    FState.WordFrom = from;
    FState.WordTo = to;
    m.Editor().Select(from, to);
}

// ---- moves with the button held ------------------------------------------------------------------

void TMemoMouse::ExtendByLines(QPoint p) {
    TArtMemo& m = FMemo;
    TMemoEditor& editor = m.Editor();
    const int32_t last = std::max(m.Core().VisibleLineCount() - 1, 0);
    const int64_t y = std::max<int64_t>(int64_t(p.y()) + m.TopOrigin(), 0);
    const int32_t line = static_cast<int32_t>(std::min<int64_t>(y / std::max(1, m.LinePixels()), last));
    FNav->SetPos(FState.LineFrom);
    const int32_t anchorLine = FNav->DisplayLine();
    if (line > anchorLine) {
        int32_t caret = m.CharCount();
        if (line < last) {
            FNav->SetDisplayLine(line + 1);
            caret = FNav->Pos();
        }
        editor.Select(caret, FState.LineFrom);
    } else {
        editor.Select(editor.PositionAt(p.x(), p.y()), FState.LineTo);
    }
}

void TMemoMouse::ExtendByWords(int32_t pos) {
    TArtMemo& m = FMemo;
    const TCharSet& separators = m.Core().Separators();
    if (pos < FState.WordFrom) {
        FNav->SetPos(pos);
        FNav->WordStart(separators);
        m.Editor().Select(FNav->Pos(), FState.WordTo);
    } else if (pos > FState.WordTo) {
        FNav->SetPos(pos);
        FNav->WordEnd(separators);
        m.Editor().Select(FNav->Pos(), FState.WordFrom);
    } else {
        m.Editor().Select(FState.WordFrom, FState.WordTo);
    }
}

void TMemoMouse::Move(Qt::KeyboardModifiers shift, QPoint p) {
    TArtMemo& m = FMemo;
    if (m.UpdateLevel() > 0)
        return;
    TMemoEditor& editor = m.Editor();
    if (p != FState.MouseDownPoint)
        FState.MovedSincePress = true;
    FState.LastMouse = p;
    FState.LastModifiers = shift;
    // Dragged text keeps its drop point where the mouse last was inside the text area.
    if (!FState.DraggingText)
        m.MouseNavigator().SetPos(editor.PositionAt(p.x(), p.y()));
    if (!FState.MouseDown) {
        Hover(p);
        return;
    }
    // Below a short text the mouse selects on its last line.
    const int64_t textBottom = int64_t(m.Core().VisibleLineCount()) * m.LinePixels() - m.TopOrigin();
    const QPoint at(p.x(), static_cast<int>(std::min<int64_t>(p.y(), textBottom - 1)));
    if (!m.Scroller().InAutoScrollMove()) {
        const auto alive = m.AliveToken();
        m.Scroller().AutoScroll(at, FState.DraggingText);
        if (!*alive || !FState.MouseDown)
            return;
    }
    if (FState.DraggingText) {
        FDrag.Follow(at, shift);
        return;
    }
    if (FState.LineSelect) {
        ExtendByLines(at);
        return;
    }
    const TArtNavigator& to = editor.NavigatorAt(at.x(), at.y());
    if (FState.WordSelect) {
        ExtendByWords(to.Pos());
        return;
    }
    editor.MoveCaret(to, true);
    if (m.BlockMode()) {
        PendingBlanksTo(at.x());
        editor.FollowCaretWithBlockColumn();
    }
}

// ---- release ------------------------------------------------------------------------------------------

void TMemoMouse::ContextClick(Qt::MouseButton button, QPoint p) {
    TArtMemo& m = FMemo;
    const int32_t c = CharacterAt(p);
    if (c < 0 || c >= m.CharCount())
        return;
    // Sinks told of the click find the character clicked under the mouse navigator.
    m.MouseNavigator().SetPos(c);
    FNav->SetPos(c);
    FNav->SkipRunsHere();
    const TDynInfo* run = FNav->CurrentRun();
    if (!run || run->StyleFlags == 0 || run->Context == 0)
        return;
    const int32_t context = run->Context;
    // The run reaches from its own start to the start of the next one.
    int32_t start = 0;
    if (FNav->PrevRun(0))
        start = FNav->Pos();
    FNav->SetPos(c);
    FNav->SkipRunsHere();
    const int32_t stop = FNav->NextRun(m.CharCount()) ? FNav->Pos() : m.CharCount();
    FState.Context = context;
    const auto alive = m.AliveToken();
    m.EventSinks().Notify(&m.Core(), button == Qt::RightButton ? nc::ContextRightClick : nc::ContextClick);
    if (*alive && m.OnContext)
        m.OnContext(&m, context, start, stop);
}

void TMemoMouse::Release(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p) {
    TArtMemo& m = FMemo;
    if (FState.WordSelect) {
        if (!m.PendingBlanks().empty())
            m.Editor().SetPendingBlanks({});
        m.UpdateCaret();
    }
    FState.MouseDown = false;
    FState.WordSelect = false;
    FState.LineSelect = false;
    m.Scroller().StopAutoScroll();
    if (button == Qt::RightButton && FState.OverSelection) {
        FState.OverSelection = false;
        FState.ShownCursor = kOwnCursor;
        m.viewport()->setCursor(Qt::IBeamCursor);
    }
    if (FState.DraggingText && button == Qt::LeftButton) {
        FDrag.Drop(p, shift & Qt::ControlModifier);
        m.UpdateCaret(true);
        m.ScrollInView();
        FState.ShownCursor = -1;
        Hover(p);
        return;
    }
    if (!FState.MovedSincePress || button == Qt::RightButton)
        ContextClick(button, p);
}

} // namespace zandor
