// When paragraphs are formatted: ranges on demand, background slices, the lines an edit changed,
// and the schedule after a load or a layout change. Keeps the pending range (BgNext .. BgLast of
// the store), the line counters and the FirstLine chain in step with the line tables.
#pragma once

#include "editor/engine/FontAdvances.h"
#include "platform/TickClock.h"

#include <cstdint>

namespace zandor {

class TArtMemoCore;

// Owned by the control's core; refers to it. Owns the font tables of the measurers it lays out with.
class TFormatScheduler {
public:
    explicit TFormatScheduler(TArtMemoCore& memo) : FMemo(memo) {}
    TFormatScheduler(const TFormatScheduler&) = delete;
    TFormatScheduler& operator=(const TFormatScheduler&) = delete;

    // Formats paragraphs from .. to in order. Without force it starts no earlier than BgNext and
    // keeps paragraphs whose lines are up to date; a range that starts ahead of BgNext does not
    // move it. withProgress reports through the host at most every ProgressInterval ms.
    void FormatRange(int from, int to, bool withProgress, bool force);
    // One background slice: paragraphs from BgNext on for at most kStepBudget, then the thread is
    // woken again while work remains. Nothing inside an update bracket.
    void FormatStep();
    // After a replacement: the dirty paragraphs on screen now (the edited one may stop at the
    // first unchanged line break), the rest by UpdateMode; resets the dirty range.
    void UpdateAfterEdit();
    // After a load or a layout change: forget the widest line, then by UpdateMode.
    void ScheduleFormatting();
    // Formats from the front until paragraph par is formatted.
    void FormatUpTo(int par);
    // Lays out paragraphs from .. to for a view that shows them (painting, scrolling, the caret).
    // Near the front of the pending range that is FormatUpTo(to); far ahead of it only these
    // paragraphs are laid out, where the lines of the paragraphs before them are counted so far
    // (one line each after a load): the front stays, and the background skips them when it comes.
    void FormatForView(int from, int to);
    // The pending range is formatted now (umImmediate).
    void FormatPending();

    // The clock that paces background slices and progress reports (milliseconds).
    void SetClock(platform::TTickSource clock) { FClock = std::move(clock); }

    // Milliseconds one background slice may take.
    static constexpr int64_t kStepBudget = 25;
    // Paragraphs ahead of the front that a view still lays out from the front; farther ones are
    // laid out on their own.
    static constexpr int kFrontReach = 512;

private:
    struct Measure;
    // FormatRange without the front's rules: from .. to as given; force lays out paragraphs whose
    // lines are up to date too. followPending: the range grows with the pending range, which the
    // parse of a paragraph extends when it carries a changed context into the next one.
    void FormatPars(int from, int to, bool withProgress, bool force, bool followPending = false);
    Measure ChooseMeasure();
    void ReportProgress(bool force);
    int ParagraphBelowWindow() const;
    void NormalizePending();

    TArtMemoCore& FMemo;
    platform::TTickSource FClock = platform::TickCount;
    int64_t FLastProgress = INT64_MIN / 2;
    TMeasureCache FOwnFonts;
    TMeasureCache FForeignFonts;
};

} // namespace zandor
