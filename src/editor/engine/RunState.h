// Run states as the highlighting engine reads and writes them: when two states count as equal,
// which runs belong to whom, and ApplyRun, the one way a range of text gets a new state.
#pragma once

#include "editor/engine/ParagraphsList.h"

#include <algorithm>
#include <cstdint>

namespace zandor {

class TArtNavigator;

// Stack entries of start/stop keys are the key index - 32768.
inline constexpr int kMaxDepth = 15;
inline int16_t KeyEntry(int keyIndex) {
    return static_cast<int16_t>(keyIndex - 32768);
}
inline int KeyOfEntry(int16_t entry) {
    return entry & 0x7FFF;
}

// Index of the innermost open context, -1 when the state carries no stack.
inline int EffectiveDepth(const TDynInfo& r) {
    return (r.StyleFlags & (sfKeyed | sfContext)) == (sfKeyed | sfContext) ? r.Depth : -1;
}
// A state with an open context from a keyword, a key or a stack-keeping highlighter.
inline bool HasContext(const TDynInfo& r) {
    return EffectiveDepth(r) >= 0;
}
// A run of a highlighter that keeps its own regions: the key parser leaves it alone.
inline bool IsHighlighterRun(const TDynInfo& r) {
    return (r.StyleFlags & sfContext) && r.Depth == -1;
}
// Whether any entry of the stack is a start/stop key.
inline bool InKeyContext(const TDynInfo& r) {
    for (int d = EffectiveDepth(r); d >= 0; --d)
        if (r.Stack[d] < 0)
            return true;
    return false;
}

// A fresh state on top of `below`: below's open entries plus one, everything else zero. Callers
// make sure there is room (below's depth under kMaxDepth).
TDynInfo Pushed(const TDynInfo& below, int16_t entry);

// Equal for the purpose of deciding whether a change must spread to the following text: the
// context marks agree and, with a context, its depth, number and open entries agree. Two states
// without a context are always equal.
bool SameState(const TDynInfo& a, const TDynInfo& b);

// Runs of par with Offset < offset, and with Offset <= offset.
int RunsBefore(const ParInfo& par, int32_t offset);
int RunsUpTo(const ParInfo& par, int32_t offset);
// The state of the character at offset: the last run beginning at or before it, else the base.
const TDynInfo& StateAt(const ParInfo& par, int32_t offset);
// The state in force at the end of par (what the next paragraph begins with).
const TDynInfo& EndState(const ParInfo& par);
// Recounts each display line's number of runs before its start after runs came or went.
void FixLineRunIndexes(ParInfo& par);

// Gives [start, stop) the run state `state`: a context run when isContext (else a plain one), with
// the state that was in force at stop restored after it. Runs beginning inside the range go.
// markDirty records the paragraphs as changed for layout and painting. The two navigators are left
// at their positions with their run caches dropped; registered navigators in the range forget
// theirs. An empty range changes nothing.
void ApplyRun(TParagraphsList& paragraphs, TArtNavigator& start, TArtNavigator& stop, bool markDirty,
              bool isContext, const TDynInfo& state);
// The same on paragraph indexes and offsets; lineInPar is the display line of the start (for
// MarkDirty). Returns nothing; the caller invalidates navigators. Without fixLineIndexes the
// caller, applying many ranges to one paragraph, recounts its lines' run indexes once at the end.
void ApplyRunAt(TParagraphsList& paragraphs, int startPar, int32_t startOffset, int stopPar,
                int32_t stopOffset, int lineInPar, bool markDirty, bool isContext, const TDynInfo& state,
                bool fixLineIndexes = true);

// The runs of one paragraph that begin after some offset, set aside while ranges of it are given
// their states from left to right, and put back when it ends. ApplyRunAt moves every run behind the
// range it styles; with those runs set aside, each range moves only the runs it replaces, and a
// paragraph full of ranges costs its runs once rather than once per range. Meanwhile the paragraph
// holds only the runs up to the offset last brought back, which must lie at or after the end of
// every range applied. Refers to the paragraph and to its owner's scratch array.
class TRunsAside {
public:
    TRunsAside(ParInfo& par, TRunArray& scratch) : FPar(par), FAside(scratch) { FAside.clear(); }
    ~TRunsAside() { PutBack(); }
    TRunsAside(const TRunsAside&) = delete;
    TRunsAside& operator=(const TRunsAside&) = delete;

    // Puts back what is aside, then sets aside the runs beginning after offset.
    void After(int32_t offset);
    // Brings back the runs beginning at or before offset.
    void UpTo(int32_t offset) {
        while (FNext < FAside.size() && FAside[FNext].Offset <= offset)
            FPar.Extra->Runs.push_back(FAside[FNext++]);
    }
    void PutBack();

private:
    ParInfo& FPar;
    TRunArray& FAside;
    size_t FNext = 0;
};

} // namespace zandor
