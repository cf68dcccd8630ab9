#include "editor/engine/RunState.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/LinesList.h"

namespace zandor {

bool SameState(const TDynInfo& a, const TDynInfo& b) {
    constexpr uint8_t marks = sfKeyed | sfContext;
    if ((a.StyleFlags & marks) != (b.StyleFlags & marks))
        return false;
    if (!(a.StyleFlags & sfContext))
        return true;
    if (a.Depth != b.Depth || a.Context != b.Context)
        return false;
    if (a.Stack == b.Stack)
        return true;
    for (int d = 0; d <= a.Depth && d < kStackEntries; ++d)
        if (a.Stack[d] != b.Stack[d])
            return false;
    return true;
}

TDynInfo Pushed(const TDynInfo& below, int16_t entry) {
    TDynInfo s{};
    const int d = std::min(EffectiveDepth(below) + 1, kMaxDepth);
    s.Depth = static_cast<int8_t>(d);
    s.Stack = TContextStack::Pushed(below.Stack, d, entry);
    return s;
}

namespace {

const TRunArray* RunsOf(const ParInfo& par) {
    return IsExtended(par) ? &par.Extra->Runs : nullptr;
}

} // namespace

int RunsBefore(const ParInfo& par, int32_t offset) {
    const TRunArray* runs = RunsOf(par);
    if (!runs)
        return 0;
    return static_cast<int>(std::partition_point(runs->begin(), runs->end(),
                                                 [&](const TDynInfo& r) { return r.Offset < offset; }) -
                            runs->begin());
}

int RunsUpTo(const ParInfo& par, int32_t offset) {
    const TRunArray* runs = RunsOf(par);
    if (!runs)
        return 0;
    return static_cast<int>(std::partition_point(runs->begin(), runs->end(),
                                                 [&](const TDynInfo& r) { return r.Offset <= offset; }) -
                            runs->begin());
}

const TDynInfo& StateAt(const ParInfo& par, int32_t offset) {
    const int i = RunsUpTo(par, offset);
    return i > 0 ? par.Extra->Runs[static_cast<size_t>(i - 1)] : *BaseStyleOf(par);
}

const TDynInfo& EndState(const ParInfo& par) {
    const int n = RunCount(par);
    return n > 0 ? par.Extra->Runs[static_cast<size_t>(n - 1)] : *BaseStyleOf(par);
}

void FixLineRunIndexes(ParInfo& par) {
    if (!IsExtended(par))
        return;
    ParExtraInfo& extra = *par.Extra;
    extra.FirstLineInfo.RunIndex = RunsBefore(par, extra.FirstLineInfo.Start);
    for (LineInfo& line : extra.Lines)
        line.RunIndex = RunsBefore(par, line.Start);
}

void ApplyRunAt(TParagraphsList& paragraphs, int sp, int32_t so, int ep, int32_t eo, int lineInPar,
                bool markDirty, bool isContext, const TDynInfo& state, bool fixLineIndexes) {
    if (sp > ep || (sp == ep && so > eo)) {
        std::swap(sp, ep);
        std::swap(so, eo);
    }
    if (sp == ep && so == eo)
        return;
    if (markDirty)
        paragraphs.MarkDirty(sp, lineInPar, ep);

    ParInfo& first = paragraphs.Par(sp);
    int i = RunsUpTo(first, so);
    TDynInfo r = i > 0 ? first.Extra->Runs[static_cast<size_t>(i - 1)] : *BaseStyleOf(first);
    int32_t rBegin = first.Start + (i > 0 ? first.Extra->Runs[static_cast<size_t>(i - 1)].Offset : 0);

    TDynInfo run = state;
    run.Level = (r.StyleFlags & sfContext) ? r.Level : 0;
    if (isContext)
        run.StyleFlags |= sfContext;
    else
        run.StyleFlags = 0;
    if ((run.StyleFlags & sfContext) && (run.RunFlags & 1))
        ++run.Level;
    run.RunFlags &= ~2;
    run.Offset = so;
    if (isContext || (r.StyleFlags & sfContext)) {
        ExtendPar(first).Runs.insert(first.Extra->Runs.begin() + i, run);
        ++i;
    }

    // Delete what began after start up to and including stop; the last of it is in force at stop.
    for (int p = sp; p <= ep; ++p) {
        ParInfo& par = paragraphs.Par(p);
        par.Flags &= ~pfLinesValid;
        if (p > sp) {
            if (p == sp + 1)
                SetBaseStyle(par, &run, true);
            else
                SetBaseStyle(par, BaseStyleOf(paragraphs.Par(sp + 1)), false);
        }
        if (!IsExtended(par))
            continue;
        TRunArray& runs = par.Extra->Runs;
        const size_t from = p == sp ? static_cast<size_t>(i) : 0;
        size_t to = runs.size();
        if (p == ep)
            to = static_cast<size_t>(RunsUpTo(par, eo));
        if (to > from) {
            r = runs[to - 1];
            rBegin = par.Start + r.Offset;
            runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(from),
                       runs.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }

    ParInfo& last = paragraphs.Par(ep);
    const int32_t stopPos = last.Start + eo;
    r.StartLen = static_cast<int16_t>(std::max<int32_t>(0, r.StartLen - (stopPos - rBegin)));
    const bool endOfText = ep == paragraphs.Count() - 1 && eo >= ParLength(last);
    if (!endOfText && (isContext || (r.StyleFlags & sfContext))) {
        r.Offset = eo;
        TRunArray& runs = ExtendPar(last).Runs;
        runs.insert(runs.begin() + RunsUpTo(last, eo), r);
    }
    if (fixLineIndexes)
        for (int p = sp; p <= ep; ++p)
            FixLineRunIndexes(paragraphs.Par(p));
}

void TRunsAside::After(int32_t offset) {
    PutBack();
    if (!IsExtended(FPar))
        return;
    TRunArray& runs = FPar.Extra->Runs;
    const int k = RunsUpTo(FPar, offset);
    FAside.assign(runs.begin() + k, runs.end());
    runs.erase(runs.begin() + k, runs.end());
}

void TRunsAside::PutBack() {
    if (FNext < FAside.size()) {
        TRunArray& runs = FPar.Extra->Runs;
        runs.reserve(runs.size() + (FAside.size() - FNext));
        while (FNext < FAside.size())
            runs.push_back(FAside[FNext++]);
    }
    FAside.clear();
    FNext = 0;
}

void ApplyRun(TParagraphsList& paragraphs, TArtNavigator& start, TArtNavigator& stop, bool markDirty,
              bool isContext, const TDynInfo& state) {
    TArtNavigator* a = &start;
    TArtNavigator* b = &stop;
    if (b->Pos() < a->Pos())
        std::swap(a, b);
    const int sp = a->GetParNb();
    const int ep = b->GetParNb();
    // A navigator on the LF half of a break stands for the end of its paragraph.
    const int32_t so = std::min(a->ParOffset(), ParLength(*a->Par()));
    const int32_t eo = std::min(b->ParOffset(), ParLength(*b->Par()));
    const int line = markDirty ? a->LineIndex() : 0;
    const int32_t from = a->Pos();
    ApplyRunAt(paragraphs, sp, so, ep, eo, line, markDirty, isContext, state);
    if (TArtMemoCore* memo = a->Memo())
        memo->Navigators().InvalidateNavigators(from, ep);
    const int32_t pa = a->Pos();
    const int32_t pb = b->Pos();
    a->Invalidate();
    b->Invalidate();
    a->SetPos(pa);
    b->SetPos(pb);
}

} // namespace zandor
