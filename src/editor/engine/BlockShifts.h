// Additions to the Start and FirstLine of paragraph records that are owed but not made yet, kept
// per 32 KB block of records. An edit shifts every later paragraph; instead of walking millions of
// records each time, the store adds the shift to the blocks after the edited one and applies a
// block's share to its records the first time one of them is read. The per-block shares are kept
// the same way once more: one pending shift from a step block on, which moves with the edits, so
// that typing in one place costs a few additions whatever the size of the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zandor {

// A pair of additions, to Start and to FirstLine.
struct TShift {
    int64_t Start = 0;
    int64_t Lines = 0;
    bool Empty() const { return Start == 0 && Lines == 0; }
    TShift& operator+=(const TShift& o) {
        Start += o.Start;
        Lines += o.Lines;
        return *this;
    }
};

// Owns only its counters; knows nothing of the records, whose owner applies what Take hands out.
class TBlockShifts {
public:
    // Blocks added owe nothing; blocks dropped take what they owed with them.
    void Resize(int blocks);
    int BlockCount() const { return static_cast<int>(FOwn.size()); }
    // Nothing is owed anywhere any more (every record was written afresh).
    void Clear();

    // What the records of block b are owed.
    TShift Owed(int b) const {
        if (b >= BlockCount())
            return {}; // added after the last shift: its records were written since
        TShift s = FOwn[static_cast<size_t>(b)];
        if (b >= FStep)
            s += FStepShift;
        return s;
    }
    bool Owes(int b) const { return !Owed(b).Empty(); }
    // Hands out what block b is owed and counts it as paid.
    TShift Take(int b);
    // Every block from `from` on owes `shift` more.
    void Add(int from, const TShift& shift);

private:
    std::vector<TShift> FOwn;
    // Blocks from FStep on owe FStepShift on top of their own share.
    int FStep = 0;
    TShift FStepShift;
};

} // namespace zandor
