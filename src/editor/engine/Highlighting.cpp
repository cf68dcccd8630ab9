#include "editor/engine/Highlighting.h"

#include "editor/engine/ArtHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/KeywordRuns.h"
#include "editor/engine/RunState.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace zandor {

namespace {

const char* TextOf(const ParInfo& par) {
    return par.Text ? par.Text : "";
}

bool IsSep(const TCharSet& set, char c) {
    return set.test(static_cast<unsigned char>(c));
}

} // namespace

THighlighting::THighlighting(TArtMemoCore& memo) : FMemo(memo) {}

THighlighting::~THighlighting() {
    SetHighlighter(nullptr);
}

void THighlighting::SetUpperCaseType(TamUpperCase kind) {
    FUpperCaseType = kind;
    FKeywords.SetUpperCase(kind);
    FStartStopKeys.SetUpperCase(kind);
}

void THighlighting::SetHighlighter(TArtHighlighter* highlighter) {
    if (highlighter == FHighlighter)
        return;
    if (FHighlighter)
        std::erase(FHighlighter->FMemos, this);
    FHighlighter = highlighter;
    if (highlighter)
        highlighter->FMemos.push_back(this);
}

void THighlighting::InvalidateNavigators(int32_t fromPos, int32_t toPar) {
    FMemo.Navigators().InvalidateNavigators(fromPos, toPar);
}

TArtNavigator& THighlighting::Scratch(int which, int par, int32_t offset) {
    std::unique_ptr<TArtNavigator>& nav = FScratch[which];
    if (!nav) {
        nav = std::make_unique<TArtNavigator>();
        nav->SetMemo(&FMemo);
    }
    nav->SetParNb(par);
    nav->SetParOffset(offset);
    return *nav;
}

// The folded copy of paragraph p that case-insensitive keys are compared with; left empty when
// every key is case-sensitive (the parser then reads the raw text only).
void THighlighting::FoldForKeys(int p) {
    FFolded.clear();
    if (FStartStopKeys.Count() == 0 || (FStartStopKeys.KeyFlags() & koCaseSensitive))
        return;
    const ParInfo& par = FMemo.Paragraphs().Par(p);
    FFolded.assign(TextOf(par), static_cast<size_t>(ParLength(par)));
    UpperCaseText(FStartStopKeys.UpperCase(), FFolded.data(), FFolded.size());
}

// ---- keywords ------------------------------------------------------------------------------------

void THighlighting::ApplyKeywords(TArtNavigator& start, TArtNavigator& stop) {
    int first = start.GetParNb();
    int last = stop.GetParNb();
    if (last < first)
        std::swap(first, last);
    for (int p = first; p <= last; ++p)
        ApplyKeywordsToPar(p);
}

void THighlighting::ApplyKeywordsIfNeeded(int p) {
    ParInfo& par = FMemo.Paragraphs().Par(p);
    if (par.Flags & pfKeywords)
        return;
    if ((FApplyKeyWords && FKeywords.Count() > 0) || FHighlighter)
        ApplyKeywordsToPar(p);
    FMemo.Paragraphs().Par(p).Flags |= pfKeywords;
}

void THighlighting::ApplyKeywordsToPar(int p) {
    TParagraphsList& list = FMemo.Paragraphs();
    // Keyword runs already there would be matched over again and nest: start from the contexts.
    if (list.Par(p).Flags & pfKeywords)
        ParseParagraphs(p, p);
    const int32_t length = ParLength(list.Par(p));
    const bool keywords = FApplyKeyWords && FKeywords.Count() > 0 && length > 0;
    // Whether FHits already holds this paragraph's keywords, and whether the matcher has read its
    // text (so another mask needs no new search through it).
    bool matched = false;
    bool scanned = false;
    if (FHighlighter) {
        // The highlighter's runs and the keywords' go into one allocation. A paragraph without
        // contexts is matched first when the highlighter expects to style nothing (so masks
        // nothing): that is the answer. Otherwise its keywords are only looked for, which tells
        // how much room they may need (no more hits than occurrences, nor than characters), and
        // settled under the mask once the highlighter has styled the paragraph.
        const ParInfo& par = list.Par(p);
        size_t room = static_cast<size_t>(FHighlighter->RunsToAdd(FMemo, p));
        if (keywords && RunCount(par) == 0 && !(BaseStyleOf(par)->StyleFlags & sfContext)) {
            FMatcher.Prepare(FKeywords);
            scanned = true;
            if (room == 0) {
                FMatcher.Match(TextOf(par), length, nullptr, FMemo.Separators(), FHits);
                matched = true;
                room = 2 * FHits.size();
            } else {
                room += 2 * static_cast<size_t>(std::min(FMatcher.Find(TextOf(par), length), length));
            }
        }
        if (room > 0)
            ExtendPar(list.Par(p), room);
        if (!FHighlighter->ApplyHighlightToPar(FMemo, p, FKeywords.Count())) {
            TArtNavigator& a = Scratch(0, p, 0);
            TArtNavigator& b = Scratch(1, p, length);
            FHighlighter->ApplyHighlight(a, b, FKeywords.Count());
        }
    }
    ParInfo& par = list.Par(p);
    par.Flags |= pfKeywords;
    if (!keywords)
        return;
    const uint8_t* mask = MaskedContexts(par, length);
    if (mask || !matched) {
        FMatcher.Prepare(FKeywords);
        if (scanned)
            FMatcher.Rematch(TextOf(par), length, mask, FMemo.Separators(), FHits);
        else
            FMatcher.Match(TextOf(par), length, mask, FMemo.Separators(), FHits);
    }
    if (FHits.empty())
        return;
    // Two runs at most for each keyword: room for all of them at once.
    ExtendPar(par, 2 * FHits.size());
    ApplyMatches(p, FHits.data(), static_cast<int>(FHits.size()));
    InvalidateNavigators(list.Par(p).Start, p);
}

// Characters inside contexts that allow no keywords (addresses among them): one flag per byte in
// FMasked, or null when there are none.
const uint8_t* THighlighting::MaskedContexts(const ParInfo& par, int32_t length) {
    if (!IsExtended(par))
        return nullptr;
    const uint8_t* mask = nullptr;
    const TDynInfo* state = BaseStyleOf(par);
    int32_t from = 0;
    const int n = RunCount(par);
    for (int i = 0; i <= n; ++i) {
        const int32_t to = i < n ? std::min(+par.Extra->Runs[static_cast<size_t>(i)].Offset, length) : length;
        if ((state->StyleFlags & sfContext) && state->Context != 0 && to > from) {
            if (!mask) {
                FMasked.assign(static_cast<size_t>(length), 0);
                mask = FMasked.data();
            }
            std::fill(FMasked.begin() + from, FMasked.begin() + to, 1);
        }
        if (i < n) {
            state = &par.Extra->Runs[static_cast<size_t>(i)];
            from = std::max(from, to);
        }
    }
    return mask;
}

void THighlighting::ApplyMatches(int p, const TKeywordHit* matches, int n) {
    TParagraphsList& list = FMemo.Paragraphs();
    if (FKeywordRunsInOnePass && PlaceKeywordRuns(list, p, matches, n, FKeywords, FHitOrder))
        return;
    // One by one in the order found: each keyword's occurrences from the left, keyword after
    // keyword. While one keyword's are applied, the runs behind them are set aside (a new keyword
    // starts further left again), and the lines' run indexes are recounted once at the end.
    TRunsAside aside(list.Par(p), FAside);
    for (int m = 0; m < n; ++m) {
        const TKeywordHit& match = matches[m];
        if (m == 0 || match.Offset < matches[m - 1].Offset)
            aside.After(match.Offset);
        aside.UpTo(match.Offset + match.Length);
        ParInfo& par = list.Par(p);
        const int i = RunsUpTo(par, match.Offset);
        const TDynInfo& r = i > 0 ? par.Extra->Runs[static_cast<size_t>(i - 1)] : *BaseStyleOf(par);
        if (EffectiveDepth(r) >= kMaxDepth)
            continue;
        // The context the keyword interrupts is no longer closed by a key right here.
        if (i > 0 && HasContext(r))
            par.Extra->Runs[static_cast<size_t>(i - 1)].StopLen = 0;
        const TDynInfo s = KeywordRunState(r, FKeywords.Key(match.Keyword), match.Keyword, match.Length);
        ApplyRunAt(list, p, match.Offset, p, match.Offset + match.Length, 0, false, true, s, false);
    }
    aside.PutBack();
    FixLineRunIndexes(list.Par(p));
}

// ---- start/stop keys -----------------------------------------------------------------------------

void THighlighting::PrepareKeys() {
    const TCharSet& separators = FMemo.Separators();
    if (FStartStopKeys.Prepared() && separators == FPreparedSeparators)
        return;
    FStartStopKeys.Prepare(separators);
    FPreparedSeparators = separators;
    FFirstRaw.reset();
    FFirstFolded.reset();
    for (int j = 0; j < FStartStopKeys.Count(); ++j) {
        const StartStopInfo& k = FStartStopKeys.Key(j);
        if (k.StartLen == 0)
            continue;
        const auto first = static_cast<unsigned char>(k.StartKey[0]);
        if (k.Options & koCaseSensitive)
            FFirstRaw.set(first);
        else
            FFirstFolded.set(first);
    }
}

bool THighlighting::FindContextEnd(TArtNavigator& A, TArtNavigator& C) {
    return ParserStep(A, C, &THighlighting::ContextEndAt);
}

bool THighlighting::FindContextStart(TArtNavigator& A, TArtNavigator& C) {
    return ParserStep(A, C, &THighlighting::ContextStartAt);
}

bool THighlighting::ParserStep(TArtNavigator& A, TArtNavigator& C, ParserStepAt step) {
    PrepareKeys();
    const int p = A.GetParNb();
    const int32_t length = ParLength(*A.Par());
    int32_t c = C.GetParNb() == p ? std::min(C.ParOffset(), length) : length;
    FoldForKeys(p);
    const bool found = (this->*step)(p, std::min(A.ParOffset(), length), c);
    const int32_t start = FMemo.Paragraphs().Par(p).Start;
    InvalidateNavigators(start, p);
    C.Invalidate();
    C.SetPos(start + c);
    A.Invalidate();
    A.SetPos(A.Pos());
    return found;
}

bool THighlighting::AskHighlighterStart(int p, int32_t a, int32_t& c) {
    if (!FHighlighter)
        return false;
    TArtNavigator& na = Scratch(0, p, a);
    TArtNavigator& nc = Scratch(1, p, c);
    const bool found = FHighlighter->FindContextStart(na, nc, FStartStopKeys.Count());
    if (found)
        c = nc.GetParNb() == p ? nc.ParOffset() : ParLength(FMemo.Paragraphs().Par(p));
    return found;
}

bool THighlighting::AskHighlighterEnd(int p, int32_t a, int32_t& c) {
    if (!FHighlighter)
        return false;
    TArtNavigator& na = Scratch(0, p, a);
    TArtNavigator& nc = Scratch(1, p, c);
    const bool found = FHighlighter->FindContextEnd(na, nc, FStartStopKeys.Count());
    if (found)
        c = nc.GetParNb() == p ? nc.ParOffset() : ParLength(FMemo.Paragraphs().Par(p));
    return found;
}

// The state that was in force before the context at `depth` was opened: the last state before run
// runIndex of paragraph p (walking back into earlier paragraphs) whose stack is shallower.
void THighlighting::StateBefore(int p, int runIndex, int depth, TDynInfo& out) {
    if (depth <= 0) {
        out = kDefaultRunState;
        return;
    }
    TParagraphsList& list = FMemo.Paragraphs();
    for (int q = p; q >= 0; --q) {
        const ParInfo& par = list.Par(q);
        for (int i = (q == p ? runIndex : RunCount(par)) - 1; i >= 0; --i) {
            const TDynInfo& r = par.Extra->Runs[static_cast<size_t>(i)];
            if (EffectiveDepth(r) < depth) {
                out = r;
                return;
            }
        }
        const TDynInfo* base = BaseStyleOf(par);
        if (EffectiveDepth(*base) < depth) {
            out = *base;
            return;
        }
    }
    out = kDefaultRunState;
}

bool THighlighting::ContextEndAt(int p, int32_t a, int32_t& c) {
    ParInfo& par = FMemo.Paragraphs().Par(p);
    const TDynInfo st = StateAt(par, a);
    if (!HasContext(st))
        return false;
    const int16_t top = st.Stack[st.Depth];
    if (top >= 0)
        return AskHighlighterEnd(p, a, c);
    const int keyIndex = KeyOfEntry(top);
    if (!FApplyStartStopKeys || keyIndex >= FStartStopKeys.Count())
        return false;
    const StartStopInfo& key = FStartStopKeys.Key(keyIndex);
    const int32_t length = ParLength(par);
    const char* text = TextOf(par);

    // The run that opened this context, when that happened in this paragraph.
    int opening = -1;
    for (int i = RunsUpTo(par, a) - 1; i >= 0; --i) {
        const TDynInfo& r = par.Extra->Runs[static_cast<size_t>(i)];
        if (EffectiveDepth(r) == st.Depth && r.Stack[st.Depth] == top)
            opening = i;
        else
            break;
    }
    if (opening == 0 && SameState(*BaseStyleOf(par), st))
        opening = -1; // the context was already open at the paragraph start
    const int stopLen = key.StopLen;
    int32_t from = std::max(0, a - stopLen - (key.StopBoundaryBefore ? 1 : 0));
    if (opening >= 0) {
        const TDynInfo& r = par.Extra->Runs[static_cast<size_t>(opening)];
        from = std::max(from, r.Offset + (r.StartLen > 0 ? key.StartLen : 0));
    }
    const int32_t to = std::min(length, c + stopLen + (key.StopBoundaryAfter ? 1 : 0));

    int32_t found = -1;
    if (stopLen > 0 && to - from >= stopLen) {
        const char* src = (key.Options & koCaseSensitive) ? text : FFolded.c_str();
        const std::string_view window(src + from, static_cast<size_t>(to - from));
        const std::string_view stop(key.StopKey, static_cast<size_t>(stopLen));
        for (size_t at = window.find(stop); at != std::string_view::npos; at = window.find(stop, at + 1)) {
            const int32_t s = from + static_cast<int32_t>(at);
            const int32_t e = s + stopLen;
            if (e < a)
                continue;
            if (key.StopBoundaryBefore && s > 0 && !IsSep(FMemo.Separators(), text[s - 1]))
                continue;
            if (key.StopBoundaryAfter && e < length && !IsSep(FMemo.Separators(), text[e]))
                continue;
            found = s;
            break;
        }
    }
    if (found >= 0) {
        TRunArray& runs = par.Extra->Runs;
        const int i0 = RunsUpTo(par, found);
        const int i1 = RunsUpTo(par, found + stopLen);
        runs.erase(runs.begin() + i0, runs.begin() + i1);
        if (opening >= i0)
            opening = -1;
        c = found + stopLen;
    } else if (!((key.KeyFlags & kfEndsAtLineEnd) && c == length)) {
        return false;
    }

    if (opening >= 0)
        ExtendPar(par).Runs[static_cast<size_t>(opening)].StopLen =
            static_cast<int16_t>(stopLen + (key.StopBoundaryBefore ? 1 : 0));
    TDynInfo after;
    int alternative = -1;
    for (int j = keyIndex + 1; j < FStartStopKeys.Count(); ++j)
        if (FStartStopKeys.Key(j).FirstSame == keyIndex) {
            alternative = j;
            break;
        }
    if (alternative >= 0) {
        // The same start key may be closed by another key: the context continues as that one.
        const StartStopInfo& alt = FStartStopKeys.Key(alternative);
        after = TDynInfo{};
        after.Depth = st.Depth;
        for (int d = 0; d < st.Depth; ++d)
            after.Stack[d] = st.Stack[d];
        after.Stack[st.Depth] = KeyEntry(alternative);
        after.StyleFlags = static_cast<uint8_t>(alt.Style | sfKeyed | sfContext);
        after.Background = alt.Background;
        after.Foreground = alt.Foreground;
        after.Context = alt.Context;
        after.Cursor = alt.Cursor;
        after.StartLen = 0;
        after.StopLen = alt.StopLen;
    } else {
        StateBefore(p, RunsUpTo(par, a), st.Depth, after);
    }
    after.Offset = c;
    TRunArray& runs = ExtendPar(par).Runs;
    runs.insert(runs.begin() + RunsUpTo(par, c), after);
    return true;
}

bool THighlighting::ContextStartAt(int p, int32_t a, int32_t& c) {
    ParInfo& par = FMemo.Paragraphs().Par(p);
    const int32_t length = ParLength(par);
    if (!FApplyStartStopKeys || FStartStopKeys.Count() == 0 || EffectiveDepth(StateAt(par, a)) >= kMaxDepth)
        return AskHighlighterStart(p, a, c);
    const char* text = TextOf(par);
    const char* folded = FFolded.c_str();
    const int maxStart = FStartStopKeys.MaxStartLen();
    const int32_t lo = std::max(0, a - maxStart - 1);
    const int32_t hi = std::min(c, length - 1);
    const int32_t windowEnd = std::min(length, c + maxStart + 1);
    // Keys never reach into the region of a highlighter run.
    int32_t limit = windowEnd;
    for (int i = RunsUpTo(par, a); i < RunCount(par); ++i)
        if (IsHighlighterRun(par.Extra->Runs[static_cast<size_t>(i)])) {
            limit = std::min(limit, +par.Extra->Runs[static_cast<size_t>(i)].Offset);
            break;
        }
    const TCharSet& separators = FMemo.Separators();
    const int runCount = RunCount(par);
    int next = RunsUpTo(par, lo);
    const TDynInfo* state = next > 0 ? &par.Extra->Runs[static_cast<size_t>(next - 1)] : BaseStyleOf(par);
    for (int32_t i = lo; i <= hi; ++i) {
        while (next < runCount && par.Extra->Runs[static_cast<size_t>(next)].Offset <= i)
            state = &par.Extra->Runs[static_cast<size_t>(next++)];
        if (InKeyContext(*state)) {
            // Inside a key context only its stop key counts: skip to where the next run begins.
            if (next >= runCount)
                break;
            i = par.Extra->Runs[static_cast<size_t>(next)].Offset - 1;
            continue;
        }
        const auto raw = static_cast<unsigned char>(text[i]);
        if (!FFirstRaw.test(raw) &&
            !(FFirstFolded.any() && FFirstFolded.test(static_cast<unsigned char>(folded[i]))))
            continue;
        for (int j = 0; j < FStartStopKeys.Count(); ++j) {
            const StartStopInfo& key = FStartStopKeys.Key(j);
            const int32_t len = key.StartLen;
            if (len == 0 || i + len > limit || i + len <= a)
                continue;
            const char* src = (key.Options & koCaseSensitive) ? text : folded;
            if (std::memcmp(src + i, key.StartKey, static_cast<size_t>(len)) != 0)
                continue;
            if (key.StartBoundaryBefore && i > 0 && !IsSep(separators, text[i - 1]))
                continue;
            if (key.StartBoundaryAfter && i + len < windowEnd && !IsSep(separators, text[i + len]))
                continue;

            // Runs that began inside the key give way; the key's run takes the place of one that
            // began exactly at it.
            // The state the key opens its context on is the one in force at it, a run beginning
            // exactly there included (typically the state a closed context went back to).
            const TDynInfo r = StateAt(par, i);
            if (EffectiveDepth(r) >= kMaxDepth)
                continue; // no room for another context here
            const bool runHere = RunsUpTo(par, i) > RunsBefore(par, i);
            TRunArray& runs = ExtendPar(par).Runs;
            const int i0 = RunsBefore(par, i);
            const int i1 = RunsBefore(par, i + len);
            runs.erase(runs.begin() + i0, runs.begin() + i1);
            // A context open right here (a keyword's) is no longer closed by a key of its own.
            if (!runHere && i0 > 0 && HasContext(r))
                runs[static_cast<size_t>(i0 - 1)].StopLen = 0;
            TDynInfo s = Pushed(r, KeyEntry(j));
            s.Offset = i;
            s.StyleFlags = static_cast<uint8_t>(key.Style | sfKeyed | sfContext);
            s.Background = key.Background;
            s.Foreground = key.Foreground;
            s.Context = key.Context;
            s.Cursor = key.Cursor;
            s.StartLen = static_cast<int16_t>(key.MaxStartLen + (key.StartBoundaryAfter ? 1 : 0));
            s.StopLen = key.StopLen;
            runs.insert(runs.begin() + i0, s);
            c = i + len;
            return true;
        }
    }
    return AskHighlighterStart(p, a, c);
}

// Parses the contexts of paragraph p from its base style over its whole text. Runs of highlighters
// that keep their own regions stay; every other run (keywords included) is made again.
void THighlighting::ParseParagraph(int p) {
    ParInfo& par = FMemo.Paragraphs().Par(p);
    const bool hadKeywords = (par.Flags & pfKeywords) != 0;
    if (IsExtended(par))
        par.Extra->Runs.erase_if([](const TDynInfo& r) { return !IsHighlighterRun(r); });
    FoldForKeys(p);
    const int32_t length = ParLength(par);
    int32_t a = 0;
    // Each round either moves A on or ends a context at A; a context ends at most twice at one
    // place (a key and its alternative), so the bound only guards against a misbehaving
    // highlighter.
    for (int rounds = 0; rounds < 4 * length + 64; ++rounds) {
        ParInfo& cur = FMemo.Paragraphs().Par(p);
        const int j = RunsUpTo(cur, a);
        const TDynInfo& st = j > 0 ? cur.Extra->Runs[static_cast<size_t>(j - 1)] : *BaseStyleOf(cur);
        const int32_t nextRun = j < RunCount(cur) ? +cur.Extra->Runs[static_cast<size_t>(j)].Offset : length;
        if (IsHighlighterRun(st)) {
            if (nextRun >= length)
                break;
            a = nextRun;
            continue;
        }
        int32_t c = nextRun;
        bool found = ContextEndAt(p, a, c);
        found = ContextStartAt(p, a, c) || found;
        a = std::max(a, c);
        if (a >= length && !found)
            break;
    }
    ParInfo& done = FMemo.Paragraphs().Par(p);
    done.Flags |= pfParsed;
    if (hadKeywords)
        done.Flags &= ~(pfKeywords | pfLinesValid);
    FixLineRunIndexes(done);
}

// The next paragraph begins in the state p ends in: a copy of p's last run, or p's own base style.
void THighlighting::CarryOn(int p) {
    TParagraphsList& list = FMemo.Paragraphs();
    ParInfo& par = list.Par(p);
    ParInfo& next = list.Par(p + 1);
    if (RunCount(par) == 0)
        SetBaseStyle(next, BaseStyleOf(par), false);
    else
        SetBaseStyle(next, &par.Extra->Runs.back(), true);
}

void THighlighting::ParseParagraphs(int first, int last, const TDynInfo* expectedEnd) {
    TParagraphsList& list = FMemo.Paragraphs();
    if (first > last)
        std::swap(first, last);
    PrepareKeys();
    for (int p = first; p <= last; ++p) {
        ParseParagraph(p);
        if (p < last)
            CarryOn(p);
    }
    // Contexts stay valid up to ParsedTo only when the parsed paragraphs join that stretch.
    if (list.ParsedTo >= first - 1)
        list.ParsedTo = std::max(list.ParsedTo, last);
    list.LinesReusable = false;
    InvalidateNavigators(list.Par(first).Start, last);

    if (last + 1 >= list.Count())
        return;
    const int next = last + 1;
    const TDynInfo end = EndState(list.Par(last));
    const TDynInfo expected = expectedEnd ? *expectedEnd : *BaseStyleOf(list.Par(next));
    if (SameState(end, expected)) {
        // A paragraph still to be parsed (one an edit made) begins in the end state exactly, key
        // lengths included, as it would after a parse from the start of the text.
        if (!(list.Par(next).Flags & pfParsed))
            CarryOn(last);
        return;
    }
    // A real change: the next paragraph starts in the new state and is parsed again later, which
    // carries the change on one paragraph at a time.
    CarryOn(last);
    list.Par(next).Flags &= ~(pfLinesValid | pfParsed | pfKeywords);
    list.MarkDirty(next, 0, next);
    list.BgNext = std::min(list.BgNext, next);
    list.BgLast = std::max(list.BgLast, next);
}

void THighlighting::ParseContexts(TArtNavigator& start, TArtNavigator& stop, const TDynInfo* expectedEnd) {
    ParseParagraphs(start.GetParNb(), stop.GetParNb(), expectedEnd);
}

bool THighlighting::ParsePlainParagraph(int p) {
    TParagraphsList& list = FMemo.Paragraphs();
    ParInfo& par = list.Par(p);
    // An extension without runs (one that held runs before they were all dropped) is plain too.
    if (IsExtended(par) && (!par.Extra->Runs.empty() || !par.Extra->BaseStyle.IsDefault()))
        return false;
    if (p + 1 < list.Count()) {
        const ParInfo& next = list.Par(p + 1);
        if (IsExtended(next) && !next.Extra->BaseStyle.IsDefault())
            return false;
    }
    // What ParseParagraphs(p, p) comes to here: no runs to make or drop, keywords applied before
    // are applied again at the next layout, and the next paragraph already starts right.
    if (par.Flags & pfKeywords)
        par.Flags &= ~(pfKeywords | pfLinesValid);
    par.Flags |= pfParsed;
    FixLineRunIndexes(par);
    if (list.ParsedTo >= p - 1)
        list.ParsedTo = std::max(list.ParsedTo, p);
    return true;
}

void THighlighting::ParseUpTo(int n) {
    TParagraphsList& list = FMemo.Paragraphs();
    n = std::min(n, list.Count() - 1);
    // A jump far into a text that nothing highlights with contexts must not cost a full parse of
    // every paragraph before it.
    const bool contexts = (FApplyStartStopKeys && FStartStopKeys.Count() > 0) ||
                          (FHighlighter && FHighlighter->OpensContexts());
    int plainFrom = -1, plainTo = -1;
    for (int p = std::max(0, list.ParsedTo + 1); p <= n; ++p) {
        if (list.Par(p).Flags & pfParsed)
            continue;
        if (!contexts && ParsePlainParagraph(p)) {
            if (plainFrom < 0)
                plainFrom = p;
            plainTo = p;
            continue;
        }
        ParseParagraphs(p, p);
    }
    if (plainFrom >= 0) {
        list.LinesReusable = false;
        InvalidateNavigators(list.Par(plainFrom).Start, plainTo);
    }
    list.ParsedTo = std::max(list.ParsedTo, n);
}

void THighlighting::HighlightUpTo(int n, int from) {
    TParagraphsList& list = FMemo.Paragraphs();
    n = std::min(n, list.Count() - 1);
    ParseUpTo(n);
    for (int p = std::max(from, 0); p <= n; ++p)
        ApplyKeywordsIfNeeded(p);
}

// ---- after an edit and from scratch ----------------------------------------------------------------

bool THighlighting::AfterReplace(TArtNavigator& S, TArtNavigator& E, bool runsRemoved, bool inUpdate) {
    TParagraphsList& list = FMemo.Paragraphs();
    const TDynInfo& here = *S.CurrentRun();
    if (!runsRemoved && (here.StyleFlags & (sfKeyed | sfContext)) == sfContext)
        return false; // typing inside a region a highlighter keeps for itself
    const int p = S.GetParNb();
    const int q = E.GetParNb();
    if (OnParse)
        OnParse(&FMemo, S.Pos(), E.Pos());
    if (inUpdate) {
        for (int i = p; i <= q; ++i)
            list.Par(i).Flags &= ~(pfParsed | pfKeywords | pfReparse);
        return true;
    }
    const uint8_t flags = list.Par(p).Flags;
    list.Par(p).Flags &= ~pfReparse;
    if (flags & pfParsed) {
        if (FHighlighter)
            FHighlighter->BeforeReparse(S, E, FStartStopKeys.Count(), FKeywords.Count());
        // Typing mostly leaves the runs as they were (moved with the text): then the replacement's
        // judgement on the line table stands and formatting may still stop early.
        const bool reusable = list.LinesReusable;
        TDynInfoArray& before = FRunsBefore;
        if (IsExtended(list.Par(p)))
            before.assign(list.Par(p).Extra->Runs.begin(), list.Par(p).Extra->Runs.end());
        else
            before.clear();
        // Only the first paragraph now: the parser carries a changed state on by itself, and the
        // later paragraphs of a multi-paragraph insertion are new and parsed on demand.
        ParseParagraphs(p, p);
        if (flags & pfKeywords)
            ApplyKeywordsIfNeeded(p);
        ParInfo& par = list.Par(p);
        const size_t afterCount = static_cast<size_t>(RunCount(par));
        const bool unchanged = afterCount == before.size() &&
                               (before.empty() || std::memcmp(par.Extra->Runs.data(), before.data(),
                                                              before.size() * sizeof(TDynInfo)) == 0);
        if (unchanged) {
            list.LinesReusable = reusable;
            par.Flags = static_cast<uint8_t>((par.Flags & ~pfLinesValid) | (flags & pfLinesValid));
        }
    }
    return true;
}

void THighlighting::ReApplyKeywords() {
    TParagraphsList& list = FMemo.Paragraphs();
    list.ForEachPar(0, list.Count(), [](ParInfo& par) {
        par.Flags &= ~(pfLinesValid | pfParsed | pfKeywords | pfReparse);
        if (IsExtended(par)) {
            par.Extra->Runs.clear();
            par.Extra->BaseStyle.Reset();
            FixLineRunIndexes(par);
        }
    });
    list.ParsedTo = -1;
    FMemo.Navigators().InvalidateAll();
    list.InvalidateFormat();
}

} // namespace zandor
