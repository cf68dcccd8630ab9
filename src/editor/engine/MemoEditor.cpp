#include "editor/engine/MemoEditor.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/ReplaceRange.h"
#include "editor/engine/UndoList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zandor {

namespace {

constexpr int kNoX = TMemoSelection::kNoX;

// The format codes that stand right before (backwards) or after the navigator in its paragraph.
std::string CodesAround(TArtNavigator& at, bool before) {
    const ParInfo& par = *at.Par();
    const int32_t length = ParLength(par);
    int32_t i = std::min(at.ParOffset(), length);
    std::string codes;
    if (before) {
        while (i > 0 && IsFormatCode(par.Text[i - 1]))
            codes.insert(codes.begin(), par.Text[--i]);
    } else {
        while (i < length && IsFormatCode(par.Text[i]))
            codes += par.Text[i++];
    }
    return codes;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A caret aimed at the end of nav's display line stands there, on that line; but a line that
// wrapped after blanks hangs them beyond the text area, and text typed after them would begin the
// next line's first word: its end is before the blank it broke at.
void BeforeHangingBlank(TArtNavigator& nav) {
    if (!nav.EndsLine())
        return;
    const int32_t offset = nav.ParOffset();
    if (offset > nav.Lines().LineAt(nav.LineIndex())->Start && IsBlank(nav.Par()->Text[offset - 1]))
        nav.SetLineOffset(nav.LineOffset() - 1);
}

// The caret takes the display line of `at` when it stands where `at` does.
void TakeLineOf(TArtNavigator& caret, const TArtNavigator* at) {
    if (at && caret.Pos() == at->Pos())
        caret.Assign(*at);
}

} // namespace

TMemoEditor::TMemoEditor(TArtMemoCore& core, TMemoSelection& selection, TUndoList& undo)
    : FCore(core), FSel(selection), FUndo(undo) {
    FScratch = core.Navigators().Adopt(std::make_unique<TArtNavigator>(&core));
    FTarget = core.Navigators().Adopt(std::make_unique<TArtNavigator>(&core));
    // OnParse runs inside a raised level, so that what it does is not laid out half-way.
    core.Highlighting().OnParse = [this](TArtMemoCore*, int32_t start, int32_t stop) {
        if (FHost) {
            TQuietLevel raise(*this);
            FHost->Parsed(start, stop);
        }
    };
}

TMemoEditor::~TMemoEditor() {
    FCore.Highlighting().OnParse = nullptr;
}

void TMemoEditor::EndUpdate() {
    if (FUpdateLevel == 0 || --FUpdateLevel > 0)
        return;
    FCore.UpdateAfterEdit();
    if (FHost)
        FHost->AfterEdit(true);
}

TUpdateBracket::~TUpdateBracket() noexcept(false) {
    if (std::uncaught_exceptions() > FUncaught) {
        // The error on its way out wins over one that reporting the change might raise.
        try {
            FEditor.EndUpdate();
        } catch (...) {
        }
        return;
    }
    FEditor.EndUpdate();
}

void TMemoEditor::CaretChanged() {
    if (FHost)
        FHost->CaretChanged();
}

void TMemoEditor::RepaintSelection() {
    if (!FHost || (FSel.SelLength() == 0 && !FSel.BlockMode()))
        return;
    FHost->RepaintLines(FSel.StartNav().DisplayLine(), FSel.EndNav().DisplayLine());
}

// ---- the replace operation -----------------------------------------------------------------------

void TMemoEditor::SetSelTextBuf(const char* text) {
    Replace(text, false, true, true);
}

std::string TMemoEditor::WithPendingBlanks(std::string_view text) const {
    std::string buffer;
    if (FOptions.Has(amoPutExtraSpaces) && !FSel.BlockMode())
        buffer = FSel.PendingBlanks();
    buffer.append(text);
    return buffer;
}

void TMemoEditor::SetSelText(std::string_view text) {
    SetSelTextBuf(WithPendingBlanks(text).c_str());
}

void TMemoEditor::Replace(const char* text, bool replaying, bool reinsertCodes, bool removePairs) {
    const char* txt = text ? text : "";
    if (FHost) {
        const char* asked = txt;
        FHost->BeforeReplace(asked);
        // A replay puts back exactly what was recorded; handlers hear of it but change nothing.
        if (!replaying)
            txt = asked ? asked : "";
    }
    // An end on the LF half of a break goes back onto the CR: a break is never split.
    for (TArtNavigator* end : {&FSel.StartNav(), &FSel.EndNav()})
        if (end->ParOffset() > ParLength(*end->Par()))
            end->SetPos(end->Pos() - 1);
    FSel.RecountLength();
    if (FSel.SelLength() == 0 && *txt == 0)
        return;
    if (FSel.BlockMode()) {
        ReplaceBlock(txt);
        return;
    }
    ReplaceSelected(txt, reinsertCodes && !replaying, removePairs && !replaying,
                    !replaying && FOptions.Has(amoDiscardTrailingSpaces));
}

void TMemoEditor::ReplaceBlock(const char* text) {
    // The rows go one by one from the top; the new text follows at the caret in the same bracket,
    // so that replacing a block is one undo step.
    TUpdateBracket bracket(*this);
    FSel.SetBlockMode(false);
    const int32_t first = FSel.StartNav().ParNb();
    const int32_t last = FSel.EndNav().ParNb();
    for (int32_t par = first; par <= last; ++par) {
        const auto [from, to] = FSel.BlockRow(par);
        FSel.SetEnds(from, to - from);
        if (to > from)
            ReplaceSelected("", true, true, FOptions.Has(amoDiscardTrailingSpaces));
    }
    if (*text)
        ReplaceSelected(text, true, true, FOptions.Has(amoDiscardTrailingSpaces));
}

void TMemoEditor::ReplaceSelected(const char* text, bool reinsertCodes, bool removePairs,
                                  bool discardTrailing) {
    TArtNavigator& S = FSel.StartNav();
    TArtNavigator& E = FSel.EndNav();
    FSel.SetPendingBlanks({});
    FSel.SetRememberedX(kNoX);

    // With format codes, a code that meets its twin across the edit (only codes between them)
    // toggles nothing: the pair goes. The replaced range takes in the codes on both sides, so that
    // the one record below undoes exactly this.
    std::string reduced;
    size_t codesAfterKept = 0;
    bool pairsRemoved = false;
    if (removePairs && FCore.StaticFormat()) {
        const std::string before = CodesAround(S, true);
        const std::string after = CodesAround(E, false);
        const std::string compensation =
            reinsertCodes ? CompensationCodes(ToggledBits(TextPart(S.Pos(), E.Pos())) ^ ToggledBits(text))
                          : std::string();
        const std::string combined = before + text + compensation + after;
        size_t mark = combined.size() - after.size();
        reduced = RemoveCodePairs(combined, &mark);
        if (reduced.size() != combined.size()) {
            pairsRemoved = true;
            codesAfterKept = reduced.size() - mark;
            S.SetPos(S.Pos() - static_cast<int32_t>(before.size()));
            E.SetPos(E.Pos() + static_cast<int32_t>(after.size()));
            FSel.RecountLength();
            text = reduced.c_str();
            reinsertCodes = false;
        }
    }

    // Enter after blanks takes them along: the record below must hold them, so that Undo puts
    // them back where they were.
    if (discardTrailing) {
        const int32_t start = DiscardedStartOffset(S, text);
        if (start != S.ParOffset()) {
            S.SetParOffset(start);
            FSel.RecountLength();
        }
    }
    const int32_t lower = S.Pos();
    const int32_t upper = E.Pos();
    // The widest line may be the one replaced: it is found again after the layout. Text added to
    // a paragraph that stays one unwrapped line without codes only widens it, and the layout
    // notes that by itself.
    const int widest = FCore.KnownWidestLine();
    const bool onlyWidens = lower == upper && !FCore.WordWrap() && FCore.Alignment() == taLeftJustify &&
                            !FCore.StaticFormat() && std::strpbrk(text, "\r\n") == nullptr;
    const bool mayHoldWidest =
        widest == TArtMemoCore::kWidestSomewhere || (widest >= S.ParNb() && widest <= E.ParNb());
    if (mayHoldWidest && !onlyWidens)
        FCore.ForgetWidestLine();
    FSel.SetLineAnchor(-1);

    int record = -1;
    if (!FLoading && !FDesignTime)
        record = FUndo.BeginChange(lower, upper, lower, FUpdateLevel, [&] { return TextPart(lower, upper); });
    TReplaceResult result;
    {
        TQuietLevel raise(*this);
        result = ReplaceText(FCore, S, E, text, reinsertCodes, discardTrailing);
    }
    FUndo.EndChange(record, E.Pos());
    FNewTextStart = S.Pos();
    FCore.Highlighting().AfterReplace(S, E, result.RunsRemoved, FUpdateLevel > 0);

    // The caret goes after the new text (before the codes that stood after the range and stay).
    if (pairsRemoved && codesAfterKept > 0)
        FSel.Collapse(E.Pos() - static_cast<int32_t>(codesAfterKept));
    else
        FSel.CollapseAtEnd();
    FSel.SetMoved(true);
    if (FUpdateLevel == 0) {
        FCore.UpdateAfterEdit();
        if (FHost)
            FHost->AfterEdit(false);
    }
}

std::string TMemoEditor::TextPart(int32_t start, int32_t stop) {
    const int32_t count = FCore.CharCount();
    start = std::clamp(start, 0, count);
    stop = std::clamp(stop, 0, count);
    if (stop <= start)
        return {};
    FScratch->SetPos(start);
    return FScratch->GetText(stop - start);
}

std::string TMemoEditor::SelText() {
    return FSel.BlockMode() ? FSel.BlockText() : TextPart(FSel.Lower(), FSel.Upper());
}

// ---- edits built on it -----------------------------------------------------------------------------

void TMemoEditor::SetTextBuf(const char* text) {
    SelectAll();
    SetSelTextBuf(text);
    SetSelStart(0);
}

void TMemoEditor::SetParagraph(int32_t index, std::string_view text) {
    if (index < 0)
        throw ERangeError();
    const int32_t p = FSel.Caret().ParNb();
    if (index == p)
        SetSelStart(FCore.Paragraphs().Par(p).Start);
    const int32_t caret = FSel.SelStart();
    const int32_t length = FSel.SelLength();
    const int32_t before = FCore.CharCount();
    TUpdateBracket bracket(*this);
    while (index >= FCore.ParagraphCount()) {
        SetSelStart(FCore.CharCount());
        SetSelTextBuf("\r\n");
    }
    const ParInfo& par = FCore.Paragraphs().Par(index);
    Select(par.Start, par.Start + ParLength(par));
    const std::string copy(text);
    SetSelTextBuf(copy.c_str());
    // The caret is put back before the bracket closes, so the one caret update sees it there.
    SetSelStart(index < p ? caret + (FCore.CharCount() - before) : caret);
    if (index != p)
        SetSelLength(length);
}

void TMemoEditor::ToggleStyle(char code) {
    if (!FCore.StaticFormat() || !IsFormatCode(code))
        return;
    FSel.SetBlockMode(false);
    const int32_t length = FSel.SelLength();
    std::string text(1, code);
    text += TextPart(FSel.Lower(), FSel.Upper());
    text += code;
    // The codes stay as given (no compensation); without a selection even a doubled pair stays,
    // so that typing between them takes the style.
    Replace(text.c_str(), false, false, length != 0);
    const int32_t end = FSel.SelStart();
    if (length == 0)
        Select(FNewTextStart + 1, FNewTextStart + 1);
    else if (length < 0)
        Select(end, FNewTextStart);
    else
        Select(FNewTextStart, end);
}

// ---- undo and redo -----------------------------------------------------------------------------------

bool TMemoEditor::CanUndo() const {
    return FUndo.CanUndo();
}

bool TMemoEditor::CanRedo() const {
    return FUndo.CanRedo();
}

void TMemoEditor::ClearUndo() {
    FUndo.Clear();
}

void TMemoEditor::Undo() {
    if (FUndo.Index() > 0)
        Replay(true);
}

void TMemoEditor::Redo() {
    if (FUndo.Index() < FUndo.Count())
        Replay(false);
}

void TMemoEditor::Replay(bool undo) {
    struct TReplaying {
        TUndoList& List;
        explicit TReplaying(TUndoList& list) : List(list) { List.SetReplaying(true); }
        ~TReplaying() { List.SetReplaying(false); }
    } replaying(FUndo);
    TUpdateBracket bracket(*this);
    int level = 0;
    do {
        TUndoRecord record = undo ? FUndo.TakeForUndo() : FUndo.TakeForRedo();
        level = record.Level;
        TUndoRecord inverse;
        try {
            Select(record.Start, record.Stop);
            inverse.Start = record.Start;
            inverse.Level = record.Level;
            inverse.Kept = record.Kept;
            inverse.Text = SelText();
            Replace(record.Text.c_str(), true, false, false);
            inverse.Stop = FSel.SelStart();
        } catch (...) {
            FUndo.CancelTake(std::move(record));
            throw;
        }
        FUndo.PutInverse(std::move(inverse));
    } while (undo ? FUndo.NextUndoInGroup(level) : FUndo.NextRedoInGroup(level));
}

// ---- selection and caret -------------------------------------------------------------------------------

void TMemoEditor::SetSelStart(int32_t value) {
    RepaintSelection();
    FSel.Collapse(std::clamp(value, 0, FCore.CharCount()));
    FSel.SetPendingBlanks({});
    FSel.SetRememberedX(kNoX);
    FUndo.StartNewGroup();
    FSel.SetMoved(true);
    CaretChanged();
}

void TMemoEditor::SetSelLength(int32_t value) {
    if (value == FSel.SelLength())
        return;
    const int32_t caret = FSel.SelStart();
    // The anchor is clamped to the text; the caret stays where it is.
    const int64_t anchor = std::clamp<int64_t>(int64_t(caret) + value, 0, FCore.CharCount());
    FSel.SetBlockMode(false);
    int32_t oldAnchorLine = 0;
    if (FHost) {
        FScratch->SetPos(caret + FSel.SelLength());
        oldAnchorLine = FScratch->DisplayLine();
    }
    FSel.SetEnds(caret, static_cast<int32_t>(anchor - caret));
    if (FHost) {
        FScratch->SetPos(static_cast<int32_t>(anchor));
        FHost->RepaintLines(oldAnchorLine, FScratch->DisplayLine());
    }
    FUndo.StartNewGroup();
    FSel.SetMoved(true);
    CaretChanged();
}

void TMemoEditor::SelectAll() {
    SetSelStart(FCore.CharCount());
    SetSelLength(-FCore.CharCount());
}

void TMemoEditor::Select(int32_t from, int32_t to) {
    SelectTo(from, to, nullptr);
}

void TMemoEditor::Select(const TArtNavigator& caret, int32_t anchor) {
    FTarget->Assign(caret);
    SelectTo(caret.Pos(), anchor, FTarget);
}

void TMemoEditor::SelectTo(int32_t from, int32_t to, const TArtNavigator* caretAt) {
    RepaintSelection();
    const int32_t count = FCore.CharCount();
    from = std::clamp(from, 0, count);
    to = std::clamp(to, 0, count);
    FSel.SetBlockMode(false);
    FSel.SetEnds(from, to - from);
    TakeLineOf(FSel.Caret(), caretAt);
    FSel.SetPendingBlanks({});
    FSel.SetRememberedX(kNoX);
    FUndo.StartNewGroup();
    FSel.SetMoved(true);
    RepaintSelection();
    CaretChanged();
}

void TMemoEditor::SelectBlock(int col1, int32_t line1, int32_t line2, int col2) {
    if (FCore.WordWrap())
        return;
    RepaintSelection();
    const TParagraphsList& pars = FCore.Paragraphs();
    const int32_t lastPar = FCore.ParagraphCount() - 1;
    const int t = FCore.TabStops();
    const bool codes = FCore.StaticFormat();
    const ParInfo& a = pars.Par(std::clamp(line1, 0, lastPar));
    const ParInfo& b = pars.Par(std::clamp(line2, 0, lastPar));
    const int32_t anchor = a.Start + TArtNavigator::OffsetOfColumn(a, std::max(col1, 0), t, codes);
    const int32_t caret = b.Start + TArtNavigator::OffsetOfColumn(b, std::max(col2, 0), t, codes);
    FSel.SetEnds(caret, anchor - caret);
    FSel.SetBlockMode(true);
    FSel.SetBlockColumns(std::max(col1, 0), std::max(col2, 0));
    FSel.SetPendingBlanks({});
    FSel.SetRememberedX(kNoX);
    FUndo.StartNewGroup();
    FSel.SetMoved(true);
    RepaintSelection();
    CaretChanged();
}

void TMemoEditor::MoveCaret(int32_t pos, bool extend, bool keepX) {
    MoveCaretTo(pos, nullptr, extend, keepX);
}

void TMemoEditor::MoveCaret(const TArtNavigator& to, bool extend, bool keepX) {
    FTarget->Assign(to);
    MoveCaretTo(to.Pos(), FTarget, extend, keepX);
}

void TMemoEditor::MoveCaretTo(int32_t pos, const TArtNavigator* to, bool extend, bool keepX) {
    pos = std::clamp(pos, 0, FCore.CharCount());
    TArtNavigator& caret = FSel.Caret();
    const int32_t c = caret.Pos();
    const int32_t oldLine = FHost ? caret.DisplayLine() : 0;
    FSel.SetPendingBlanks({});
    if (!keepX)
        FSel.SetRememberedX(kNoX);
    FUndo.StartNewGroup();
    if (extend) {
        if (FSel.FreeCaretActive()) {
            // The caret was moved away from a persistent block: the block goes, and the selection
            // grows from where the caret stands.
            RepaintSelection();
            FSel.Collapse(c);
        }
        if (FSel.BlockMode())
            RepaintSelection();
        FSel.SetEnds(pos, FSel.SelLength() + (c - pos));
        TakeLineOf(FSel.Caret(), to);
        if (FSel.BlockMode())
            FollowCaretWithBlockColumn();
        else if (FHost)
            FHost->RepaintLines(oldLine, FSel.Caret().DisplayLine());
    } else if (FOptions.Has(amoPersistentBlocks) && (FSel.SelLength() != 0 || FSel.BlockMode())) {
        FSel.FreeCaret().SetPos(pos);
        FSel.SetFreeCaretActive(true);
        TakeLineOf(FSel.FreeCaret(), to);
    } else {
        RepaintSelection();
        FSel.Collapse(pos);
        TakeLineOf(FSel.Caret(), to);
    }
    FSel.SetMoved(true);
    CaretChanged();
}

void TMemoEditor::MoveCaretToLine(int32_t line, bool extend) {
    if (FSel.RememberedX() == kNoX)
        FSel.SetRememberedX(CaretX() + FCore.LeftOrigin());
    const int32_t last = std::max(0, FCore.VisibleLineCount() - 1);
    FScratch->SetDisplayLine(std::clamp(line, 0, last));
    FCore.FormatForView(FScratch->ParNb(), FScratch->ParNb());
    FScratch->SetX(FSel.RememberedX() - FCore.LeftOrigin());
    BeforeHangingBlank(*FScratch);
    MoveCaret(*FScratch, extend, true);
}

void TMemoEditor::MoveCaretToLineEnd(bool extend) {
    TArtNavigator& caret = FSel.Caret();
    FCore.FormatForView(caret.ParNb(), caret.ParNb());
    FScratch->Assign(caret);
    FScratch->SetLineOffset(INT32_MAX);
    BeforeHangingBlank(*FScratch);
    MoveCaret(*FScratch, extend);
}

void TMemoEditor::MoveCaretToColumn(int32_t column, bool extend) {
    TArtNavigator& caret = FSel.Caret();
    FCore.FormatForView(caret.ParNb(), caret.ParNb());
    FScratch->Assign(caret);
    const int32_t lineStart = FScratch->Pos() - FScratch->LineOffset();
    const int32_t target = std::max(0, column);
    const int32_t pos = FScratch->SetLineOffset(target);
    MoveCaret(*FScratch, extend);
    const int32_t shortfall = target - (pos - lineStart);
    if (shortfall > 0 && FOptions.Has(amoKeepColumnPos) && !FCore.WordWrap())
        SetPendingBlanks(std::string(static_cast<size_t>(shortfall), ' '));
}

const TArtNavigator& TMemoEditor::NavigatorAt(int x, int y) {
    const int32_t line = (y + FCore.TopOrigin()) / std::max(1, FCore.LinePixels());
    if (line >= 0 && line < FCore.VisibleLineCount()) {
        FScratch->SetDisplayLine(line);
        FCore.FormatForView(FScratch->ParNb(), FScratch->ParNb());
    }
    FScratch->SetXY({x, y});
    BeforeHangingBlank(*FScratch);
    return *FScratch;
}

int32_t TMemoEditor::PositionAt(int x, int y) {
    return NavigatorAt(x, y).Pos();
}

void TMemoEditor::SetPendingBlanks(std::string blanks) {
    FSel.SetPendingBlanks(std::move(blanks));
    CaretChanged();
}

void TMemoEditor::StartBlock(int column) {
    RepaintSelection();
    FSel.SetBlockMode(true);
    FSel.SetBlockColumns(column, column);
    FSel.SetMoved(true);
    CaretChanged();
}

int TMemoEditor::CaretX() {
    TArtNavigator& caret = FSel.Caret();
    FCore.FormatForView(caret.ParNb(), caret.ParNb());
    int x = caret.GetX();
    const int left = FCore.LeftMargin() - FCore.LeftOrigin();
    for (char c : FSel.PendingBlanks())
        x = c == '\t' ? FCore.NextTabStop(x - left) + left : x + FCore.AvgCharWidth();
    return x;
}

int TMemoEditor::CaretColumn() {
    const int x = CaretX() + FCore.LeftOrigin() - FCore.LeftMargin();
    return std::max(0, x) / std::max(1, FCore.AvgCharWidth());
}

void TMemoEditor::FollowCaretWithBlockColumn() {
    RepaintSelection();
    FSel.SetBlockColumn(CaretColumn());
    RepaintSelection();
}

} // namespace zandor
