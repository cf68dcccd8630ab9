#include "editor/engine/ParagraphsList.h"

#include "editor/engine/EngineErrors.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zandor {

// ---- owned text buffers ----------------------------------------------------------------------

namespace {

// Each owned buffer starts with a hidden header that records its usable size; the paragraph keeps
// only the pointer behind it, so the record stays as small as a shared one.
constexpr size_t kTextHeader = sizeof(int64_t);

} // namespace

int32_t TextBufferSizeFor(int64_t n) {
    const int64_t size = n + n / 64 + 1;
    if (n < 0 || size > INT32_MAX)
        throw ETextTooLong();
    return static_cast<int32_t>(size);
}

char* AllocParText(int64_t bytes) {
    if (bytes > INT32_MAX)
        throw ETextTooLong();
    if (bytes < 1)
        bytes = 1;
    auto buffer = std::make_unique_for_overwrite<char[]>(kTextHeader + static_cast<size_t>(bytes));
    std::memcpy(buffer.get(), &bytes, sizeof bytes);
    return buffer.release() + kTextHeader;
}

int32_t ParTextCapacity(const char* text) {
    int64_t bytes = 0;
    std::memcpy(&bytes, text - kTextHeader, sizeof bytes);
    return static_cast<int32_t>(bytes);
}

void FreeParText(char* text) {
    if (text)
        std::unique_ptr<char[]>(text - kTextHeader).reset();
}

// ---- base styles -----------------------------------------------------------------------------

void BaseStyleRef::Assign(const TDynInfo* state, bool copy) {
    if (!state || !(state->StyleFlags & sfContext)) {
        Reset();
        return;
    }
    if (copy) {
        auto fresh = std::make_unique<TDynInfo>(*state);
        fresh->Offset = 1;
        Reset();
        FState = fresh.release();
        return;
    }
    if (state == FState)
        return;
    // Count the new holder before letting go of the old one: the two may share a record whose
    // only other holder is about to go.
    auto* shared = const_cast<TDynInfo*>(state);
    ++shared->Offset;
    Reset();
    FState = shared;
}

void BaseStyleRef::Reset() {
    if (!FState)
        return;
    if (FState->Offset <= 1)
        std::unique_ptr<TDynInfo>(FState).reset();
    else
        --FState->Offset;
    FState = nullptr;
}

// ---- per-paragraph helpers -------------------------------------------------------------------

void SetParLength(ParInfo& par, int32_t n) {
    if (n < 0)
        throw EInternalError();
    if (!IsExtended(par) && n < kCompactLengthLimit) {
        par.Compact.Length = static_cast<uint16_t>(n);
        return;
    }
    ExtendPar(par).Length = n;
}

namespace {

// An extension and the lent run buffer behind it are one block.
ParExtraInfo* NewParExtra(size_t runRoom) {
    if (runRoom == 0)
        return new ParExtraInfo();
    if (runRoom > (UINT32_MAX >> 1))
        throw std::bad_alloc();
    void* block = ::operator new(sizeof(ParExtraInfo) + runRoom * sizeof(TDynInfo));
    auto* lent = reinterpret_cast<TDynInfo*>(static_cast<char*>(block) + sizeof(ParExtraInfo));
    return new (block) ParExtraInfo(lent, static_cast<uint32_t>(runRoom));
}

void DeleteParExtra(ParExtraInfo* extra) {
    // Both kinds of block come from the global operator new and go back through it.
    extra->~ParExtraInfo();
    ::operator delete(static_cast<void*>(extra));
}

} // namespace

ParExtraInfo& ExtendPar(ParInfo& par, size_t runRoom) {
    if (IsExtended(par)) {
        TRunArray& runs = par.Extra->Runs;
        // Room asked for again and again (a few runs for each address of a long paragraph) must
        // not copy the runs each time: the array grows by at least half its size.
        if (runs.capacity() < runs.size() + runRoom)
            runs.reserve(std::max(runs.size() + runRoom, runs.capacity() + runs.capacity() / 2));
        return *par.Extra;
    }
    const LineInfo line0 = LoadFirstLine(par);
    ParExtraInfo* extra = NewParExtra(runRoom);
    extra->Length = par.Compact.Length;
    extra->FirstLineInfo = line0;
    extra->CollapseFrom = (par.Level & plCollapseFromUsed) ? 1 : 0;
    extra->CollapseTo = (par.Level & plCollapseToUsed) ? 1 : 0;
    par.Extra = extra;
    par.Flags |= pfExtended;
    return *par.Extra;
}

int LineCountOf(const ParInfo& par) {
    return IsExtended(par) ? static_cast<int>(par.Extra->Lines.size()) + 1 : 1;
}

void SetRunCount(ParInfo& par, int n) {
    n = std::max(n, 0);
    if (!IsExtended(par) && n == 0)
        return;
    ExtendPar(par).Runs.resize(static_cast<size_t>(n));
}

void SetBaseStyle(ParInfo& par, const TDynInfo* state, bool copy) {
    if (state && (state->StyleFlags & sfContext))
        ExtendPar(par).BaseStyle.Assign(state, copy);
    else if (IsExtended(par))
        par.Extra->BaseStyle.Reset();
}

void StoreFirstLine(ParInfo& par, const LineInfo& info) {
    if (!IsExtended(par)) {
        const int32_t length = par.Compact.Length;
        // What the compact form implies for line 0: the whole paragraph, no justification, no
        // static style, a width that fits 16 bits.
        if (info.Start == 0 && info.Stop == length && info.TextWidth >= 0 && info.TextWidth <= 65535 &&
            info.JustifyFrom >= length && info.StartStyle == 0) {
            par.Compact.Width16 = static_cast<uint16_t>(info.TextWidth);
            return;
        }
    }
    ExtendPar(par).FirstLineInfo = info;
}

LineInfo LoadFirstLine(const ParInfo& par) {
    if (IsExtended(par))
        return par.Extra->FirstLineInfo;
    const int32_t length = par.Compact.Length, width = par.Compact.Width16;
    return LineInfo{0, length, width, width, 0, length, 0, 0};
}

void OwnText(ParInfo& par) {
    if (par.Flags & pfOwnText)
        return;
    const int32_t length = ParLength(par);
    if (length == 0) {
        par.Text = nullptr;
    } else {
        if (!par.Text)
            throw EInternalError();
        char* buffer = AllocParText(static_cast<int64_t>(length) + 1);
        std::memcpy(buffer, par.Text, static_cast<size_t>(length));
        buffer[length] = '\0';
        par.Text = buffer;
    }
    par.Flags |= pfOwnText;
}

int32_t ParColorOf(const ParInfo& par) {
    return IsExtended(par) ? par.Extra->ParColor : kColorUnset;
}

int32_t ParBackColorOf(const ParInfo& par) {
    return IsExtended(par) ? par.Extra->ParBackColor : kColorUnset;
}

void ReleasePar(ParInfo& par) {
    if (par.Flags & pfOwnText)
        FreeParText(par.Text);
    if (IsExtended(par))
        DeleteParExtra(par.Extra);
    par.Text = nullptr;
    par.Flags &= static_cast<uint8_t>(~(pfExtended | pfOwnText));
    par.Compact.Length = 0;
    par.Compact.Width16 = 0;
    par.Level = 0;
}

// ---- the list --------------------------------------------------------------------------------

TParagraphsList::TParagraphsList() : TDynArray2(sizeof(ParInfo), sizeof(ParInfo)) {}

TParagraphsList::~TParagraphsList() {
    ReleaseAll();
}

void TParagraphsList::ReleaseAll() {
    // Only owned texts and extensions need freeing; after a load nearly every record has neither,
    // and the records themselves are dropped with their blocks.
    ForEachPar(0, Count(), [](ParInfo& par) {
        if (par.Flags & (pfOwnText | pfExtended))
            ReleasePar(par);
    });
}

// ---- shifts owed to later blocks ------------------------------------------------------------------

namespace {

// Start and FirstLine always fit 32 bits once every shift is applied; the sum is taken wide.
int32_t Shifted(int32_t value, int64_t by) {
    return static_cast<int32_t>(int64_t(value) + by);
}

} // namespace

void TParagraphsList::PayBlock(int b) const {
    const TShift owed = FShifts.Take(b);
    const int first = b * kParsPerBlock;
    const int n = std::min(kParsPerBlock, Count() - first);
    if (n <= 0)
        return;
    auto* rec = reinterpret_cast<ParInfo*>(Block(b));
    for (ParInfo* end = rec + n; rec != end; ++rec) {
        rec->Start = Shifted(rec->Start, owed.Start);
        rec->FirstLine = Shifted(rec->FirstLine, owed.Lines);
    }
}

int32_t TParagraphsList::StartOf(int i) const {
    const auto* par = static_cast<const ParInfo*>(Items(i));
    return Shifted(par->Start, FShifts.Owed(i / kParsPerBlock).Start);
}

int32_t TParagraphsList::FirstLineOf(int i) const {
    const auto* par = static_cast<const ParInfo*>(Items(i));
    return Shifted(par->FirstLine, FShifts.Owed(i / kParsPerBlock).Lines);
}

void TParagraphsList::Shift(int from, const TShift& shift) {
    from = std::max(from, 0);
    if (from >= Count() || shift.Empty())
        return;
    FShifts.Resize(BlockCount());
    // The rest of from's own block at once, every later block by what it owes.
    const int b = from / kParsPerBlock;
    Settle(from);
    const int end = std::min((b + 1) * kParsPerBlock, Count());
    auto* rec = reinterpret_cast<ParInfo*>(Block(b)) + from % kParsPerBlock;
    for (ParInfo* last = rec + (end - from); rec != last; ++rec) {
        rec->Start = Shifted(rec->Start, shift.Start);
        rec->FirstLine = Shifted(rec->FirstLine, shift.Lines);
    }
    FShifts.Add(b + 1, shift);
}

void TParagraphsList::ShiftStarts(int from, int32_t delta) {
    Shift(from, TShift{delta, 0});
}

void TParagraphsList::ShiftFirstLines(int from, int32_t delta) {
    Shift(from, TShift{0, delta});
}

void TParagraphsList::ShiftStartsAndLines(int from, int32_t dStart, int32_t dLines) {
    Shift(from, TShift{dStart, dLines});
}

void TParagraphsList::MoveRecords(int from, int to, int n) {
    if (n > 0 && from != to && from >= 0 && to >= 0) {
        // Records that move to another block take their owed shifts along only once paid.
        const int lo = std::min(from, to);
        const int hi = std::min(std::max(from, to) + n, Count());
        for (int i = lo; i < hi; i += kParsPerBlock - i % kParsPerBlock)
            Settle(i);
    }
    TDynArray2::MoveRecords(from, to, n);
}

void TParagraphsList::SetCapacity(int n) {
    TDynArray2::SetCapacity(n);
    FShifts.Resize(std::min(FShifts.BlockCount(), BlockCount()));
}

void TParagraphsList::MarkDirty(int firstPar, int lineInPar, int lastPar) {
    const int32_t firstLine = Par(firstPar).FirstLine; // range check before anything changes
    if (DirtyTo < DirtyFrom) {
        DirtyFrom = Count();
        if (Count() > 0) {
            const ParInfo& last = Par(Count() - 1);
            DirtyFirstLine = last.FirstLine + LineCountOf(last);
        } else {
            DirtyFirstLine = 0;
        }
    }
    if (DirtyFrom >= firstPar) {
        DirtyFrom = firstPar;
        DirtyFirstLine = std::min(DirtyFirstLine, firstLine + lineInPar);
    }
    if (DirtyTo < lastPar)
        DirtyTo = lastPar;
    if (ParsedTo >= firstPar)
        ParsedTo = firstPar - 1;
    LinesReusable = false;
}

bool TParagraphsList::ResetDirty() {
    DirtyFirstLine = LineCount;
    DirtyFrom = Count();
    DirtyTo = -1;
    DirtyLineDelta = 0;
    const bool changed = Modified;
    Modified = false;
    return changed;
}

void TParagraphsList::InvalidateFormat() {
    ForEachPar(0, Count(), [](ParInfo& par) { par.Flags &= static_cast<uint8_t>(~pfLinesValid); });
    BgNext = 0;
    BgLast = Count() - 1;
}

void TParagraphsList::ClearAll() {
    ReleaseAll();
    TextLength = 0;
    LineCount = 0;
    VisibleLineCount = 0;
    SetCount(0);
    SetCapacity(4);
    FShifts.Clear();
    Widths.Clear();
    LoadBlocks.clear();
    BgLast = -1;
}

void TParagraphsList::ShrinkAfterReplace() {
    const int32_t count = Count();
    if (count + count / 16 + 8 < Capacity())
        SetCapacity(count + count / 32 + 4);
}

char* TParagraphsList::AddLoadBlock(size_t bytes) {
    auto block = std::make_unique_for_overwrite<char[]>(std::max<size_t>(bytes, 1));
    char* text = block.get();
    LoadBlocks.push_back(LoadBlock{std::move(block)});
    return text;
}

} // namespace zandor
