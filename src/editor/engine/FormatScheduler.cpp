#include "editor/engine/FormatScheduler.h"

#include "editor/engine/Formatter.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

namespace {

bool LinesValid(const ParInfo& par) {
    return (par.Flags & pfLinesValid) != 0;
}

} // namespace

// The measurer and width a batch is laid out with.
struct TFormatScheduler::Measure {
    TextMeasurer* Canvas;
    int Width;
    TMeasureCache& Fonts;
};

TFormatScheduler::Measure TFormatScheduler::ChooseMeasure() {
    const uint32_t generation = FMemo.MeasurerGeneration();
    if (TextMeasurer* foreign = FMemo.ForeignMeasurer()) {
        FForeignFonts.Bind(foreign, generation);
        return {foreign, FMemo.ForeignWidth(), FForeignFonts};
    }
    FOwnFonts.Bind(&FMemo.Measurer(), generation);
    const TFormatHost* host = FMemo.FormatHost();
    if (host && !host->HasWindow())
        return {nullptr, 0, FOwnFonts};
    return {&FMemo.Measurer(), FMemo.ClientWidth(), FOwnFonts};
}

void TFormatScheduler::ReportProgress(bool force) {
    TFormatHost* host = FMemo.FormatHost();
    if (!host || !host->HasProgressHandler())
        return;
    const int64_t now = FClock();
    if (!force && now - FLastProgress <= int64_t(FMemo.ProgressInterval()))
        return;
    FLastProgress = now;
    host->Progress();
}

// When the range has been worked off, nothing is pending any more.
void TFormatScheduler::NormalizePending() {
    TParagraphsList& list = FMemo.Paragraphs();
    if (list.BgNext > list.BgLast || list.BgNext >= list.Count()) {
        list.BgNext = list.Count();
        list.BgLast = -1;
    }
}

void TFormatScheduler::FormatRange(int from, int to, bool withProgress, bool force) {
    if (!force)
        from = std::max(from, FMemo.Paragraphs().BgNext);
    FormatPars(from, to, withProgress, force);
}

void TFormatScheduler::FormatPars(int from, int to, bool withProgress, bool force, bool followPending) {
    TParagraphsList& list = FMemo.Paragraphs();
    const int32_t oldBgNext = list.BgNext;
    to = std::min(to, list.Count() - 1);
    from = std::max(from, 0);
    if (to < from)
        return;
    TFormatHost* host = FMemo.FormatHost();
    const bool progress = withProgress && host && host->HasProgressHandler();
    if (!progress)
        FMemo.ParseUpTo(to);

    const Measure m = ChooseMeasure();
    TLineFormatter formatter(FMemo, m.Canvas, m.Width, m.Fonts);
    int32_t running = list.Par(from).FirstLine;
    int32_t lineDelta = 0, visibleDelta = 0;
    for (int i = from; i <= to; ++i) {
        ParInfo& par = list.Par(i);
        par.FirstLine = running;
        if (force || !LinesValid(par)) {
            if (progress) {
                FMemo.ParseUpTo(i);
                ReportProgress(false);
            } else if (!(par.Flags & pfParsed)) {
                FMemo.ParseUpTo(i); // past the range parsed before the loop
            }
            TParFormat f;
            formatter.FormatParagraph(i, f);
            lineDelta += f.LineDelta;
            if (!IsHidden(par))
                visibleDelta += f.LineDelta;
        }
        list.BgNext = i + 1;
        if (!IsHidden(par))
            running += LineCountOf(par);
        if (followPending && i == to)
            to = std::min(std::max(to, list.BgLast), list.Count() - 1);
    }
    FMemo.Navigators().InvalidateNavigators(list.Par(from).Start, to);
    list.LineCount += lineDelta;
    list.VisibleLineCount += visibleDelta;
    list.ShiftFirstLines(to + 1, visibleDelta);
    if (from != oldBgNext) {
        list.BgNext = oldBgNext;
    } else {
        NormalizePending();
        if (progress && list.BgNext >= list.Count())
            ReportProgress(true);
    }
    if (host)
        host->AfterFormat(from, to, visibleDelta);
}

void TFormatScheduler::FormatStep() {
    TParagraphsList& list = FMemo.Paragraphs();
    TFormatHost* host = FMemo.FormatHost();
    if ((host && host->InUpdate()) || list.BgNext >= list.Count())
        return;
    const int64_t start = FClock();
    const Measure m = ChooseMeasure();
    TLineFormatter formatter(FMemo, m.Canvas, m.Width, m.Fonts);
    const int from = list.BgNext;
    int32_t running = list.Par(from).FirstLine;
    int32_t lineDelta = 0, visibleDelta = 0;
    bool formatted = false;
    while (list.BgNext <= list.BgLast && list.BgNext < list.Count()) {
        const int i = list.BgNext;
        ParInfo& par = list.Par(i);
        par.FirstLine = running;
        if (!LinesValid(par)) {
            if (!(par.Flags & pfParsed))
                FMemo.ParseUpTo(i);
            TParFormat f;
            formatter.FormatParagraph(i, f);
            lineDelta += f.LineDelta;
            if (!IsHidden(par))
                visibleDelta += f.LineDelta;
            formatted = true;
        }
        if (!IsHidden(par))
            running += LineCountOf(par);
        list.BgNext = i + 1;
        if (list.BgNext < list.Count())
            list.Par(list.BgNext).FirstLine = running;
        if (FClock() - start >= kStepBudget)
            break;
    }
    const int last = list.BgNext - 1;
    if (formatted) {
        FMemo.Navigators().InvalidateLines(from, last);
        list.LineCount += lineDelta;
        list.VisibleLineCount += visibleDelta;
        list.ShiftFirstLines(list.BgNext + 1, visibleDelta);
        if (host)
            host->AfterFormat(from, last, visibleDelta);
    }
    ReportProgress(false);
    if (list.BgLast < list.BgNext || list.BgNext >= list.Count()) {
        list.BgLast = -1;
        list.BgNext = list.Count();
        ReportProgress(true);
    } else if (host) {
        host->WakeFormatThread();
    }
}

// The paragraph just below the window: the top line's, advanced while it still starts inside.
int TFormatScheduler::ParagraphBelowWindow() const {
    const TParagraphsList& list = FMemo.Paragraphs();
    const int32_t top = FMemo.TopOrigin() / std::max(1, FMemo.LinePixels());
    const int32_t bottom = top + FMemo.WindowLineCount();
    // The last paragraph whose FirstLine is at or before the top line.
    int lo = 0, hi = list.Count() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (list.FirstLineOf(mid) <= top)
            lo = mid;
        else
            hi = mid - 1;
    }
    int p = lo;
    while (p < list.Count() && list.Par(p).FirstLine <= bottom)
        ++p;
    return p;
}

void TFormatScheduler::UpdateAfterEdit() {
    TParagraphsList& list = FMemo.Paragraphs();
    TFormatHost* host = FMemo.FormatHost();
    if (list.DirtyTo < list.DirtyFrom || list.Count() == 0) {
        if (list.ResetDirty() && host)
            host->Changed();
        return;
    }
    const int dirtyFrom = std::min(list.DirtyFrom, list.Count() - 1);
    const int dirtyTo = std::min(list.DirtyTo, list.Count() - 1);
    const int below = ParagraphBelowWindow();
    FMemo.ParseUpTo(std::max(below, dirtyFrom));
    const bool widestLost = FMemo.KnownWidestLine() == -1;

    // A paragraph still waiting in the pending range may hold lines of another width or font:
    // neither its kept lines nor its old breaks can be trusted.
    const bool pending = dirtyFrom >= list.BgNext && dirtyFrom <= list.BgLast;
    ParInfo& first = list.Par(dirtyFrom);
    TParFormat f;
    f.FirstLine = pending ? 0 : std::max(0, list.DirtyFirstLine - first.FirstLine);
    // Runs that changed anywhere in the paragraph may have changed fonts before the edit too.
    if (!list.LinesReusable && RunCount(first) > 0)
        f.FirstLine = 0;
    f.MayStopEarly = !pending && dirtyFrom >= dirtyTo && list.LinesReusable;
    const int32_t firstLineBefore = first.FirstLine + f.FirstLine;

    const Measure m = ChooseMeasure();
    TLineFormatter formatter(FMemo, m.Canvas, m.Width, m.Fonts);
    formatter.FormatParagraph(dirtyFrom, f);
    int32_t lineDelta = f.LineDelta;
    int32_t visibleDelta = IsHidden(first) ? 0 : f.LineDelta;
    int32_t changedFrom = std::min(list.DirtyFirstLine, first.FirstLine + f.FirstLine);
    changedFrom = std::min(changedFrom, firstLineBefore);
    int32_t lastChanged = first.FirstLine + f.StopLine + f.LineDelta;

    const int32_t top = FMemo.TopOrigin() / std::max(1, FMemo.LinePixels());
    const int32_t bottom = top + FMemo.WindowLineCount();
    int32_t running = first.FirstLine + (IsHidden(first) ? 0 : LineCountOf(first));
    int last = dirtyFrom;
    for (int i = dirtyFrom + 1; i < list.Count(); ++i) {
        ParInfo& par = list.Par(i);
        if (running > bottom || (i > dirtyTo && LinesValid(par)))
            break;
        par.FirstLine = running;
        TParFormat g;
        formatter.FormatParagraph(i, g);
        lineDelta += g.LineDelta;
        if (!IsHidden(par)) {
            visibleDelta += g.LineDelta;
            running += LineCountOf(par);
        }
        lastChanged = par.FirstLine + LineCountOf(par) - 1;
        last = i;
    }
    list.ShiftFirstLines(last + 1, visibleDelta);
    list.LineCount += lineDelta;
    list.VisibleLineCount += visibleDelta;
    if (list.BgNext == dirtyFrom)
        list.BgNext = last + 1;
    else
        list.BgNext = std::min(list.BgNext, last + 1);
    list.BgLast = std::max(list.BgLast, dirtyTo);
    NormalizePending();
    FMemo.Navigators().InvalidateNavigators(list.Par(dirtyFrom).Start, last);
    if (FMemo.HorizontalScrollApplies() && widestLost)
        FMemo.RecountWidest();
    if (host)
        host->AfterEditFormat(changedFrom, lastChanged, list.DirtyLineDelta + visibleDelta);

    if (visibleDelta != 0 || list.BgNext <= list.BgLast) {
        switch (FMemo.UpdateMode()) {
        case umImmediate:
            FormatPending();
            break;
        case umBackground:
            if (host && !host->DesignTime() && list.BgNext <= list.BgLast)
                host->WakeFormatThread();
            break;
        case umOnNeed:
            break;
        }
    }
    if (list.ResetDirty() && host)
        host->Changed();
}

void TFormatScheduler::FormatPending() {
    TParagraphsList& list = FMemo.Paragraphs();
    // A context that an edit opened or closed reaches the later paragraphs one parse at a time,
    // each queueing the next while this range is laid out: "at once" means until none waits.
    if (list.BgNext <= list.BgLast)
        FormatPars(list.BgNext, list.BgLast, true, false, true);
    NormalizePending();
}

void TFormatScheduler::ScheduleFormatting() {
    TParagraphsList& list = FMemo.Paragraphs();
    TFormatHost* host = FMemo.FormatHost();
    FMemo.ForgetWidestLine();
    // Every line is laid out and painted anew, so what the dirty range recorded is done with. Left
    // in place, its first line would tell the next edit's layout to start above the edited line,
    // where an unchanged break could end it before it reached the edit. A change not yet reported
    // stays pending for the next after-edit update.
    const bool modified = list.Modified;
    list.ResetDirty();
    list.Modified = modified;
    const bool designing = host && host->DesignTime();
    if (FMemo.ForeignMeasurer() || designing || FMemo.UpdateMode() == umImmediate) {
        FormatRange(0, list.Count() - 1, true, true);
        list.BgNext = list.Count();
        list.BgLast = -1;
        return;
    }
    list.InvalidateFormat();
    if (FMemo.UpdateMode() == umBackground && host)
        host->WakeFormatThread();
}

void TFormatScheduler::FormatForView(int from, int to) {
    TParagraphsList& list = FMemo.Paragraphs();
    to = std::min(to, list.Count() - 1);
    from = std::clamp(from, 0, std::max(to, 0));
    if (to < 0)
        return;
    if (to >= list.BgNext && from <= list.BgNext + kFrontReach) {
        FormatUpTo(to);
        return;
    }
    // Paragraphs before the front that went stale, or a stretch far ahead of it: on their own.
    for (int p = from; p <= to; ++p) {
        if (LinesValid(list.Par(p)))
            continue;
        int q = p;
        while (q < to && !LinesValid(list.Par(q + 1)))
            ++q;
        FormatPars(p, q, false, false);
        p = q;
    }
}

void TFormatScheduler::FormatUpTo(int par) {
    TParagraphsList& list = FMemo.Paragraphs();
    par = std::min(par, list.Count() - 1);
    if (par < 0)
        return;
    if (par >= list.BgNext)
        FormatRange(list.BgNext, par, true, false);
    else if (!LinesValid(list.Par(par)))
        FormatRange(par, par, false, true);
}

} // namespace zandor
