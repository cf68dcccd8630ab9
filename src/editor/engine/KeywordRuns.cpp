#include "editor/engine/KeywordRuns.h"

#include "editor/engine/KeywordList.h"
#include "editor/engine/RunState.h"

#include <algorithm>
#include <climits>

namespace zandor {

namespace {

// The fields KeywordRunState gives, written into a zeroed record where it stands.
void FillKeywordRun(TDynInfo& s, const TDynInfo& below, const TKeyInfoLen& kw, int keyword, int32_t length) {
    const int d = std::min(EffectiveDepth(below) + 1, kMaxDepth);
    s.Depth = static_cast<int8_t>(d);
    s.Stack = TContextStack::Pushed(below.Stack, d, static_cast<int16_t>(keyword));
    s.StyleFlags = static_cast<uint8_t>(kw.Style | sfKeyed | sfContext);
    s.Background = kw.Background;
    s.Foreground = kw.Foreground;
    s.Context = kw.Context;
    s.Cursor = kw.Cursor;
    s.StartLen = s.StopLen = static_cast<int16_t>(std::min<int32_t>(length, INT16_MAX));
}

} // namespace

TDynInfo KeywordRunState(const TDynInfo& below, const TKeyInfoLen& kw, int keyword, int32_t length) {
    TDynInfo s{};
    FillKeywordRun(s, below, kw, keyword, length);
    return s;
}

bool PlaceKeywordRuns(TParagraphsList& list, int p, const TKeywordHit* hits, int n, const TKeywordList& keys,
                      std::vector<int>& order) {
    if (n <= 0)
        return false;
    ParInfo& par = list.Par(p);
    const TDynInfo& base = *BaseStyleOf(par);
    const int count = RunCount(par);
    const TDynInfo* before = count > 0 ? par.Extra->Runs.data() : nullptr;

    // Hits come by keyword, then by offset: often in offset order already. Otherwise they are taken
    // in the order of their offsets.
    bool sorted = true;
    for (int j = 1; j < n && sorted; ++j)
        sorted = hits[j - 1].Offset <= hits[j].Offset;
    if (!sorted) {
        order.resize(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j)
            order[static_cast<size_t>(j)] = j;
        std::sort(order.begin(), order.end(),
                  [hits](int a, int b) { return hits[a].Offset < hits[b].Offset; });
    }
    const auto nth = [&](int k) -> const TKeywordHit& {
        return sorted ? hits[k] : hits[order[static_cast<size_t>(k)]];
    };

    // Applied one by one, a keyword in a state without a context opens its own on top of nothing
    // and hands the state back at its end, whatever was applied before it, as long as keywords do
    // not touch (the later one would take over the earlier one's end) and no run begins inside
    // one (it would be swallowed). Anything else goes the long way.
    int next = 0;
    int32_t lastEnd = -1;
    for (int k = 0; k < n; ++k) {
        const TKeywordHit& hit = nth(k);
        const int32_t start = hit.Offset, stop = hit.Offset + hit.Length;
        if (hit.Length <= 0 || start <= lastEnd)
            return false;
        while (next < count && before[next].Offset <= start)
            ++next;
        const TDynInfo& in = next > 0 ? before[next - 1] : base;
        if ((in.StyleFlags & sfContext) || in.StartLen != 0)
            return false;
        if (next < count && before[next].Offset <= stop)
            return false;
        lastEnd = stop;
    }

    // At the very end of the text a keyword has nothing after it to hand a state back to.
    const int32_t textEnd = p == list.Count() - 1 ? ParLength(par) : INT32_MAX;
    size_t added = 2 * static_cast<size_t>(n);
    if (nth(n - 1).Offset + nth(n - 1).Length >= textEnd)
        --added;

    // Merged in place from the back: the runs after a keyword move up to their final places, then
    // its two runs are written in front of them; what stands before the first keyword stays.
    ParInfo& target = list.Par(p);
    TRunArray& array = ExtendPar(target, added).Runs;
    array.resize(static_cast<size_t>(count) + added);
    TDynInfo* runs = array.data();
    size_t w = array.size();
    size_t e = static_cast<size_t>(count);
    for (int k = n - 1; k >= 0; --k) {
        const TKeywordHit& hit = nth(k);
        const int32_t start = hit.Offset, stop = hit.Offset + hit.Length;
        while (e > 0 && runs[e - 1].Offset > start)
            runs[--w] = runs[--e];
        const TDynInfo& in = e > 0 ? runs[e - 1] : base;
        if (stop < textEnd) {
            TDynInfo& back = runs[--w];
            back = in;
            back.Offset = stop;
            back.StartLen = 0;
        }
        TDynInfo& run = runs[--w];
        run = TDynInfo{};
        FillKeywordRun(run, in, keys.Key(hit.Keyword), hit.Keyword, hit.Length);
        run.Offset = start;
    }
    target.Flags &= ~pfLinesValid;
    FixLineRunIndexes(target);
    return true;
}

} // namespace zandor
