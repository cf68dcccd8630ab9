#include "editor/engine/ArtNavigator.h"

#include "editor/engine/EngineErrors.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/LineGeometry.h"

#include <algorithm>
#include <cstring>

namespace zandor {

namespace {

// A walk from an estimate that has not arrived after this many paragraphs gives way to a search,
// so that texts with very uneven paragraph lengths cannot make a jump linear.
constexpr int kWalkLimit = 48;

TRunArray* RunsOf(ParInfo& par) {
    return IsExtended(par) ? &par.Extra->Runs : nullptr;
}

int32_t Clamp32(int64_t v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

} // namespace

TArtNavigator::TArtNavigator(TArtMemoCore* memo) : FMemo(memo) {
    if (memo)
        memo->Navigators().Add(this);
}

TArtNavigator::~TArtNavigator() {
    if (FRegistered)
        FMemo->Navigators().Remove(this);
    if (OnFree)
        OnFree(this);
}

void TArtNavigator::SetMemo(TArtMemoCore* memo) {
    if (FRegistered)
        FMemo->Navigators().Remove(this);
    FMemo = memo;
    Invalidate();
}

TParagraphsList& TArtNavigator::Store() const {
    if (!FMemo)
        throw EInternalError();
    return FMemo->Paragraphs();
}

// ---- resolving ---------------------------------------------------------------------------------

void TArtNavigator::PointAt(int32_t parNb) {
    FPar = &Store().Par(parNb);
    FParNb = parNb;
    if (FLines)
        FLines->SetPar(FPar);
}

namespace {

// The largest paragraph index whose key (Start or FirstLine, never decreasing) is at or before
// value: a short walk from the guess, which is all a good estimate needs. A walk that runs long
// gallops on in doubling strides until it has passed the answer, then searches the gap,
// alternating interpolation between the gap's keys (few steps where lengths are even) with
// bisection (never more than twice a binary search): the cost grows with the logarithm of the
// estimate's error, not with the error.
template <class Key> int32_t Locate(int32_t last, int32_t guess, int32_t value, Key key) {
    // Bracket: key(lo) <= value < key(hi).
    auto search = [&](int32_t lo, int32_t hi) {
        bool interpolate = true;
        while (hi - lo > 1) {
            int32_t mid;
            const int64_t span = int64_t(key(hi)) - key(lo);
            if (interpolate && span > 0)
                mid = static_cast<int32_t>(
                    std::clamp<int64_t>(lo + (int64_t(value) - key(lo)) * (hi - lo) / span, lo + 1, hi - 1));
            else
                mid = lo + (hi - lo) / 2;
            interpolate = !interpolate;
            if (key(mid) <= value)
                lo = mid;
            else
                hi = mid;
        }
        return lo;
    };
    int32_t p = std::clamp(guess, 0, last);
    for (int steps = 0; p < last && key(p + 1) <= value; ++steps) {
        if (steps == kWalkLimit) {
            // Gallop ahead in doubling strides until the key passes value, then search the gap.
            int32_t lo = p + 1;
            for (int32_t stride = kWalkLimit;; stride *= 2) {
                const int32_t hi = std::min<int64_t>(int64_t(lo) + stride, last);
                if (key(hi) > value)
                    return search(lo, hi);
                if (hi == last)
                    return last;
                lo = hi;
            }
        }
        ++p;
    }
    for (int steps = 0; p > 0 && value < key(p); ++steps) {
        if (steps == kWalkLimit) {
            int32_t hi = p; // value < key(hi)
            for (int32_t stride = kWalkLimit;; stride *= 2) {
                const int32_t lo = std::max(hi - stride, 0);
                if (key(lo) <= value)
                    return search(lo, hi);
                if (lo == 0)
                    return 0;
                hi = lo;
            }
        }
        --p;
    }
    return p;
}

} // namespace

int32_t TArtNavigator::FindPar(int32_t pos, int32_t guess) const {
    const TParagraphsList& s = Store();
    return Locate(s.Count() - 1, guess, pos, [&s](int32_t i) { return s.StartOf(i); });
}

int32_t TArtNavigator::FindParOfLine(int32_t line, int32_t guess) const {
    // Among hidden paragraphs that share a FirstLine with the visible one after them, that
    // visible one.
    const TParagraphsList& s = Store();
    return Locate(s.Count() - 1, guess, line, [&s](int32_t i) { return s.FirstLineOf(i); });
}

void TArtNavigator::Resolve() {
    if (FPar)
        return;
    TParagraphsList& s = Store();
    FRunIndex = FLineIndex = -1;
    const int32_t count = s.Count();
    const int32_t length = s.TextLength;
    FPos = std::clamp(FPos, 0, length);
    int32_t guess = -1;
    // A step out of the paragraph usually lands next door.
    if (FHint >= 0 && FHint < count) {
        for (int32_t q = std::max(0, FHint - 1); q <= std::min(count - 1, FHint + 1); ++q) {
            const ParInfo& par = s.Par(q);
            if (par.Start <= FPos && FPos <= par.Start + ParLength(par) + 1) {
                guess = q;
                break;
            }
        }
    }
    if (guess < 0)
        guess = length == 0 ? 0 : Clamp32(int64_t(FPos) * (count - 2) / length, 0, count - 1);
    PointAt(FindPar(FPos, guess));
    FParOffset = FPos - FPar->Start;
}

int32_t TArtNavigator::GetParNb() {
    Resolve();
    return FParNb;
}

ParInfo* TArtNavigator::Par() {
    Resolve();
    return &Here();
}

ParInfo& TArtNavigator::Here() {
    // The record stays where it is, but a shift owed to its block may have come since it was found.
    Store().Settle(FParNb);
    return *FPar;
}

int32_t TArtNavigator::ParOffset() {
    Resolve();
    return FParOffset;
}

// ---- positioning -------------------------------------------------------------------------------

void TArtNavigator::SetPos(int32_t p) {
    FEndsLine = false;
    if (FMemo)
        p = std::clamp(p, 0, Store().TextLength);
    if (!FPar) {
        FPos = p;
        return;
    }
    const int32_t start = Here().Start;
    const int32_t end = start + ParLength(*FPar) + 1; // on the LF
    if (p >= FPos && p <= end) {
        FParOffset = p - start;
        if (FRunIndex >= 0) {
            const TRunArray* runs = RunsOf(*FPar);
            const int32_t n = runs ? static_cast<int32_t>(runs->size()) : 0;
            while (FRunIndex < n && (*runs)[static_cast<size_t>(FRunIndex)].Offset < FParOffset)
                ++FRunIndex;
        }
        if (FLineIndex >= 0)
            AdvanceLineIndex();
    } else {
        FRunIndex = FLineIndex = -1;
        if (p < start || p > end) {
            FHint = FParNb;
            FPar = nullptr;
            FParNb = FParOffset = -1;
        } else {
            FParOffset = p - start;
        }
    }
    FPos = p;
}

void TArtNavigator::SetParNb(int32_t n) {
    PointAt(n);
    FPos = FPar->Start;
    FEndsLine = false;
    FParOffset = 0;
    FRunIndex = 0;
    FLineIndex = 0;
}

int32_t TArtNavigator::CountRunsBefore(int32_t offset) {
    const TRunArray* runs = RunsOf(*FPar);
    if (!runs)
        return 0;
    auto it = std::lower_bound(runs->begin(), runs->end(), offset,
                               [](const TDynInfo& run, int32_t o) { return run.Offset < o; });
    return static_cast<int32_t>(it - runs->begin());
}

void TArtNavigator::SetParOffset(int32_t n) {
    Resolve();
    n = std::clamp(n, 0, ParLength(*FPar));
    FParOffset = n;
    FPos = Here().Start + n;
    FEndsLine = false;
    if (FRunIndex >= 0)
        FRunIndex = CountRunsBefore(n);
    if (FLineIndex >= 0) {
        // A wrap point stays on the earlier line, where an end-of-line caret belongs.
        TLinesList& lines = Lines();
        const int count = lines.LineCount();
        FLineIndex = 0;
        while (FLineIndex + 1 < count && lines.LineAt(FLineIndex + 1)->Start < n)
            ++FLineIndex;
    }
}

void TArtNavigator::Assign(const TArtNavigator& other) {
    FPos = other.FPos;
    FPar = other.FPar;
    FParNb = other.FParNb;
    FParOffset = other.FParOffset;
    FRunIndex = other.FRunIndex;
    FLineIndex = other.FLineIndex;
    FEndsLine = other.FEndsLine;
    FHint = other.FHint;
    if (FLines)
        FLines->SetPar(FPar);
}

void TArtNavigator::Invalidate() {
    FPar = nullptr;
    FParNb = FParOffset = FRunIndex = FLineIndex = -1;
    FEndsLine = false;
    FHint = -1;
}

uint8_t TArtNavigator::CurrentChar() {
    Resolve();
    const int32_t length = ParLength(*FPar);
    if (FParOffset < length)
        return static_cast<uint8_t>(FPar->Text[FParOffset]);
    return FParOffset == length ? 13 : 10;
}

int32_t TArtNavigator::GetText(char* buffer, int32_t n) {
    Resolve();
    TParagraphsList& s = Store();
    int32_t parNb = FParNb;
    const ParInfo* par = FPar;
    int32_t offset = FParOffset;
    int32_t done = 0;
    while (done < n) {
        const int32_t length = ParLength(*par);
        if (offset < length) {
            int32_t take = std::min(length - offset, n - done);
            std::memcpy(buffer + done, par->Text + offset, static_cast<size_t>(take));
            done += take;
            offset += take;
        } else if (parNb + 1 >= s.Count()) {
            break; // the last paragraph has no break
        } else if (offset == length) {
            buffer[done++] = '\r';
            ++offset;
        } else {
            buffer[done++] = '\n';
            par = &s.Par(++parNb);
            offset = 0;
        }
    }
    buffer[done] = '\0';
    return done;
}

std::string TArtNavigator::GetText(int32_t n) {
    std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(GetText(text.data(), std::max(n, 0))));
    return text;
}

// ---- display lines -----------------------------------------------------------------------------

void TArtNavigator::AdvanceLineIndex() {
    TLinesList& lines = Lines();
    const int count = lines.LineCount();
    while (FLineIndex + 1 < count && FParOffset >= lines.LineAt(FLineIndex)->Stop) {
        if (FEndsLine && FParOffset == lines.LineAt(FLineIndex)->Stop)
            break;
        ++FLineIndex;
    }
}

int32_t TArtNavigator::LineIndex() {
    Resolve();
    if (FLineIndex < 0) {
        FLineIndex = 0;
        AdvanceLineIndex();
    } else if (FLineIndex >= LineCountOf(*FPar)) {
        // The paragraph was laid out again with fewer lines.
        FLineIndex = 0;
        AdvanceLineIndex();
    }
    return FLineIndex;
}

TLinesList& TArtNavigator::Lines() {
    Resolve();
    if (!FLines)
        FLines = std::make_unique<TLinesList>(FPar);
    else
        FLines->SetPar(FPar);
    return *FLines;
}

int32_t TArtNavigator::DisplayLine() {
    Resolve();
    if (IsHidden(*FPar))
        return Here().FirstLine;
    return Here().FirstLine + LineIndex();
}

int32_t TArtNavigator::LineNb() {
    Resolve();
    if (!FMemo->WordWrap())
        return FParNb;
    return Here().FirstLine + LineIndex();
}

bool TArtNavigator::ParVisible() {
    return !IsHidden(*Par());
}

std::string TArtNavigator::LineText() {
    const LineInfo line = *Lines().LineAt(LineIndex());
    const int32_t stop = std::min(line.Stop, ParLength(*FPar));
    if (stop <= line.Start)
        return {};
    return std::string(FPar->Text + line.Start, static_cast<size_t>(stop - line.Start));
}

int32_t TArtNavigator::LineOffset() {
    const int32_t start = Lines().LineAt(LineIndex())->Start;
    return FParOffset - start;
}

int32_t TArtNavigator::SetLineOffset(int32_t n) {
    const LineInfo line = *Lines().LineAt(LineIndex());
    FParOffset = line.Start + std::clamp(n, 0, std::max(0, line.Stop - line.Start));
    FPos = Here().Start + FParOffset;
    FRunIndex = -1;
    FEndsLine = FParOffset == line.Stop && FLineIndex + 1 < LineCountOf(*FPar);
    return FPos;
}

void TArtNavigator::FinishAtLine(int32_t parNb, int32_t lineIndex) {
    PointAt(parNb);
    FLineIndex = std::clamp(lineIndex, 0, LineCountOf(*FPar) - 1);
    FEndsLine = false;
    const LineInfo line = *Lines().LineAt(FLineIndex);
    FParOffset = line.Start;
    FRunIndex = line.RunIndex;
    FPos = FPar->Start + FParOffset;
}

void TArtNavigator::SetLineNb(int32_t n) {
    TParagraphsList& s = Store();
    const int32_t count = s.Count();
    // Without wrapping every left-aligned paragraph is exactly one line.
    if (!FMemo->WordWrap() && FMemo->Alignment() == taLeftJustify) {
        SetParNb(std::clamp(n, 0, count - 1));
        return;
    }
    const int32_t lineCount = std::max(s.LineCount, 1);
    n = std::clamp(n, 0, lineCount - 1);
    int32_t p = FindParOfLine(n, Clamp32(int64_t(count) * n / lineCount, 0, count - 1));
    FinishAtLine(p, n - s.Par(p).FirstLine);
}

void TArtNavigator::SetDisplayLine(int32_t n) {
    TParagraphsList& s = Store();
    const int32_t count = s.Count();
    if (!FMemo->WordWrap() && FMemo->Alignment() == taLeftJustify) {
        n = std::clamp(n, 0, count - 1);
        const ParInfo& par = s.Par(n);
        if (!IsHidden(par) && par.FirstLine == n) {
            SetParNb(n);
            return;
        }
    }
    // Estimate from where the navigator stands: the lines still ahead spread over the paragraphs
    // still ahead.
    const int32_t visible = std::max(s.VisibleLineCount, 1);
    int32_t here = std::clamp(DisplayLine(), 0, visible - 1);
    n = std::clamp(n, 0, visible - 1);
    int64_t guess = FParNb + int64_t(count - FParNb) * (n - here) / (visible - here);
    int32_t p = FindParOfLine(n, Clamp32(guess, 0, count - 1));
    FinishAtLine(p, n - s.Par(p).FirstLine);
}

// ---- runs --------------------------------------------------------------------------------------

int32_t TArtNavigator::RunIndex() {
    Resolve();
    if (FRunIndex < 0)
        FRunIndex = CountRunsBefore(FParOffset);
    return FRunIndex;
}

void TArtNavigator::SetRunIndex(int32_t i) {
    Resolve();
    const int32_t count = RunCount(*FPar);
    if (i < 0 || i > count)
        throw ERangeError();
    SetParOffset(i == 0 ? 0 : (*RunsOf(*FPar))[static_cast<size_t>(i - 1)].Offset);
    FRunIndex = i;
}

void TArtNavigator::SkipRunsHere() {
    RunIndex();
    const TRunArray* runs = RunsOf(*FPar);
    if (!runs)
        return;
    const int32_t count = static_cast<int32_t>(runs->size());
    while (FRunIndex < count && (*runs)[static_cast<size_t>(FRunIndex)].Offset == FParOffset)
        ++FRunIndex;
}

void TArtNavigator::RecountRuns() {
    if (FPar && FRunIndex >= 0)
        FRunIndex = CountRunsBefore(FParOffset);
}

const TDynInfo* TArtNavigator::CurrentRun() {
    const int32_t i = RunIndex();
    if (i == 0)
        return BaseStyleOf(*FPar);
    return &(*RunsOf(*FPar))[static_cast<size_t>(i - 1)];
}

void TArtNavigator::GetRun(TDynInfo& out) {
    out = *CurrentRun();
}

int32_t TArtNavigator::CurrentContext() {
    const TDynInfo* run = CurrentRun();
    return run->StyleFlags != 0 ? run->Context : 0;
}

namespace {

// Keeps each line's count of runs before its start right after a run came or went at offset.
void ShiftLineRunIndexes(ParInfo& par, int32_t offset, int delta) {
    if (!IsExtended(par))
        return;
    ParExtraInfo& extra = *par.Extra;
    if (extra.FirstLineInfo.Start > offset)
        extra.FirstLineInfo.RunIndex += delta;
    for (LineInfo& line : extra.Lines)
        if (line.Start > offset)
            line.RunIndex += delta;
}

} // namespace

void TArtNavigator::InsertRun(const TDynInfo& rec) {
    const int32_t i = RunIndex();
    TRunArray& runs = ExtendPar(*FPar).Runs;
    TDynInfo run = rec;
    run.Offset = FParOffset;
    runs.insert(runs.begin() + i, run);
    ShiftLineRunIndexes(*FPar, FParOffset, +1);
    FRunIndex = i + 1;
}

void TArtNavigator::DeleteRun() {
    const int32_t i = RunIndex();
    TRunArray* runs = RunsOf(*FPar);
    if (!runs || i >= static_cast<int32_t>(runs->size()) ||
        (*runs)[static_cast<size_t>(i)].Offset != FParOffset)
        throw EInternalError();
    runs->erase(runs->begin() + i);
    ShiftLineRunIndexes(*FPar, FParOffset, -1);
    FLineIndex = -1;
}

bool TArtNavigator::NextRun(int32_t limit) {
    TParagraphsList& s = Store();
    const int32_t i = RunIndex();
    if (i < RunCount(*FPar)) {
        const int32_t offset = (*RunsOf(*FPar))[static_cast<size_t>(i)].Offset;
        const int32_t start = Here().Start;
        if (start + offset > limit)
            return false;
        FParOffset = offset;
        FPos = start + offset;
        FEndsLine = false;
        if (FLineIndex >= 0)
            AdvanceLineIndex();
        return true;
    }
    const int32_t last = s.Count() - 1;
    int32_t q = FParNb;
    for (;;) {
        const ParInfo& here = s.Par(q);
        if (here.Start + ParLength(here) >= limit || q >= last)
            return false;
        ParInfo& next = s.Par(++q);
        if (RunCount(next) > 0) {
            const int32_t offset = next.Extra->Runs.front().Offset;
            if (next.Start + offset > limit)
                return false;
            PointAt(q);
            FParOffset = offset;
            FPos = next.Start + offset;
            FEndsLine = false;
            FRunIndex = 0;
            FLineIndex = -1;
            return true;
        }
    }
}

bool TArtNavigator::PrevRun(int32_t limit) {
    TParagraphsList& s = Store();
    const int32_t i = RunIndex();
    if (i > 0) {
        const int32_t offset = (*RunsOf(*FPar))[static_cast<size_t>(i - 1)].Offset;
        const int32_t start = Here().Start;
        if (start + offset < limit)
            return false;
        FParOffset = offset;
        FPos = start + offset;
        FEndsLine = false;
        FRunIndex = CountRunsBefore(offset);
        FLineIndex = -1;
        return true;
    }
    int32_t q = FParNb;
    for (;;) {
        const ParInfo& here = s.Par(q);
        if (q == 0 || here.Start <= limit)
            return false;
        ParInfo& prev = s.Par(--q);
        if (RunCount(prev) > 0) {
            const int32_t offset = prev.Extra->Runs.back().Offset;
            if (prev.Start + offset < limit)
                return false;
            PointAt(q);
            FParOffset = offset;
            FPos = prev.Start + offset;
            FEndsLine = false;
            FRunIndex = CountRunsBefore(offset);
            FLineIndex = -1;
            return true;
        }
    }
}

bool TArtNavigator::BackRun() {
    if (RunIndex() <= 0) {
        if (!PrevRun(0))
            return false;
        SkipRunsHere();
    }
    SetRunIndex(FRunIndex - 1);
    return true;
}

uint8_t TArtNavigator::StaticStyle() {
    if (!FMemo || !FMemo->StaticFormat())
        return 0;
    const LineInfo line = *Lines().LineAt(LineIndex());
    const int32_t end = std::min(FParOffset, ParLength(*FPar));
    uint8_t style = line.StartStyle;
    for (int32_t i = line.Start; i < end; ++i)
        style ^= FormatCodeBit(FPar->Text[i]);
    return style;
}

// ---- words -------------------------------------------------------------------------------------

bool TArtNavigator::StepRight() {
    Resolve();
    const int32_t length = ParLength(*FPar);
    if (FParOffset <= length) {
        if (FParOffset == length && FParNb + 1 >= Store().Count())
            return false; // the end of the text
        SetPos(FPos + 1);
    } else {
        SetParNb(FParNb + 1);
    }
    return true;
}

bool TArtNavigator::StepLeft() {
    Resolve();
    FEndsLine = false;
    if (FParOffset > 0) {
        --FParOffset;
        --FPos;
        if (FRunIndex > 0) {
            const TRunArray& runs = *RunsOf(*FPar);
            while (FRunIndex > 0 && runs[static_cast<size_t>(FRunIndex - 1)].Offset >= FParOffset)
                --FRunIndex;
        }
        if (FLineIndex > 0) {
            TLinesList& lines = Lines();
            while (FLineIndex > 0 && FParOffset < lines.LineAt(FLineIndex)->Start)
                --FLineIndex;
        }
        return true;
    }
    if (FParNb == 0)
        return false;
    PointAt(FParNb - 1);
    FParOffset = ParLength(*FPar) + 1; // on the LF
    --FPos;
    FRunIndex = FLineIndex = -1;
    return true;
}

uint8_t TArtNavigator::CharBefore() {
    Resolve();
    if (FParOffset == 0)
        return FParNb > 0 ? 10 : 0;
    const int32_t length = ParLength(*FPar);
    if (FParOffset - 1 < length)
        return static_cast<uint8_t>(FPar->Text[FParOffset - 1]);
    return 13;
}

void TArtNavigator::WordLeft(const TCharSet& set) {
    if (!StepLeft())
        return;
    while (set.test(CurrentChar()) && StepLeft()) {
    }
    while (FPos > 0 && !set.test(CharBefore()))
        StepLeft();
}

void TArtNavigator::WordRight(const TCharSet& set) {
    Resolve();
    auto onCR = [this] { return FParOffset == ParLength(*FPar); };
    if (onCR()) {
        if (StepRight())
            StepRight();
        return;
    }
    const int32_t start = FPos;
    while (!set.test(CurrentChar()) && StepRight()) {
    }
    if (FPos == start && onCR()) {
        if (StepRight())
            StepRight();
    }
    while (set.test(CurrentChar()) && StepRight()) {
    }
}

void TArtNavigator::WordEnd(const TCharSet& set) {
    Resolve();
    const int32_t length = ParLength(*FPar);
    while (FParOffset < length && !set.test(static_cast<uint8_t>(FPar->Text[FParOffset])))
        StepRight();
}

void TArtNavigator::WordStart(const TCharSet& set) {
    Resolve();
    // Both steps stay inside the paragraph, as WordEnd does, so a word is never taken across a
    // break even when the separators leave CR and LF out.
    while (FParOffset > 0 && set.test(CurrentChar()))
        StepLeft();
    while (FParOffset > 0 && !set.test(CharBefore()))
        StepLeft();
}

// ---- columns -----------------------------------------------------------------------------------

namespace {

int32_t ColumnAfter(int32_t column, char c, int t, bool staticFormat) {
    if (c == '\t' && t > 0)
        return (column / t + 1) * t;
    if (staticFormat && IsFormatCode(c))
        return column;
    return column + 1;
}

} // namespace

int32_t TArtNavigator::ColumnOf(const ParInfo& par, int32_t n, int t, bool staticFormat) {
    n = std::clamp(n, 0, ParLength(par));
    int32_t column = 0;
    for (int32_t i = 0; i < n; ++i)
        column = ColumnAfter(column, par.Text[i], t, staticFormat);
    return column;
}

int32_t TArtNavigator::OffsetOfColumn(const ParInfo& par, int32_t column, int t, bool staticFormat) {
    const int32_t length = ParLength(par);
    int32_t reached = 0;
    int32_t i = 0;
    for (; i < length; ++i) {
        int32_t next = ColumnAfter(reached, par.Text[i], t, staticFormat);
        if (next > column)
            break;
        reached = next;
    }
    return i;
}

int32_t TArtNavigator::ColumnShortfall(const ParInfo& par, int32_t column, int t, bool staticFormat) {
    return column - ColumnOf(par, OffsetOfColumn(par, column, t, staticFormat), t, staticFormat);
}

// ---- screen geometry ---------------------------------------------------------------------------

int TArtNavigator::GetX() {
    const LineInfo line = *Lines().LineAt(LineIndex());
    TLineGeometry geometry(*FMemo, *FPar, line);
    return geometry.LeftEdge() - FMemo->LeftOrigin() + geometry.WidthTo(FParOffset);
}

int TArtNavigator::GetY() {
    return DisplayLine() * FMemo->LinePixels() + FMemo->TextOffsetY() - FMemo->TopOrigin();
}

TPoint TArtNavigator::GetXY() {
    return {GetX(), GetY()};
}

void TArtNavigator::SetXY(TPoint point) {
    TParagraphsList& s = Store();
    const int32_t line = (point.Y + FMemo->TopOrigin()) / FMemo->LinePixels();
    if (line >= s.VisibleLineCount) {
        SetPos(s.TextLength);
        return;
    }
    SetDisplayLine(std::max(line, 0));
    SetX(point.X);
}

void TArtNavigator::SetX(int x) {
    const LineInfo line = *Lines().LineAt(LineIndex());
    TLineGeometry geometry(*FMemo, *FPar, line);
    SetLineOffset(geometry.ColumnAt(x + FMemo->LeftOrigin() - geometry.LeftEdge()));
}

int TArtNavigator::CharWidth() {
    Resolve();
    if (FParOffset >= ParLength(*FPar))
        return 0;
    SkipRunsHere();
    const LineInfo line = *Lines().LineAt(LineIndex());
    TLineGeometry geometry(*FMemo, *FPar, line);
    return geometry.AdvanceAt(FParOffset);
}

} // namespace zandor
